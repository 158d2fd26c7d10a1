#pragma once
// Record-kind positions (the contract's fixed order, 1-21) and the roles of the
// stored links between records, as the tables of this backend keep them.

#include <cstdint>

namespace SqlKinds {

enum TKind : int32_t {
    kObywatelstwo = 1,
    kDokumentTozsamosci = 2,
    kAdres = 3,
    kAdresDzialalnosci = 4,
    kOddzial = 5,
    kRodzajDzialalnosci = 6,
    kDaneZUS = 7,
    kUrzadStatystyczny = 8,
    kDaneNFZ = 9,
    kSadRejonowy = 10,
    kDaneBanku = 11,
    kNrIdentyfikacyjny = 12,
    kWspolnik = 13,
    kSpolka = 14,
    kSpolkaPodmiotu = 15,
    kRachunekBankowy = 16,
    kDaneZamawiajacego = 17,
    kRekordDodatkowy = 18,
    kReprezentant = 19,
    kBiuroRachunkowe = 20,
    kPodmiot = 21,
};

// Single links from one record to another (ew_link.role).
enum TLinkRole : int32_t {
    lrRodzajPrzewazajacejDzialalnosci = 1, // subject -> one of its own activity kinds
    lrDaneZUS = 2,                         // subject -> ZUS
    lrUrzadStatystyczny = 3,               // subject -> statistical office
    lrDaneNFZ = 4,                         // subject -> NFZ branch
    lrSadRejonowy = 5,                     // subject -> district court
    lrBiuroRachunkowe = 6,                 // subject -> accounting office
    lrDaneBanku = 7,                       // bank account -> bank
    lrSpolka = 8,                          // subject's share -> company
    lrPodmiot = 9,                         // representative -> representing subject
};

// Kind of the record a link role points to.
constexpr int32_t TargetKind(int32_t Role) {
    switch (Role) {
    case lrRodzajPrzewazajacejDzialalnosci:
        return kRodzajDzialalnosci;
    case lrDaneZUS:
        return kDaneZUS;
    case lrUrzadStatystyczny:
        return kUrzadStatystyczny;
    case lrDaneNFZ:
        return kDaneNFZ;
    case lrSadRejonowy:
        return kSadRejonowy;
    case lrBiuroRachunkowe:
        return kBiuroRachunkowe;
    case lrDaneBanku:
        return kDaneBanku;
    case lrSpolka:
        return kSpolka;
    case lrPodmiot:
        return kPodmiot;
    default:
        return 0;
    }
}

// Links of people to a taxpayer (ew_person.role).
enum TPersonRole : int32_t { prPracownik = 1, prKontrahent = 2 };

// The registry face a subject object shows (which of IPodatnik/IPracownik/IKontrahent it supports).
enum class TFace { fPodmiot, fPodatnik, fPracownik, fKontrahent };

// Kinds whose New stores a placeholder at once, because they own collections.
constexpr bool OwnsCollections(int32_t kind) {
    return kind == kPodmiot || kind == kSpolka;
}

} // namespace SqlKinds
