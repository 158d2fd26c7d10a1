#pragma once
// An address as the VAT white list writes it, one line such as
//   "PUŁAWSKA 15/3, 02-515 WARSZAWA"   "UL. DŁUGA 5 LOK. 7, 00-950 WARSZAWA"   "KRZYWA 12, 05-800 PRUSZKÓW"
// split into the fields of a business address. What cannot be recognised stays whole in the
// street, so nothing of the text is lost.

#include <QString>

struct TWhiteListAddress {
    QString Street;     // without a leading "UL."
    QString House;
    QString Flat;
    QString PostalCode; // "00-000"
    QString Locality;   // the town of the post office: the list names no other
};

TWhiteListAddress SplitWhiteListAddress(const QString& Text);
