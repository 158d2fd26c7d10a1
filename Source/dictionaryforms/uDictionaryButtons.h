#pragma once
// The button strip shared by the dictionary windows: the program's button-strip
// colour with the accept and cancel buttons at its right end.

#include <QString>

class QFrame;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace DictionaryButtons {

// A push button with the accept (true) or cancel (false) glyph.
QPushButton* GlyphButton(QWidget* Parent, const char* Name, const QString& Caption, bool Accept);
// The strip pnlButtons; the caller adds its widgets to the returned layout.
QFrame* ButtonStrip(QWidget* Parent, QHBoxLayout*& Layout);

} // namespace DictionaryButtons
