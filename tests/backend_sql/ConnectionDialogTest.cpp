// The backend's own connection dialog, driven like an operator would: typing a
// path, choosing a file in the file dialogs, confirming or cancelling.

#include "BackendFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <thread>

namespace {

template <class T> T* Child(QWidget* W, const char* Name) {
    T* c = W->findChild<T*>(QLatin1String(Name));
    EXPECT_TRUE(c) << Name;
    return c;
}

// Answers the file dialog with this objectName, once it is shown, with a file name.
void AnswerFileDialog(const QString& Name, const QString& Path, QString* ObjectName) {
    TestSupport::WhenModal(TestSupport::WindowOf<QFileDialog>(Name), [Path, ObjectName](QWidget* w) {
        auto* fd = static_cast<QFileDialog*>(w);
        *ObjectName = fd->objectName();
        fd->selectFile(Path);
        // selectFile leaves the name box alone while it has the focus (a shown save dialog
        // gives it the focus): type the name there as the operator would.
        if (auto* name = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(Path);
        static_cast<QDialog*>(fd)->accept(); // QFileDialog::accept, public through its base
    });
}

} // namespace

using ConnectionDialogTest = BackendTest;

TEST_F(ConnectionDialogTest, OkGivesTheTypedFileAndKeepsTheOtherKeys) {
    FILE_DATABASE_ONLY();
    QWidget owner;
    const QString target = m_dir + QStringLiteral("/inna baza.db");
    QString title;
    QWidget* parent = nullptr;
    QString shown;
    TestSupport::WhenModal([&](QWidget* w) {
        title = w->windowTitle();
        parent = w->parentWidget();
        auto* edit = Child<QLineEdit>(w, "edtDIR");
        shown = edit->text();
        edit->setText(QStringLiteral("  ") + target + QStringLiteral(" "));
        Child<QPushButton>(w, "btnOK")->click();
    });
    std::u16string param = U(QStringLiteral("TIMEOUT=250;DIR=%1;USER=jan;").arg(m_path));
    ASSERT_TRUE(m_db->EditConnectionParams(&owner, param, true)) << m_db->GetLastErrorCode();
    EXPECT_EQ(m_db->GetLastErrorCode(), 0);
    EXPECT_EQ(title, QStringLiteral("Parametry bazy danych SQLite"));
    EXPECT_EQ(parent, &owner);
    EXPECT_EQ(shown, QDir::toNativeSeparators(m_path));
    EXPECT_EQ(Q(param), QStringLiteral("TIMEOUT=250;DIR=%1;USER=jan;").arg(target));
    // The edited parameter connects (a new file, as the flag allowed).
    auto db = NewRoot();
    ASSERT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    EXPECT_TRUE(QFile::exists(target));
    db->Disconnect();
}

TEST_F(ConnectionDialogTest, CancelChangesNothingAndAnEmptyParameterStartsFromTheDefaultFile) {
    FILE_DATABASE_ONLY();
    QString shown;
    TestSupport::WhenModal([&](QWidget* w) {
        shown = Child<QLineEdit>(w, "edtDIR")->text();
        Child<QLineEdit>(w, "edtDIR")->setText(QStringLiteral("/tmp/never.db"));
        Child<QPushButton>(w, "btnCancel")->click();
    });
    std::u16string param;
    EXPECT_FALSE(m_db->EditConnectionParams(nullptr, param, true));
    EXPECT_EQ(m_db->GetLastErrorCode(), 0); // cancelling is no error
    EXPECT_TRUE(param.empty());
    EXPECT_TRUE(shown.endsWith(QDir::toNativeSeparators(QStringLiteral("/Ewidar/ewidar.db"))))
        << shown.toStdString();
}

TEST_F(ConnectionDialogTest, RefusesAMissingFileWhenCreatingIsNotAllowedAndAFolderAlways) {
    FILE_DATABASE_ONLY();
    const QString missing = m_dir + QStringLiteral("/brak.db");
    QStringList errors;
    bool newVisible = true;
    TestSupport::WhenModal([&](QWidget* w) {
        newVisible = Child<QPushButton>(w, "btnNew")->isVisible();
        auto* edit = Child<QLineEdit>(w, "edtDIR");
        auto* ok = Child<QPushButton>(w, "btnOK");
        auto* error = Child<QLabel>(w, "lblError");
        for (const QString& text : {missing, m_dir, QStringLiteral("   ")}) {
            edit->setText(text);
            ok->click();
            errors << (error->isVisible() && w->isVisible() ? error->text() : QString());
        }
        edit->setText(m_path); // an existing file is accepted
        ok->click();
    });
    std::u16string param = U(Param(missing));
    ASSERT_TRUE(m_db->EditConnectionParams(nullptr, param, false));
    EXPECT_FALSE(newVisible);
    EXPECT_EQ(errors,
              (QStringList{QStringLiteral("Plik bazy danych nie istnieje."),
                           QStringLiteral("Wskazana ścieżka jest folderem, a nie plikiem bazy danych."),
                           QStringLiteral("Wskaż plik bazy danych.")}));
    EXPECT_EQ(Q(param), Param(m_path));
}

TEST_F(ConnectionDialogTest, FileDialogsChooseAnExistingFileOrNameANewOne) {
    FILE_DATABASE_ONLY();
    const QString existing = m_dir + QStringLiteral("/istniejąca.db");
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QString chosen, named, openName, newName;
    // The connection dialog first, then each file dialog it opens: every helper waits for
    // its own window, so none acts on the dialog that is still shown under a file dialog.
    TestSupport::WhenModal(TestSupport::WindowNamed(QStringLiteral("TSqlConnectionDialog")), [&](QWidget* w) {
        auto* edit = Child<QLineEdit>(w, "edtDIR");
        AnswerFileDialog(QStringLiteral("dlgOpenDataBase"), existing, &openName);
        Child<QPushButton>(w, "btnBrowse")->click(); // returns when the file dialog closed
        chosen = edit->text();
        AnswerFileDialog(QStringLiteral("dlgNewDataBase"), m_dir + QStringLiteral("/nowa"), &newName);
        Child<QPushButton>(w, "btnNew")->click();
        named = edit->text();
        Child<QPushButton>(w, "btnOK")->click();
    });
    std::u16string param = U(Param(m_path));
    ASSERT_TRUE(m_db->EditConnectionParams(nullptr, param, true));
    EXPECT_EQ(openName, QStringLiteral("dlgOpenDataBase"));
    EXPECT_EQ(newName, QStringLiteral("dlgNewDataBase"));
    EXPECT_EQ(QDir::fromNativeSeparators(chosen), existing);
    EXPECT_EQ(QDir::fromNativeSeparators(named), m_dir + QStringLiteral("/nowa.db")); // the default suffix
    EXPECT_EQ(Q(param), Param(m_dir + QStringLiteral("/nowa.db")));
}

TEST_F(ConnectionDialogTest, OutsideTheWidgetsThreadNoDialogIsShown) {
    FILE_DATABASE_ONLY();
    bool result = true;
    std::u16string param = U(Param(m_path));
    std::thread worker([&] { result = m_db->EditConnectionParams(nullptr, param, true); });
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(m_db->GetLastErrorCode(), 1007);
    EXPECT_EQ(Q(param), Param(m_path));
}
