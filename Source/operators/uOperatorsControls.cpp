#include "uOperatorsControls.h"

#include "TEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace OperatorsControls {

TEdit* NamedEdit(QWidget* Parent, const char* Name, int MinimumWidth) {
    auto* edit = new TEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    edit->setMinimumWidth(MinimumWidth);
    return edit;
}

QLabel* NamedLabel(QWidget* Parent, const char* Name, const QString& Caption, QWidget* Buddy) {
    auto* label = new QLabel(Caption, Parent);
    label->setObjectName(QLatin1String(Name));
    label->setBuddy(Buddy);
    return label;
}

void LayOutFieldsAndButtons(QWidget* Form, QLayout* Fields, std::initializer_list<QPushButton*> Buttons) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : Buttons)
        buttons->addWidget(button);
    auto* outer = new QVBoxLayout(Form);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->setSpacing(14);
    outer->addLayout(Fields);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace OperatorsControls
