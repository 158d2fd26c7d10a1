#include "uDictionaryButtons.h"

#include "TEdit.h"
#include "uEwidarComponents_Error.h"
#include "uEwidarDrawGrid.h"
#include "uListPictures.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace DictionaryButtons {

namespace {

QPushButton* GlyphButton(QWidget* Parent, const char* Name, const QString& Caption,
                         QStyle::StandardPixmap Glyph) {
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(QString::fromLatin1(Name));
    button->setIcon(Parent->style()->standardIcon(Glyph));
    button->setAutoDefault(false);
    button->setMinimumWidth(90);
    return button;
}

bool MoveGrid(TDrawGrid* Grid, int Key) {
    const int row = Grid->Row();
    const int last = Grid->RowCount() - 1;
    switch (Key) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        if (row < last)
            Grid->SetRow(row + 1);
        return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        if (row > 1)
            Grid->SetRow(row - 1);
        return true;
    case Qt::Key_End:
        Grid->SetRow(last);
        return true;
    case Qt::Key_Home:
        Grid->SetRow(1);
        return true;
    default:
        return false;
    }
}

} // namespace

QFrame* ButtonStrip(QWidget* Window, const QString& PostCaption, QPushButton*& Post, QPushButton*& Close,
                    QHBoxLayout** Layout) {
    auto* strip = new QFrame(Window);
    strip->setObjectName(QStringLiteral("pnlButtons"));
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, ButtonsColor());
    strip->setPalette(palette);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(8, 6, 8, 6);
    Post = GlyphButton(strip, "btnPost", PostCaption, QStyle::SP_DialogApplyButton);
    Post->setDefault(true);
    Close = GlyphButton(strip, "btnClose", QStringLiteral("Anuluj"), QStyle::SP_DialogCancelButton);
    layout->addStretch(1);
    layout->addWidget(Post);
    layout->addWidget(Close);
    if (auto* dialog = qobject_cast<QDialog*>(Window))
        QObject::connect(Close, &QPushButton::clicked, dialog, &QDialog::reject);
    if (Layout)
        *Layout = layout;
    return strip;
}

TEdit* FilterBox(QWidget* Parent, const char* Name) {
    auto* edit = new TEdit(Parent);
    edit->setObjectName(QString::fromLatin1(Name));
    edit->SetIcon(ListPictures::FilterIcon());
    edit->SetIconHint(QStringLiteral("Filtruj"));
    return edit;
}

TDrawGrid* ListGrid(QWidget* Parent, std::function<void()> Choose) {
    auto* grid = new TDrawGrid(Parent);
    grid->setObjectName(QStringLiteral("DrawGrid1"));
    grid->SetVisibleCheckBoxEnabled(false);
    grid->SetEmptyCellsEnabled(true);
    grid->SetDrawSelectOnlyWhenFocus(false);
    grid->SetOnRowDblClick([Choose = std::move(Choose)](TDrawGrid*, int Row, bool Fixed) {
        if (!Fixed && Row >= 1)
            Choose();
    });
    return grid;
}

QTimer* FilterTimer(QObject* Parent, const char* Name, int Interval) {
    auto* timer = new QTimer(Parent);
    timer->setObjectName(QString::fromLatin1(Name));
    timer->setSingleShot(true);
    timer->setInterval(Interval);
    return timer;
}

bool FilterBoxKey(QLineEdit* Box, QEvent* Event, TDrawGrid* Grid, TSavedCaret& Saved) {
    if (Event->type() == QEvent::KeyRelease) {
        // The caret and selection go back where they were before the grid moved.
        if (Saved.SelPos >= 0) {
            if (Saved.SelLength > 0)
                Box->setSelection(Saved.SelPos, Saved.SelLength);
            else
                Box->setCursorPosition(Saved.SelPos);
            Saved = TSavedCaret();
        }
        return false;
    }
    if (Event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(Event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || !MoveGrid(Grid, key->key())) {
        Saved = TSavedCaret();
        return false;
    }
    Saved.SelPos = Box->hasSelectedText() ? Box->selectionStart() : Box->cursorPosition();
    Saved.SelLength = Box->hasSelectedText() ? int(Box->selectedText().size()) : 0;
    return true;
}

} // namespace DictionaryButtons
