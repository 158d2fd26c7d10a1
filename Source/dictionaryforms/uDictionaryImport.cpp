#include "uDictionaryImport.h"

#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"
#include "uMessagePresenter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>

#include <memory>

namespace DictionaryImport {

namespace {

TFileChooser& Chooser() {
    static TFileChooser chooser;
    return chooser;
}

QString& Folder() {
    static QString folder;
    return folder;
}

QStringList ChooseFiles(QWidget* Owner, const QString& Title, const QString& Filter, bool Many) {
    if (const TFileChooser chooser = Chooser())
        return chooser(Owner, Title, Filter, Many);
    if (Many)
        return QFileDialog::getOpenFileNames(Owner, Title, QString(), Filter);
    const QString file = QFileDialog::getOpenFileName(Owner, Title, QString(), Filter);
    return file.isEmpty() ? QStringList() : QStringList{file};
}

void Tell(QWidget* Owner, const QString& Text, TMsgDlgType Icon) {
    ShowMessageBox(Owner, QStringLiteral("Słowniki"), Text, Icon);
}

// Runs Work in a thread of its own under a progress window (a running bar: the files are
// read in one pass); the window closes when the work is over.
void RunWithProgress(QWidget* Owner, const QString& Label, std::function<void()> Work) {
    QProgressDialog progress(Label, QString(), 0, 0, Owner);
    progress.setObjectName(QStringLiteral("DictionaryImportProgress"));
    progress.setWindowTitle(QStringLiteral("Słowniki"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    std::unique_ptr<QThread> thread(QThread::create(std::move(Work)));
    QObject::connect(thread.get(), &QThread::finished, &progress, &QProgressDialog::accept);
    thread->start();
    progress.exec();
    thread->wait();
}

QString DoneText() {
    const QString folder = Folder().isEmpty() ? KwadrelDataFolder() : Folder();
    return QStringLiteral("Zainstalowano w „%1”").arg(QDir::toNativeSeparators(folder));
}

bool Report(QWidget* Owner, bool Installed, const QString& Done, const QString& Error) {
    if (Installed)
        Tell(Owner, Done, TMsgDlgType::mtInformation);
    else
        Tell(Owner, Error + u'\n' + cNothingInstalledText, TMsgDlgType::mtWarning);
    return Installed;
}

} // namespace

void SetFileChooser(TFileChooser NewChooser) {
    Chooser() = std::move(NewChooser);
}

void SetTargetFolder(const QString& NewFolder) {
    Folder() = NewFolder;
}

bool ImportTeryt(QWidget* Owner) {
    const QStringList files =
        ChooseFiles(Owner, QStringLiteral("Wybierz pliki TERYT: TERC i SIMC"),
                    QStringLiteral("Pliki TERYT (*.zip *.csv);;Wszystkie pliki (*)"), true);
    if (files.isEmpty())
        return false;
    QString terc, simc;
    for (const QString& f : files) {
        const QString name = QFileInfo(f).fileName();
        if (name.contains(QLatin1String("TERC"), Qt::CaseInsensitive))
            terc = terc.isEmpty() ? f : QStringLiteral("?");
        else if (name.contains(QLatin1String("SIMC"), Qt::CaseInsensitive))
            simc = simc.isEmpty() ? f : QStringLiteral("?");
    }
    if (files.size() != 2 || terc.isEmpty() || simc.isEmpty() || terc == u'?' || simc == u'?') {
        Tell(Owner,
             QStringLiteral(
                 "Wybierz dwa pliki: TERC i SIMC (w wersji urzędowej, .zip pobrane z serwisu TERYT "
                 "Głównego Urzędu Statystycznego albo rozpakowane .csv). Niczego nie zainstalowano."),
             TMsgDlgType::mtWarning);
        return false;
    }
    TTerytStats stats;
    QString error;
    bool installed = false;
    RunWithProgress(Owner, QStringLiteral("Sprawdzanie i instalowanie danych TERYT…"),
                    [&] { installed = InstallTeryt(terc, simc, Folder(), false, stats, error); });
    return Report(Owner, installed, TerytInstalledText(DoneText(), stats), error);
}

bool ImportUrzedy(QWidget* Owner) {
    const QStringList files =
        ChooseFiles(Owner, QStringLiteral("Wybierz listę urzędów skarbowych"),
                    QStringLiteral("Lista urzędów (*.csv *.zip);;Wszystkie pliki (*)"), false);
    if (files.isEmpty())
        return false;
    int count = 0;
    QString error;
    bool installed = false;
    RunWithProgress(Owner, QStringLiteral("Sprawdzanie i instalowanie listy urzędów skarbowych…"),
                    [&] { installed = InstallUrzedy(files.first(), Folder(), false, count, error); });
    return Report(Owner, installed, UrzedyInstalledText(DoneText(), count), error);
}

} // namespace DictionaryImport
