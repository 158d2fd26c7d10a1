// Filling the dictionary window's list and reading the chosen row.

#include "TEdit.h"
#include "uDictionaryForm.h"
#include "uDictionaryTables.h"
#include "uEwidarDrawGrid.h"
#include "uWaitCursor.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>

namespace {

QString DictionaryCaption(TDictionaryType Type) {
    switch (Type) {
    case dtKraje:
        return QStringLiteral("Tablica krajów");
    case dtPowiaty:
        return QStringLiteral("Tablica powiatów");
    case dtGminy:
        return QStringLiteral("Tablica gmin");
    case dtMiejscowosci:
        return QStringLiteral("Tablica miejscowości");
    case dtUS:
        return QStringLiteral("Tablica urzędów skarbowych");
    case dtWojewodztwa:
        break;
    }
    return QString();
}

QStringList ColumnTitles(TDictionaryType Type) {
    switch (Type) {
    case dtKraje:
        return {QStringLiteral("Nazwa"), QStringLiteral("Kod")};
    case dtPowiaty:
        return {QStringLiteral("Województwo"), QStringLiteral("Powiat")};
    case dtGminy:
        return {QStringLiteral("Województwo"), QStringLiteral("Powiat"), QStringLiteral("Gmina")};
    case dtMiejscowosci:
        return {QStringLiteral("Województwo"), QStringLiteral("Powiat"), QStringLiteral("Gmina"),
                QStringLiteral("Miejscowość")};
    case dtUS:
        return {QStringLiteral("Kod"), QStringLiteral("Nazwa"), QStringLiteral("Naczelnik"),
                QStringLiteral("Adres")};
    case dtWojewodztwa:
        break;
    }
    return {};
}

QStringList ProvinceNames() {
    QStringList names;
    for (const TWojewodztwoRecord& w : DictionaryTables().Wojewodztwa)
        names.append(w.NazwaWojewodztwa);
    return names;
}

// The filters of one filling, one per filter box (empty where the type has no such box).
struct TFilters {
    TDictionaryFilterText Filtr, Wojewodztwo, Powiat, Gmina, Miejscowosc;

    // Countries and tax offices: the one box matches any of the columns.
    bool AnyOf(std::initializer_list<const QString*> Values) const {
        if (Filtr.IsEmpty())
            return true;
        for (const QString* v : Values)
            if (Filtr.Matches(*v))
                return true;
        return false;
    }
};

// Fills the grid: a row count once, then every cell (the rows are all known before).
void SetGridRows(TDrawGrid* Grid, const std::vector<QStringList>& Rows, int ColCount) {
    Grid->Clear();
    Grid->SetColCount(ColCount);
    Grid->SetRowCount(int(Rows.size()));
    Grid->SetFixedRows(1);
    for (int r = 0; r < int(Rows.size()); ++r)
        for (int c = 0; c < ColCount && c < Rows[size_t(r)].size(); ++c)
            Grid->SetCells(c, r, Rows[size_t(r)].at(c));
}

} // namespace

struct TDictionaryForm::TFilledRows {
    std::vector<QStringList> Rows;
    int FirstMatch = 0;
};

TDictionaryForm::TFilledRows TDictionaryForm::BuildRows() {
    TFilledRows out;
    const TShowDataMode mode = FShowDataMode;
    TFilters f;
    f.Filtr = TDictionaryFilterText(edtFiltr->text(), mode);
    f.Wojewodztwo = ProvinceFilter(cbbWojewodztwo->currentText(), mode, ProvinceNames());
    f.Powiat = TDictionaryFilterText(edtPowiat->text(), mode);
    if (FDictionaryType == dtGminy || FDictionaryType == dtMiejscowosci)
        f.Gmina = TDictionaryFilterText(edtGmina->text(), mode);
    if (FDictionaryType == dtMiejscowosci)
        f.Miejscowosc = TDictionaryFilterText(edtMiejscowosc->text(), mode);

    const TDictionaryTables& t = DictionaryTables();
    out.Rows.push_back(ColumnTitles(FDictionaryType));
    // Adds table entry Index when it matches (in sdmSelect every entry is added).
    const auto add = [&](int Index, bool Matches, QStringList Cells) {
        if (!Matches && mode == sdmFilter)
            return;
        if (Matches && out.FirstMatch == 0)
            out.FirstMatch = int(out.Rows.size());
        out.Rows.push_back(std::move(Cells));
        FTempArray.push_back(Index);
    };
    switch (FDictionaryType) {
    case dtKraje:
        for (int i = 0; i < int(t.Kraje.size()); ++i) {
            const TKrajRecord& r = t.Kraje[size_t(i)];
            add(i, f.AnyOf({&r.NazwaKraju, &r.KodKraju}), {r.NazwaKraju, r.KodKraju});
        }
        break;
    case dtPowiaty:
        for (int i = 0; i < int(t.Powiaty.size()); ++i) {
            const TPowiatRecord& r = t.Powiaty[size_t(i)];
            add(i, f.Powiat.Matches(r.NazwaPowiatu) && f.Wojewodztwo.Matches(r.NazwaWojewodztwa),
                {r.NazwaWojewodztwa, r.NazwaPowiatu});
        }
        break;
    case dtGminy:
        for (int i = 0; i < int(t.Gminy.size()); ++i) {
            const TGminaRecord& r = t.Gminy[size_t(i)];
            add(i,
                f.Gmina.Matches(r.NazwaGminy) && f.Powiat.Matches(r.NazwaPowiatu) &&
                    f.Wojewodztwo.Matches(r.NazwaWojewodztwa),
                {r.NazwaWojewodztwa, r.NazwaPowiatu, r.NazwaGminy});
        }
        break;
    case dtMiejscowosci:
        for (int i = 0; i < int(t.Miejscowosci.size()); ++i) {
            const TMiejscowosciRecord& r = t.Miejscowosci[size_t(i)];
            add(i,
                f.Miejscowosc.Matches(r.NazwaMiejscowosci) && f.Gmina.Matches(r.NazwaGminy) &&
                    f.Powiat.Matches(r.NazwaPowiatu) && f.Wojewodztwo.Matches(r.NazwaWojewodztwa),
                {r.NazwaWojewodztwa, r.NazwaPowiatu, r.NazwaGminy, r.NazwaMiejscowosci});
        }
        break;
    case dtUS:
        for (int i = 0; i < int(t.UrzedySkarbowe.size()); ++i) {
            const TUrzadSkarbowyRecord& r = t.UrzedySkarbowe[size_t(i)];
            add(i, f.AnyOf({&r.Kod, &r.Nazwa, &r.Naczelnik, &r.Adres}), {r.Kod, r.Nazwa, r.Naczelnik, r.Adres});
        }
        break;
    case dtWojewodztwa:
        break; // no list of its own
    }
    return out;
}

