#pragma once
// Glyphs of the record frames and their windows, painted in code (16 x 16 pixels).

#include <QPixmap>

namespace EditingPictures {

// "Zapisz": a green tick.
QPixmap PostGlyph();
// "Anuluj": a red cross.
QPixmap CloseGlyph();
// "Dodaj pole": a green plus.
QPixmap AddFieldGlyph();
// The dictionary-table icon of a field ("Tablica krajów"): a small grid.
QPixmap TableIcon();

} // namespace EditingPictures
