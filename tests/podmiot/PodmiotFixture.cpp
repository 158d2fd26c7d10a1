#include "PodmiotFixture.h"

#include "TCheckBox.h"
#include "TForm.h"
#include "TRadioButton.h"
#include "uDictionaryTables.h"
#include "uEditingOpeners.h"
#include "uFrameOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uListOpeners.h"

#include <QApplication>
#include <QVBoxLayout>

class THostWindow : public TForm {
public:
    THostWindow() {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        Frame = new TPodmiotFrame(this);
        layout->addWidget(Frame);
    }
    TPodmiotFrame* Frame;
};

void THostDeleter::operator()(THostWindow* Host) const {
    delete Host;
}

void PodmiotTest::SetUp() {
    EditingTest::SetUp();
    // No loader runs in the tests: the (empty) tables count as loaded.
    for (int t = 0; t < cDictionaryTypeCount; ++t)
        MarkTableLoaded(TDictionaryType(t));
    PodmiotOpeners::SetDictionaryModule(&Dictionary);
}

void PodmiotTest::TearDown() {
    Host.reset();
    PodmiotOpeners::SetDictionaryModule(nullptr);
    PodmiotOpeners::SetAccountsOpener({});
    EditingOpeners::SetCollectionChooser({});
    FrameOpeners::SetSubjectChooser({});
    ListOpeners::SetRecordFormOpener({});
    TDictionaryModule::SetDictionaryFormOpener({});
    EditingTest::TearDown();
}

TPodmiotFrame* PodmiotTest::Open(const TIntfPtr<IEwidarRecord>& Record, TKontekst Kontekst) {
    Host.reset(new THostWindow);
    TPodmiotFrame* frame = Host->Frame;
    frame->SetEwidarDataBase(m_db);
    frame->SetKontekst(Kontekst);
    frame->SetEwidarRecord(Record);
    Host->show();
    frame->SetSize();
    QApplication::processEvents();
    return frame;
}

TIntfPtr<IEwidarRecord> PodmiotTest::NewTaxpayer(const QList<std::pair<QString, QString>>& Values) {
    auto r = Reg()->GetPodatnicy({})->New();
    for (const auto& [symbol, value] : Values)
        SetValue(r.get(), symbol, value);
    EXPECT_TRUE(r->Post()) << r->GetLastErrorCode();
    return r;
}

TIntfPtr<IEwidarRecord> PodmiotTest::NewEmployee(IEwidarRecord* Taxpayer, const QString& Surname) {
    auto people = Supports<IPodatnik>(Taxpayer)->GetPracownicy(0, 0);
    auto r = people->New();
    SetValue(r.get(), cDanePodmiotuNazwisko.Symbol, Surname);
    EXPECT_TRUE(r->Post()) << r->GetLastErrorCode();
    auto again = Supports<IPodatnik>(Taxpayer)->GetPracownicy(0, 0);
    for (int32_t i = 0; i < again->GetCount(); ++i)
        if (auto item = again->GetItem(i); item && item->GetID() == r->GetID())
            return item;
    ADD_FAILURE() << "employee not listed";
    return r;
}

TIntfPtr<IEwidarRecord> PodmiotTest::FindSubject(int32_t ID) {
    auto all = Reg()->GetPodmioty({});
    for (int32_t i = 0; i < all->GetCount(); ++i)
        if (auto r = all->GetItem(i); r && r->GetID() == ID)
            return r;
    return {};
}

QString PodmiotTest::StoredValue(int32_t ID, const QString& Symbol) {
    auto r = FindSubject(ID);
    return r ? Value(r.get(), Symbol) : QStringLiteral("<none>");
}

void PodmiotTest::Click(TCheckBox* Box) {
    Box->click();
}

void PodmiotTest::Check(TPodmiotFrame* Frame, int Radio) {
    Frame->RadioButton[size_t(Radio)]->click();
}
