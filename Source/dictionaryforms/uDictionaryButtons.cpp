#include "uDictionaryButtons.h"

#include "uEwidarComponents_Error.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace DictionaryButtons {

QPushButton* GlyphButton(QWidget* Parent, const char* Name, const QString& Caption, bool Accept) {
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(QString::fromLatin1(Name));
    button->setIcon(
        Parent->style()->standardIcon(Accept ? QStyle::SP_DialogApplyButton : QStyle::SP_DialogCancelButton));
    button->setAutoDefault(false);
    button->setMinimumWidth(90);
    return button;
}

QFrame* ButtonStrip(QWidget* Parent, QHBoxLayout*& Layout) {
    auto* strip = new QFrame(Parent);
    strip->setObjectName(QStringLiteral("pnlButtons"));
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, ButtonsColor());
    strip->setPalette(palette);
    Layout = new QHBoxLayout(strip);
    Layout->setContentsMargins(8, 6, 8, 6);
    return strip;
}

} // namespace DictionaryButtons
