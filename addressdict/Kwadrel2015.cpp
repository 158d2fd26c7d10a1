// The address-dictionary library: countries from iso-codes, provinces, counties,
// communes and localities from the installed TERYT dictionary, tax offices from the
// built-in code list merged with the installed list (see the import tool). Files are read on the first request for a
// dictionary, not when the library is loaded. Nothing here throws across the boundary:
// a dictionary that cannot be read is served empty.

#include "Kwadrel_Intf.h"
#include "uIsoCountries.h"
#include "uKwadrelStore.h"
#include "uLibraryExports.h"
#include "uUrzedyImport.h"
#include "uUrzedyWbudowane.h"

#include <QDir>

#include <memory>
#include <mutex>
#include <vector>

namespace {

using TTablePtr = std::shared_ptr<const TKwadrelTable>;

class TCursor final : public TInterfacedObject<IAdrDictCursor> {
public:
    TCursor(TTablePtr Table, std::vector<int> Rows) : m_table(std::move(Table)), m_rows(std::move(Rows)) {}

    int32_t RecordCount() override { return int32_t(m_rows.size()); }
    void First() override { m_pos = 0; }
    bool Eof() override { return m_pos >= m_rows.size(); }
    void Next() override {
        if (m_pos < m_rows.size())
            ++m_pos;
    }
    std::u16string FieldValue(int32_t Index) override {
        try {
            if (Eof() || Index < 0 || Index >= m_table->Columns)
                return {};
            return m_table->Cell(m_rows[m_pos], Index).toStdU16String();
        } catch (...) {
            return {};
        }
    }

private:
    TTablePtr m_table;
    std::vector<int> m_rows;
    size_t m_pos = 0;
};

// Column of the table and the text it must contain (case-insensitive).
struct TFilter {
    int Column;
    QString Text;
};

void Serve(const TTablePtr& Table, bool All, std::vector<TFilter> Filters, int Limit, IAdrDictCursor** Out) {
    if (!Out)
        return;
    *Out = nullptr;
    std::erase_if(Filters, [](const TFilter& f) { return f.Text.isEmpty(); });
    std::vector<int> rows;
    rows.reserve(size_t(All ? Table->Rows() : 0));
    for (int r = 0; r < Table->Rows(); ++r) {
        if (!All) {
            if (Limit > 0 && int(rows.size()) >= Limit)
                break;
            const bool match = std::all_of(Filters.begin(), Filters.end(), [&](const TFilter& f) {
                return Table->Cell(r, f.Column).contains(f.Text, Qt::CaseInsensitive);
            });
            if (!match)
                continue;
        }
        rows.push_back(r);
    }
    *Out = new TCursor(Table, std::move(rows));
    (*Out)->AddRef();
}

QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

class TAdrDict final : public TInterfacedObject<IAdrDictIntf> {
public:
    void GetKraje(bool All, const std::u16string& Kod, const std::u16string& Nazwa,
                  IAdrDictCursor** Out) override {
        Guard(Out, [&] { Serve(Kraje(), All, {{0, Q(Kod)}, {1, Q(Nazwa)}}, 0, Out); });
    }
    bool GetNazwaKraju(const std::u16string& Kod, std::u16string& Nazwa) override {
        return Lookup([this] { return Kraje(); }, Kod, Nazwa);
    }
    void GetWojewodztwa(bool All, IAdrDictCursor** Out) override {
        Guard(Out, [&] { Serve(Teryt().Wojewodztwa, All, {}, 0, Out); });
    }
    void GetPowiaty(bool All, const std::u16string& Wojewodztwo, const std::u16string& Nazwa,
                    IAdrDictCursor** Out) override {
        Guard(Out, [&] { Serve(Teryt().Powiaty, All, {{0, Q(Wojewodztwo)}, {2, Q(Nazwa)}}, 0, Out); });
    }
    void GetGminy(bool All, const std::u16string& Wojewodztwo, const std::u16string& Powiat,
                  const std::u16string& Nazwa, IAdrDictCursor** Out) override {
        Guard(Out, [&] {
            Serve(Teryt().Gminy, All, {{0, Q(Wojewodztwo)}, {1, Q(Powiat)}, {3, Q(Nazwa)}}, 0, Out);
        });
    }
    void GetMiejscowosci(bool All, const std::u16string& Wojewodztwo, const std::u16string& Powiat,
                         const std::u16string& Gmina, const std::u16string& Nazwa, int32_t Limit,
                         IAdrDictCursor** Out) override {
        Guard(Out, [&] {
            Serve(Teryt().Miejscowosci, All,
                  {{0, Q(Wojewodztwo)}, {1, Q(Powiat)}, {2, Q(Gmina)}, {3, Q(Nazwa)}}, Limit, Out);
        });
    }
    bool GetNazwaWojewodztwa(const std::u16string& Kod, std::u16string& Nazwa) override {
        return Lookup([this] { return Teryt().Wojewodztwa; }, Kod, Nazwa);
    }
    void GetUrzedySkarbowe(bool All, const std::u16string& Nazwa, const std::u16string& Naczelnik,
                           const std::u16string& Adres, IAdrDictCursor** Out) override {
        Guard(Out, [&] { Serve(Urzedy(), All, {{0, Q(Nazwa)}, {1, Q(Naczelnik)}, {2, Q(Adres)}}, 0, Out); });
    }

private:
    struct TTeryt {
        TTablePtr Wojewodztwa, Powiaty, Gminy, Miejscowosci;
    };

