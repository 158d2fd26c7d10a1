// The guide's pictures: the real main window and the windows it opens, over the real
// router and SQL backend with generated data, grabbed offscreen (QWidget::grab) into
// the folder named by EWIDAR_SCREENSHOTS (nothing is written without it).

#include "TEdit.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarQuorDBSymbole.h"
#include "uInstallWindows.h"
#include "uLoadingForm.h"
#include "uLoginForm.h"
#include "uMainForm.h"
#include "uRegistrySwitch.h"
#include "uShowPodatnikInfo.h"
#include "uHTMLViewerModule.h"
#include "uQtTranslations.h"
#include "uStrings.h"

#include <QAction>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include <cstring>

#include <gtest/gtest.h>

namespace {

QString OutFolder() {
    return qEnvironmentVariable("EWIDAR_SCREENSHOTS");
}

// Lets the window lay itself out and paint, then writes it as <Name>.png.
void Save(QWidget* Window, const char* Name) {
    Window->activateWindow();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    const QString file = OutFolder() + u'/' + QString::fromUtf8(Name) + QStringLiteral(".png");
    EXPECT_TRUE(Window->grab().save(file)) << file.toStdString();
}

// Grabs the next modal window as Name, then closes it.
void GrabNextModal(const char* Name, QSize Size = {}) {
    TestSupport::WhenModal([Name, Size](QWidget* w) {
        if (Size.isValid())
            w->resize(Size);
        Save(w, Name);
        w->close();
    });
}

void Set(IEwidarRecord* Record, const TInternalFieldRecord& Field, const QString& Value) {
    TIntfPtr<IDataField> field = Record->GetDataFields()->GetDataField(toU16(Field.Symbol));
    ASSERT_TRUE(field) << Field.Symbol.toStdString();
    field->SetValue(toU16(Value));
}

struct TPerson {
    const char *Surname, *Name, *Nip, *Town, *Street;
};

// Taxpayers with valid identifiers and addresses, as a bookkeeper would enter them.
void AddTaxpayers(IEwidarDataBase* Db) {
    const TPerson people[] = {
        {"Kowalska", "Anna", "526-025-02-74", "Kłodzko", "Wąska"},
        {"Nowak", "Piotr", "725-18-01-126", "Łódź", "Piotrkowska"},
        {"Wiśniewski", "Jan", "584-025-32-91", "Gdańsk", "Długa"},
        {"Zając", "Ewa", "", "Poznań", "Półwiejska"},
    };
    auto list = Db->GetRegistries()->GetPodatnicy(std::u16string());
    ASSERT_TRUE(list);
    for (const TPerson& p : people) {
        TIntfPtr<IEwidarRecord> r = list->New();
        ASSERT_TRUE(r);
        Set(r.get(), cDanePodmiotuNazwisko, QString::fromUtf8(p.Surname));
        Set(r.get(), cDanePodmiotuPierwszeImie, QString::fromUtf8(p.Name));
        Set(r.get(), cDanePodmiotuNIP, QString::fromUtf8(p.Nip));
        Set(r.get(), cDanePodmiotuDataUrodzenia, QStringLiteral("1980-05-17"));
        ASSERT_TRUE(r->Post()) << p.Surname << ": code " << r->GetLastErrorCode();
    }
}

void AddOperator(IEwidarDataBase* Db) {
    TIntfPtr<IUserGroup> group = Db->GetUsersGroups()->AddGroup();
    group->SetName(u"Administratorzy");
    group->SetUprawnienia(31);
    ASSERT_TRUE(group->Post());
    TIntfPtr<IUser> user = group->GetUsers()->AddUser();
    user->SetLogin(u"anna");
    user->SetPassword(u"Hasło biura");
    ASSERT_TRUE(user->Post());
}

class GuideScreenshots : public ::testing::Test {
protected:
    void SetUp() override {
        if (OutFolder().isEmpty())
            GTEST_SKIP() << "EWIDAR_SCREENSHOTS names no folder";
        ASSERT_TRUE(QDir().mkpath(OutFolder()));
        TestSupport::ClearSettings();
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ewidar"))
            .removeRecursively();
        InstallWindows();
    }
    void TearDown() override {
        Form.reset();
        uLoadingForm::HideLoading();
        DestroyCore();
        ResetWindows();
    }
    void Start() {
        CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
        Form = std::make_unique<TMainForm>();
        Form->resize(1000, 620);
        Form->show();
        Form->FormActivate();
    }
    void WaitForList() {
        QTimer* timer = Form->CollectionBaseFrame1->tmrFilter;
        (void)QTest::qWaitFor([timer] { return !timer->isActive(); }, 3000);
        QCoreApplication::processEvents();
    }
    std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_F(GuideScreenshots, WindowsOfTheGuide) {
    Start();
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    ASSERT_TRUE(root);
    AddTaxpayers(root.get());
    Form->rbPodatnicy->click();
    WaitForList();
    Save(Form.get(), "okno-glowne");

    // The first taxpayer's window, and its report.
    TDrawGrid* grid = Form->CollectionBaseFrame1->DrawGrid1;
    grid->SetRow(grid->FixedRows());
    GrabNextModal("rekord-podatnika", QSize(1000, 760));
    Form->CollectionBaseFrame1->btnEdit->click();
    TIntfPtr<IEwidarRecord> first = grid->EwidarRecord(grid->FixedRows());
    ASSERT_TRUE(first);
    // The report, and Qt's own dialogs it opens, in Polish.
    const std::unique_ptr<QTranslator> polish(InstallQtTranslations(*QCoreApplication::instance()));
    TestSupport::WhenModal([](QWidget* viewer) {
        viewer->resize(1000, 420);
        Save(viewer, "raport");
        for (const char* button : {"btnPdf", "btnPrint"}) {
            GrabNextModal(std::strcmp(button, "btnPdf") == 0 ? "zapis-pdf" : "drukowanie", QSize(760, 520));
            viewer->findChild<QPushButton*>(QLatin1String(button))->click();
        }
        viewer->close();
    });
    ShowPodatnikInfo(HTMLViewerModule(), Form.get(), root.get(), nullptr, nullptr,
                     Supports<IPodmiot>(first).get());
    first = nullptr;
    if (polish)
        QCoreApplication::removeTranslator(polish.get());

    GrabNextModal("ustawienia");
    Form->Ustawienia1->trigger();
    GrabNextModal("o-programie");
    Form->Oprogramie1->trigger();

    // With an operator the next start asks for a login.
    AddOperator(root.get());
    root = nullptr;
    Form.reset();
    DestroyCore();
    TestSupport::WhenModal<TLoginForm>([](TLoginForm* form) {
        form->edtLogin->setText(QStringLiteral("anna"));
        Save(form, "logowanie");
        form->edtPassword->setText(QStringLiteral("Hasło biura"));
        form->btnZaloguj->click();
    });
    Start();
    GrabNextModal("operatorzy");
    Form->Operatorzy1->trigger();
}
