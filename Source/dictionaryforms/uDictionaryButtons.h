#pragma once
// Pieces shared by the dictionary windows: the button strip in the program's
// button-strip colour with the accept and cancel buttons at its right end, and the
// navigation keys of a filter box that move the grid while the box keeps its caret.

#include <QString>

#include <functional>

class QEvent;
class QFrame;
class QHBoxLayout;
class QLineEdit;
class QObject;
class QPushButton;
class QTimer;
class TEdit;
class QWidget;
class TDrawGrid;

namespace DictionaryButtons {

// The strip pnlButtons with btnPost (the default button, accept glyph) and btnClose
// (cancel glyph, rejects the window); Layout receives the strip's layout, whose first
// place is left of the buttons.
QFrame* ButtonStrip(QWidget* Window, const QString& PostCaption, QPushButton*& Post, QPushButton*& Close,
                    QHBoxLayout** Layout = nullptr);

// A filter box: the system's edit with the filter icon and the hint "Filtruj".
TEdit* FilterBox(QWidget* Parent, const char* Name);
// The list grid DrawGrid1: whole rows, empty cells blank, the current row shown also
// while a filter box has the focus; a double click on a data row calls Choose.
TDrawGrid* ListGrid(QWidget* Parent, std::function<void()> Choose);
// A stopped single-shot filter timer of the interval.
QTimer* FilterTimer(QObject* Parent, const char* Name, int Interval);

// The caret of a filter box saved during a navigation key (-1: nothing saved).
struct TSavedCaret {
    int SelPos = -1;
    int SelLength = -1;
};

// Handles a key event of a filter box: Down/Page Down and Up/Page Up move the grid one
// row (never onto the title row), End and Home to the last and the first data row. The
// key is swallowed (true) and the caret put back on its key up; other keys clear the
// saved caret and act normally.
bool FilterBoxKey(QLineEdit* Box, QEvent* Event, TDrawGrid* Grid, TSavedCaret& Saved);

} // namespace DictionaryButtons
