#pragma once
// The flat buttons of the editing windows and the strip under their fields that
// holds the post and close buttons, right-aligned, in the button-strip colour.

#include <QPixmap>
#include <QString>

class QToolButton;
class QWidget;
class TPanel;

// A flat button with a glyph beside its caption; Name becomes its object name.
QToolButton* FlatButton(QWidget* Parent, const char* Name, const QString& Caption, const QPixmap& Glyph = {});

// The strip "pnlButtons" with "btnPost" (PostCaption, a tick) and "btnClose" ("Anuluj", a cross).
TPanel* ButtonStrip(QWidget* Parent, const QString& PostCaption, QToolButton*& Post, QToolButton*& Close);
