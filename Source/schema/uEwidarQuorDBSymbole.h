#pragma once
// The field symbol table: symbol, caption and editor kind of every data field that a
// record section shows, the combo items of the identity-document kind, the options of
// the group fields, and the descriptors stored in each record kind.
//
// Each descriptor is an `inline const` global named by its symbol (cDaneAdresoweKraj holds
// the Symbol "cDaneAdresoweKraj"). Inline variables are initialised before any ordinary
// global of a translation unit that includes this header, so static initialisers elsewhere
// may read them safely. The strings are QStringLiteral data: no allocation at start-up.

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// Editor kind of a field. The value name is also its text form (FieldTypeToText).
enum TFieldType : uint8_t {
    ctStandard,
    ctEdit,
    ctDate,
    ctMemo,
    ctCheckBox,
    ctComboBox,
    ctCheckBoxGroup,
    ctRadioGroup,
};

// One field descriptor.
struct TInternalFieldRecord {
    QString Symbol;
    QString Description;
    TFieldType FieldType = ctStandard;

    // For descriptors built at run time for fields outside the table.
    static TInternalFieldRecord Create(const QString& Symbol, const QString& Description,
                                       TFieldType FieldType);

    friend bool operator==(const TInternalFieldRecord&, const TInternalFieldRecord&) = default;
};

using TInternalFieldRecordList = QList<TInternalFieldRecord>;

// A combo item whose stored value (Symbol) differs from the text shown (Caption).
struct TComboBoxSymbolItemRecord {
    QString Symbol;
    QString Caption;

    friend bool operator==(const TComboBoxSymbolItemRecord&, const TComboBoxSymbolItemRecord&) = default;
};

// "ctEdit" for ctEdit and so on; "ctStandard" for a value outside the enumeration.
QString FieldTypeToText(TFieldType FieldType);
// Case-sensitive inverse of FieldTypeToText; any unknown text (also "" and "ctStandard")
// reads as ctStandard.
TFieldType TextToFieldType(const QString& Text);

// The sections of the table, in declaration order.
enum TFieldSection : uint8_t {
    fsBiuroRachunkowe,
    fsAdresDzialalnosci,
    fsAdres,
    fsOddzial,
    fsDaneBanku,
    fsDokumentTozsamosci,
    fsNrIdentyfikacyjny,
    fsDaneNFZ,
    fsObywatelstwo,
    fsRachunekBankowy,
    fsReprezentant,
    fsSadRejonowy,
    fsSpolka,
    fsSpolkaPodmiotu,
    fsUrzadStatystyczny,
    fsWspolnik,
    fsZamawiajacy,
    fsDaneZUS,
    fsRodzajDzialalnosci,
    fsPodmiot,
    fsDaneOsobowe,
};
constexpr int FieldSectionCount = fsDaneOsobowe + 1;

#define EWIDAR_FIELD(Section, Name, Caption, Kind)                                                           \
    inline const TInternalFieldRecord Name{QStringLiteral(#Name), QStringLiteral(Caption), Kind};
#include "uEwidarQuorDBSymboleTable.inc"
#undef EWIDAR_FIELD

constexpr int FieldCount = 199;

// All descriptors in declaration order.
const TInternalFieldRecordList& AllFields();
// The descriptors of one section, in declaration order; empty for a value outside the enumeration.
const TInternalFieldRecordList& FieldsOfSection(TFieldSection Section);
// The descriptors stored in records of the kind at Position 1-21 (EwidarKinds positions);
// empty for the kinds without fields (12, 18) and for positions outside 1-21.
const TInternalFieldRecordList& FieldsOfKind(int Position);
// The descriptor with exactly this symbol; nullptr when there is none.
const TInternalFieldRecord* FindField(const QString& Symbol);

// Options of a ctRadioGroup or ctCheckBoxGroup field, in value order; empty for any other symbol.
QStringList GroupFieldOptions(const QString& Symbol);

// Identity-document kinds, in declaration order (InnyDokument precedes the two tax and
// insurance numbers here, but is the last item of the combo).
inline const TComboBoxSymbolItemRecord cRodzajDokumentuPusty{QString(), QString()};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuDowod{QStringLiteral("Dowod"),
                                                             QStringLiteral("dowód osobisty")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuKartaPobCudz{
    QStringLiteral("KartaPobCudz"), QStringLiteral("karta pobytu cudzoziemca")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuDokumenTozCudz{
    QStringLiteral("DokumenTozCudz"), QStringLiteral("dokument tożsamości cudzoziemca")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuPaszportPolski{QStringLiteral("PaszportPolski"),
                                                                      QStringLiteral("paszport polski")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuTymczasowyDowod{
    QStringLiteral("TymczasowyDowod"), QStringLiteral("tymczasowy dowód tożsamości")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuTymczasoweZaswiadczenie{
    QStringLiteral("TymczasoweZaswiadczenie"), QStringLiteral("tymczasowe zaświadczenie tożsamości")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuPaszportZagraniczny{
    QStringLiteral("PaszportZagraniczny"), QStringLiteral("paszport zagraniczny")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuInnyDokument{
    QStringLiteral("InnyDokument"), QStringLiteral("inny dokument potwierdzający tożsamość")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuNumerDlaCelowPodatkowych{
    QStringLiteral("NumerDlaCelowPodatkowych"),
    QStringLiteral("numer służący identyfikacji dla celów podatkowych")};
inline const TComboBoxSymbolItemRecord cRodzajDokumentuNumerDlaCelowUbezpieczenSpolecznych{
    QStringLiteral("NumerDlaCelowUbezpieczenSpolecznych"),
    QStringLiteral("numer służący identyfikacji dla celów ubezpieczeń społecznych")};

// The eleven items in the order the combo of cDaneDokumentuTozsamosciRodzaj receives them
// (index 0 empty, index 10 InnyDokument).
const QList<TComboBoxSymbolItemRecord>& IdentityDocumentItems();
