#pragma once
// The taxpayer's own tax account ("mikrorachunek podatkowy"), to which PIT, CIT and VAT
// have been paid since 1 January 2020 instead of the tax office's accounts.
//
// The finance ministry publishes its structure (podatki.gov.pl, "Mikrorachunek
// podatkowy"): a 26-digit Polish account number (NRB)
//     KK 10100071 222 Y XXXXXXXXXXXX
// KK the check digits; 10100071 the sort code of the central bank (NBP); 222 fixed
// digits; Y the identifier's kind, 1 for PESEL and 2 for NIP; then the identifier
// followed by zeros up to twelve digits (PESEL + "0", NIP + "00"). The check digits are
// those of every NRB: 98 minus the remainder modulo 97 of the 24 digits followed by
// "PL" as 2521 and "00" (ISO 13616).

#include <QString>

enum class TTaxIdKind { Pesel = 1, Nip = 2 };

// The 26 digits of the account for an identifier (digits only: 11 for PESEL, 10 for
// NIP); empty when the identifier has not that form. Check digits of the identifier
// itself are not tested here.
QString Mikrorachunek(const QString& Identifier, TTaxIdKind Kind);

// A subject's account: from its NIP when that is a valid NIP (dashes allowed), otherwise
// from its PESEL when that is valid; empty when neither is.
QString SubjectMikrorachunek(const QString& Nip, const QString& Pesel);
