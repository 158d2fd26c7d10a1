// The dictionary module: what each selection hands the window, and the province list.

#include "uDictionaryModule.h"
#include "uDictionaryTables.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

void SetProvinces(const QStringList& Names) {
    ResetDictionaryTables();
    for (const QString& n : Names)
        DictionaryTables().Wojewodztwa.push_back({QString(), n});
    MarkAllTablesLoaded();
}

struct TOpened {
    int Calls = 0;
    TDictionaryRecord Input;
    TDictionaryType Type = dtWojewodztwa;
};

class DictionaryModule : public ::testing::Test {
protected:
    void SetUp() override {
        SetProvinces({});
        TDictionaryModule::SetDictionaryFormOpener([this](QWidget*, const TDictionaryRecord& Input,
                                                          TDictionaryType Type, TDictionaryRecord& Result) {
            ++m_opened.Calls;
            m_opened.Input = Input;
            m_opened.Type = Type;
            if (m_accept)
                Result.Miejscowosc = QStringLiteral("chosen");
        });
    }
    void TearDown() override { TDictionaryModule::SetDictionaryFormOpener({}); }

    TDictionaryModule m_module;
    TOpened m_opened;
    bool m_accept = false;
};

TDictionaryRecord Input(std::initializer_list<std::pair<QString TDictionaryRecord::*, const char*>> Fields) {
    TDictionaryRecord r;
    for (const auto& [field, value] : Fields)
        r.*field = QString::fromUtf8(value);
    return r;
}

} // namespace

TEST_F(DictionaryModule, EachSelectionOpensItsDictionaryWithOnlyItsOwnInput) {
    struct TCase {
        std::function<void(TDictionaryModule&, TDictionaryRecord&)> Call;
        TDictionaryType Type;
        TDictionaryRecord Expected;
    };
    using R = TDictionaryRecord;
    const std::vector<TCase> cases{
        {[](TDictionaryModule& m, R& r) { m.Kraj(nullptr, QStringLiteral("Niemcy"), r); }, dtKraje,
         Input({{&R::KrajNazwa, "Niemcy"}})},
        {[](TDictionaryModule& m, R& r) {
             m.Powiat(nullptr, QStringLiteral("ŚLĄSKIE"), QStringLiteral("gliwicki"), r);
         },
         dtPowiaty, Input({{&R::Wojewodztwo, "ŚLĄSKIE"}, {&R::Powiat, "gliwicki"}})},
        {[](TDictionaryModule& m, R& r) {
             m.Gmina(nullptr, QStringLiteral("w"), QStringLiteral("p"), QStringLiteral("g"), r);
         },
         dtGminy, Input({{&R::Wojewodztwo, "w"}, {&R::Powiat, "p"}, {&R::Gmina, "g"}})},
        {[](TDictionaryModule& m, R& r) {
             m.Miejscowosc(nullptr, QStringLiteral("w"), QStringLiteral("p"), QStringLiteral("g"),
                           QStringLiteral("m"), r);
         },
         dtMiejscowosci,
         Input({{&R::Wojewodztwo, "w"}, {&R::Powiat, "p"}, {&R::Gmina, "g"}, {&R::Miejscowosc, "m"}})},
        {[](TDictionaryModule& m, R& r) { m.UrzadSkarbowy(nullptr, r); }, dtUS, R()},
    };
    for (const TCase& c : cases) {
        // A previous selection's input does not leak into the next one.
        m_module.FInputDictionaryRecord.USNazwa = QStringLiteral("stale");
        m_opened = {};
        TDictionaryRecord result;
        result.USKonto = QStringLiteral("stale");
        m_accept = false;
        c.Call(m_module, result);
        EXPECT_EQ(m_opened.Calls, 1);
        EXPECT_EQ(m_opened.Type, c.Type);
        EXPECT_EQ(m_opened.Input, c.Expected);
        EXPECT_EQ(m_module.FInputDictionaryRecord, c.Expected);
        EXPECT_TRUE(result.IsEmpty()) << "a cancelled selection returns a cleared record";
        m_accept = true;
        c.Call(m_module, result);
        EXPECT_EQ(result.Miejscowosc, QStringLiteral("chosen"));
    }
}

TEST_F(DictionaryModule, StreetsAndAMissingWindowGiveAClearedRecord) {
    TDictionaryRecord result;
    result.Ulica = QStringLiteral("Długa");
    m_module.Ulica(result);
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_EQ(m_opened.Calls, 0);

    TDictionaryModule::SetDictionaryFormOpener({});
    result.KrajKod = QStringLiteral("PL");
    m_module.Kraj(nullptr, QStringLiteral("Polska"), result);
    EXPECT_TRUE(result.IsEmpty());
}

TEST_F(DictionaryModule, ProvinceCommaText) {
    const std::vector<std::pair<QStringList, QString>> cases{
        {{}, QString()},
        {{QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("\"a\",\"b\"")},
        {{QStringLiteral("MAŁOPOLSKIE")}, QStringLiteral("\"MAŁOPOLSKIE\"")},
        {{QStringLiteral("x\"y"), QStringLiteral("z, w")}, QStringLiteral("\"x\"\"y\",\"z, w\"")},
    };
    for (const auto& [names, expected] : cases) {
        SetProvinces(names);
        EXPECT_EQ(m_module.WojewodztwaCommaText(), expected);
    }
}
