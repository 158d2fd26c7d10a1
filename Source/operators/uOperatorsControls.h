#pragma once
// Small builders shared by the windows of the operators unit: a named edit box,
// a named label that focuses its editor, and the fields-over-buttons layout.

#include <QString>

#include <initializer_list>

class QLayout;
class QLabel;
class QPushButton;
class QWidget;
class TEdit;

namespace OperatorsControls {

TEdit* NamedEdit(QWidget* Parent, const char* Name, int MinimumWidth);
QLabel* NamedLabel(QWidget* Parent, const char* Name, const QString& Caption, QWidget* Buddy);
// Lays Form out as Fields above a row of Buttons at the right, sized to its content.
void LayOutFieldsAndButtons(QWidget* Form, QLayout* Fields, std::initializer_list<QPushButton*> Buttons);

} // namespace OperatorsControls
