// The one install point of the windows: ResetWindows puts every opener and handler back to
// its do-nothing default (InstallWindows starts with it, then installs the real windows).

#include "TestSupport.h"
#include "uEwidarComponents_Panel.h"
#include "uInstallWindows.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"

#include <gtest/gtest.h>

namespace {

// Installs a recorder on every opener and handler; each call adds its name to Calls.
void InstallRecorders(QStringList& Calls) {
    ListOpeners::SetRecordFormOpener([&](QWidget*, IEwidarRecord*, TKontekst, IEwidarDataBase*) {
        Calls << QStringLiteral("record");
        return true;
    });
    ListOpeners::SetTaxpayerChooser([&](QWidget*, IEwidarDataBase*, TPodmiotType) {
        Calls << QStringLiteral("taxpayer");
        return TIntfPtr<IPodmiot>();
    });
    ListOpeners::SetRelationsOpener(
        [&](QWidget*, IEwidarRecord*, IEwidarDataBase*) { Calls << QStringLiteral("relations"); });
    ListOpeners::SetMergeOpener([&](QWidget*, IEwidarRecord*, IEwidarRecord*, IEwidarDataBase*) {
        Calls << QStringLiteral("merge");
        return true;
    });
    ListOpeners::SetDuplicatesOpener([&](QWidget*, IEwidarDataBase*) { Calls << QStringLiteral("duplicates"); });
    ListOpeners::SetSubjectInfoOpener([&](QWidget*, IEwidarDataBase*, IPodmioty*, IPodatnicy*, IPodmiot*) {
        Calls << QStringLiteral("info");
    });
    MainFormOpeners::SetSettingsOpener([&](QWidget*) {
        Calls << QStringLiteral("settings");
        return MainFormOpeners::csReconnect;
    });
    MainFormOpeners::SetImportSourceChooser([&](QWidget*) {
        Calls << QStringLiteral("import");
        return MainFormOpeners::TDBParamRecord{MainFormOpeners::csAccept, QStringLiteral("SQLITE"), u"x"};
    });
    MainFormOpeners::SetOperatorsOpener(
        [&](QWidget*, IEwidarDataBase*) { Calls << QStringLiteral("operators"); });
    TPanel::SetFieldDictionaryHandler([&](TPanel*, const QString&, ISlownikField*) {
        Calls << QStringLiteral("dictionary");
        return QStringLiteral("słowo");
    });
}

// Calls every opener once; true when each answered as its default does.
bool AllAnswerAsDefaults() {
    bool defaults = !ListOpeners::OpenRecordForm(nullptr, nullptr, kBrak, nullptr);
    defaults &= !ListOpeners::ChooseTaxpayer(nullptr, nullptr, ptPracownik);
    ListOpeners::ShowRelations(nullptr, nullptr, nullptr);
    defaults &= !ListOpeners::MergeRecords(nullptr, nullptr, nullptr, nullptr);
    ListOpeners::FindDuplicates(nullptr, nullptr);
    ListOpeners::ShowSubjectInfo(nullptr, nullptr, nullptr, nullptr, nullptr);
    defaults &= MainFormOpeners::OpenSettings(nullptr) == MainFormOpeners::csCancel;
    defaults &= MainFormOpeners::ChooseImportSource(nullptr).CloseStatus == MainFormOpeners::csCancel;
    MainFormOpeners::OpenOperators(nullptr, nullptr);
    defaults &= !TPanel::FieldDictionaryHandler();
    return defaults;
}

TEST(InstallWindowsTest, ResetPutsEveryOpenerAndHandlerBackToItsDefault) {
    QStringList calls;
    InstallRecorders(calls);
    EXPECT_FALSE(AllAnswerAsDefaults());
    EXPECT_EQ(calls.size(), 9) << "the recorders are in place (the dictionary handler is only read)";
    calls.clear();
    ResetWindows();
    EXPECT_TRUE(AllAnswerAsDefaults());
    EXPECT_TRUE(calls.isEmpty()) << calls.join(QLatin1Char(',')).toStdString();
}

} // namespace
