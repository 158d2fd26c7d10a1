#pragma once
// Small pictures of the field controls, painted in code (16 x 16 pixels).

#include <QPixmap>

namespace EwidarPictures {

// Word dictionary icon of a text edit: a closed book.
QPixmap DictionaryIcon();
// "Usuń pole" of a user-defined field: a red cross.
QPixmap DeleteFieldIcon();
// "Edytuj pole" of a user-defined field: a pencil.
QPixmap EditFieldIcon();

} // namespace EwidarPictures
