#include "uButtonStrip.h"

#include "uEditingPictures.h"
#include "uEwidarComponents_Panel.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

QToolButton* FlatButton(QWidget* Parent, const char* Name, const QString& Caption, const QPixmap& Glyph) {
    auto* button = new QToolButton(Parent);
    button->setObjectName(QLatin1String(Name));
    button->setText(Caption);
    button->setIcon(Glyph);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

TPanel* ButtonStrip(QWidget* Parent, const QString& PostCaption, QToolButton*& Post, QToolButton*& Close) {
    auto* strip = new TPanel(Parent);
    strip->setObjectName(QStringLiteral("pnlButtons"));
    strip->SetButtonsColor();
    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 3, 4, 3);
    row->addStretch(1);
    Post = FlatButton(strip, "btnPost", PostCaption, EditingPictures::PostGlyph());
    Close = FlatButton(strip, "btnClose", QStringLiteral("Anuluj"), EditingPictures::CloseGlyph());
    row->addWidget(Post);
    row->addWidget(Close);
    strip->Layout()->addLayout(row);
    return strip;
}
