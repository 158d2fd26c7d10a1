#pragma once
// Glyphs of the list frame's buttons and its filter box, painted in code (16 x 16 pixels).

#include <QPixmap>

namespace ListPictures {

// "Dodaj" and "Wybierz z Listy": a green plus.
QPixmap AddGlyph();
// "Edytuj": a pencil.
QPixmap EditGlyph();
// "Usuń": a red cross.
QPixmap DeleteGlyph();
// Accepting and posting: a green tick.
QPixmap AcceptGlyph();
// "Pokaż": a page with lines.
QPixmap ViewGlyph();
// The filter box: a funnel.
QPixmap FilterIcon();

} // namespace ListPictures