void TDictionaryForm::FillList() {
    TWaitCursor wait;
    ++m_fillCount;
    ShowFilterControls();
    setWindowTitle(DictionaryCaption(FDictionaryType));
    SetGridVisible(false);
    // Paints "Trwa ładowanie danych ..." before the walk; typing waits until the list is full.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const int colCount = int(ColumnTitles(FDictionaryType).size());
    FTempArray.assign(1, -1);
    TFilledRows filled;
    try {
        filled = BuildRows();
    } catch (...) {
        // Out of memory on a huge table: an empty list rather than a half-built one.
        filled = TFilledRows();
        filled.Rows.push_back(ColumnTitles(FDictionaryType));
        FTempArray.assign(1, -1);
    }
    const int dataRows = int(filled.Rows.size()) - 1;
    // The grid always keeps one data row below its titles; an empty list shows it blank.
    if (dataRows == 0)
        filled.Rows.emplace_back();
    SetGridRows(DrawGrid1, filled.Rows, colCount);
    DrawGrid1->SetWidthColumns();
    SetGridVisible(true);
    Label6->setText(QStringLiteral("Liczba rekordów: ") + QString::number(dataRows));
    if (FShowDataMode == sdmSelect && filled.FirstMatch > 0) {
        DrawGrid1->SetTopRow(filled.FirstMatch);
        DrawGrid1->SetRow(filled.FirstMatch);
    } else {
        DrawGrid1->SetRow(1);
    }
    FShowDataMode = sdmFilter;
}

bool TDictionaryForm::GetCurrentRecord(TDictionaryRecord& Record) const {
    Record.Clear();
    const int row = DrawGrid1->Row();
    if (row < 1 || row >= int(FTempArray.size()))
        return false;
    const size_t index = size_t(FTempArray[size_t(row)]);
    const TDictionaryTables& t = DictionaryTables();
    const auto poland = [&Record] {
        Record.KrajNazwa = QStringLiteral("Polska");
        Record.KrajKod = QStringLiteral("PL");
    };
    switch (FDictionaryType) {
    case dtKraje:
        Record.KrajNazwa = t.Kraje[index].NazwaKraju;
        Record.KrajKod = t.Kraje[index].KodKraju;
        break;
    case dtPowiaty:
        poland();
        Record.Wojewodztwo = t.Powiaty[index].NazwaWojewodztwa;
        Record.Powiat = t.Powiaty[index].NazwaPowiatu;
        break;
    case dtGminy:
        poland();
        Record.Wojewodztwo = t.Gminy[index].NazwaWojewodztwa;
        Record.Powiat = t.Gminy[index].NazwaPowiatu;
        Record.Gmina = t.Gminy[index].NazwaGminy;
        break;
    case dtMiejscowosci:
        poland();
        Record.Wojewodztwo = t.Miejscowosci[index].NazwaWojewodztwa;
        Record.Powiat = t.Miejscowosci[index].NazwaPowiatu;
        Record.Gmina = t.Miejscowosci[index].NazwaGminy;
        Record.Miejscowosc = t.Miejscowosci[index].NazwaMiejscowosci;
        break;
    case dtUS: {
        const TUrzadSkarbowyRecord& r = t.UrzedySkarbowe[index];
        Record.USNazwa = r.Nazwa;
        Record.USNaczelnik = r.Naczelnik;
        Record.USAdres = r.Adres;
        Record.USRachPit = r.RachPit;
        Record.USRachPitStd = r.RachPitStd;
        Record.USRachCit = r.RachCit;
        Record.USRachVat = r.RachVat;
        Record.USRachVatUe = r.RachVatUe;
        Record.USRachViuVin = r.RachViuVin;
        Record.USRachDoch1 = r.RachDoch1;
        Record.USRachInD = r.RachInD;
        break;
    }
    case dtWojewodztwa:
        poland();
        Record.Wojewodztwo = t.Wojewodztwa[index].NazwaWojewodztwa;
        break;
    }
    return true;
}