    template <class F> static void Guard(IAdrDictCursor** Out, F&& Body) {
        try {
            Body();
        } catch (...) {
            if (Out && *Out) {
                (*Out)->Release();
                *Out = nullptr;
            }
        }
    }

    // The name (column 1) of the row whose code (column 0) is Kod, ignoring case.
    template <class F> static bool Lookup(F&& GetTable, const std::u16string& Kod, std::u16string& Nazwa) {
        try {
            Nazwa.clear();
            const TTablePtr Table = GetTable();
            for (int r = 0; r < Table->Rows(); ++r)
                if (Table->Cell(r, 0).compare(Q(Kod), Qt::CaseInsensitive) == 0) {
                    Nazwa = Table->Cell(r, 1).toStdU16String();
                    return true;
                }
        } catch (...) {
            Nazwa.clear();
        }
        return false;
    }

    const TTeryt& Teryt() {
        std::call_once(m_terytOnce, [this] {
            TKwadrelTable w(2), p(3), g(4), m(4);
            QString error;
            ReadStore(QDir(KwadrelDataFolder()).filePath(cTerytStoreFile), cTerytStoreKind,
                      {{QStringLiteral("W"), &w},
                       {QStringLiteral("P"), &p},
                       {QStringLiteral("G"), &g},
                       {QStringLiteral("M"), &m}},
                      error);
            // TERC gives provinces in capitals; addresses, the province lists and every
            // table here spell them as addresses do: "mazowieckie".
            const std::pair<TKwadrelTable*, int> provinces[] = {{&w, 1}, {&p, 0}, {&g, 0}, {&m, 0}};
            for (const auto& [table, column] : provinces)
                for (int r = 0; r < table->Rows(); ++r) {
                    QString& name = table->Cells[size_t(r) * size_t(table->Columns) + size_t(column)];
                    name = name.toLower();
                }
            m_teryt = {std::make_shared<const TKwadrelTable>(std::move(w)),
                       std::make_shared<const TKwadrelTable>(std::move(p)),
                       std::make_shared<const TKwadrelTable>(std::move(g)),
                       std::make_shared<const TKwadrelTable>(std::move(m))};
        });
        return m_teryt;
    }

    // The built-in offices, each replaced by the installed list's office of the same code
    // or name. A list installed before offices had codes (twelve columns) still counts.
    const TTablePtr& Urzedy() {
        std::call_once(m_urzedyOnce, [this] {
            const QString path = QDir(KwadrelDataFolder()).filePath(cUrzedyStoreFile);
            TKwadrelTable installed(cUrzadColumns);
            QString error;
            if (!ReadStore(path, cUrzedyStoreKind, {{QStringLiteral("U"), &installed}}, error)) {
                TKwadrelTable older(cUrzadColumns - 1);
                if (ReadStore(path, cUrzedyStoreKind, {{QStringLiteral("U"), &older}}, error))
                    for (int r = 0; r < older.Rows(); ++r) {
                        for (int c = 0; c < older.Columns; ++c)
                            installed.Cells.push_back(older.Cell(r, c));
                        installed.Cells.emplace_back();
                    }
            }
            m_urzedy = std::make_shared<const TKwadrelTable>(MergeOffices(BuiltInOffices(), installed));
        });
        return m_urzedy;
    }

    const TTablePtr& Kraje() {
        std::call_once(m_krajeOnce, [this] {
            TKwadrelTable k(2);
            ReadIsoCountries(IsoCountriesJsonPath(), IsoCountriesCatalogPath(), k);
            m_kraje = std::make_shared<const TKwadrelTable>(std::move(k));
        });
        return m_kraje;
    }

    std::once_flag m_terytOnce, m_urzedyOnce, m_krajeOnce;
    TTeryt m_teryt;
    TTablePtr m_urzedy, m_kraje;
};

} // namespace

extern "C" {

EWIDAR_EXPORT void GetDictionaryIntf(IAdrDictIntf** Out) {
    HandOutIntf(Out, [] {
        IAdrDictIntf* dict = new TAdrDict;
        dict->AddRef();
        return dict;
    });
}

} // extern "C"

EWIDAR_EXPORT_FILE_VERSION(EWIDAR_FILE_VERSION)

static_assert(std::is_same_v<decltype(&GetDictionaryIntf), TGetDictionaryIntf>);
