#include "EditingFixture.h"

#include "TEdit.h"
#include "TestSupport.h"
#include "uBaseFrame.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uEwidarDrawGrid.h"
#include "uInstallWindows.h"
#include "uLoadingForm.h"
#include "uMainForm.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarQuorDBSymbole.h"
#include "uEwidarRecordForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

void EditingTest::SetUp() {
    BackendTest::SetUp();
    Messages = std::make_unique<FakeMessagePresenter>();
}

void EditingTest::TearDown() {
    Messages.reset();
    BackendTest::TearDown();
}

TIntfPtr<IEwidarRecord> EditingTest::NewBank(const QString& Name) {
    auto list = Reg()->GetDaneBankow({});
    if (Name.isEmpty())
        return list->New();
    return NewPosted(list.get(), cDaneBankuNazwa.Symbol, Name);
}

TIntfPtr<IEwidarRecord> EditingTest::NewNfz(const QString& Kod, const QString& Nazwa) {
    auto r = Reg()->GetDaneNFZow({})->New();
    SetValue(r.get(), cDaneNFZKod.Symbol, Kod);
    SetValue(r.get(), cDaneNFZNazwa.Symbol, Nazwa);
    EXPECT_TRUE(r->Post()) << r->GetLastErrorCode();
    return r;
}

TIntfPtr<IEwidarRecord> EditingTest::FindBank(int32_t ID) {
    auto list = Reg()->GetDaneBankow({});
    for (int32_t i = 0; i < list->GetCount(); ++i)
        if (auto r = list->GetItem(i); r && r->GetID() == ID)
            return r;
    return {};
}

QStringList EditingTest::ShownTexts() const {
    QStringList texts;
    for (const TMessageRequest& r : Messages->Shown)
        texts.append(r.Text);
    return texts;
}

QString EditingTest::Shown() const {
    return ShownTexts().join(QStringLiteral(" | "));
}

void EditingTest::Type(TPanel* Panel, const QString& Text) {
    ASSERT_TRUE(Panel && Panel->Edit());
    Panel->Edit()->setFocus();
    Panel->Edit()->insert(Text);
}

void WhenWindow(const QString& Name, std::function<void(QWidget*)> Action, QWidget* Except, int TimeoutMs) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QPointer<QWidget> except(Except);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, Name, Action, TimeoutMs, except] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w != except && w->objectName() == Name && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            Action(w);
        } else if (clock->elapsed() > TimeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window " << Name.toStdString();
            if (w)
                w->close();
        }
    });
    timer->start();
}

THostForm::THostForm(TBaseFrame* (*Create)(QWidget*)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Frame = Create(this);
    layout->addWidget(Frame);
}

MainWindowEditingTest::~MainWindowEditingTest() = default;

void MainWindowEditingTest::SetUp() {
    TestSupport::ClearSettings();
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ewidar"))
        .removeRecursively();
    BeforeStart();
    Messages = std::make_unique<FakeMessagePresenter>();
    InstallWindows();
    CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
    ASSERT_TRUE(Core()->FDataBaseModule->GetDLLLoaded()) << "the real router is not built";
    Form = std::make_unique<TMainForm>();
    Form->FormActivate();
    List = Form->CollectionBaseFrame1;
}

void MainWindowEditingTest::TearDown() {
    Form.reset();
    uLoadingForm::HideLoading();
    DestroyCore();
    ResetWindows();
    Messages.reset();
}

QStringList MainWindowEditingTest::Rows() {
    QTimer* timer = List->tmrFilter;
    EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 3000));
    QStringList rows;
    TDrawGrid* grid = List->DrawGrid1;
    for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
        if (grid->EwidarRecord(r)) {
            QStringList cells;
            for (int c = 0; c < grid->ColCount(); ++c)
                cells.append(grid->Cells(c, r));
            rows.append(cells.join(QLatin1Char('|')));
        }
    return rows;
}
