#include "uWhiteListFlatImport.h"

#include "uMessagePresenter.h"
#include "uWhiteListFlatFile.h"

#include <QFileDialog>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace WhiteListFlatImport {

namespace {

const QString kTitle = QStringLiteral("Plik płaski wykazu VAT");

TFileChooser& Chooser() {
    static TFileChooser chooser;
    return chooser;
}

QString ChooseFile(QWidget* Owner) {
    if (const TFileChooser chooser = Chooser())
        return chooser(Owner);
    return QFileDialog::getOpenFileName(Owner, QStringLiteral("Plik płaski wykazu podatników VAT"),
                                        QString(),
                                        QStringLiteral("Plik płaski (*.7z *.json);;Wszystkie pliki (*)"));
}

} // namespace

void SetFileChooser(TFileChooser NewChooser) {
    Chooser() = std::move(NewChooser);
}

bool Run(QWidget* Owner) {
    const QString source = ChooseFile(Owner);
    if (source.isEmpty())
        return false;
    // The import runs in a thread of its own; the window shows how much of the file is read
    // and "Przerwij" asks the import to stop at its next piece of the file.
    std::atomic<qint64> done{0}, total{1};
    std::atomic<bool> stop{false};
    WhiteListFlatFile::TSummary summary;
    QString error;
    bool imported = false;
    QProgressDialog progress(QStringLiteral("Import pliku płaskiego wykazu podatników VAT…"),
                             QStringLiteral("Przerwij"), 0, 1000, Owner);
    progress.setObjectName(QStringLiteral("WhiteListFlatImportProgress"));
    progress.setWindowTitle(kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &progress, [&] {
        const qint64 t = std::max<qint64>(total, 1);
        progress.setValue(int(std::min<qint64>(done, t) * 1000 / t));
    });
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { stop = true; });
    std::unique_ptr<QThread> thread(QThread::create([&] {
        imported = WhiteListFlatFile::Import(source, WhiteListFlatFile::StorePath(), summary, error,
                                             [&](qint64 Done, qint64 Total) {
                                                 done = Done;
                                                 total = Total;
                                                 return !stop;
                                             });
    }));
    QObject::connect(thread.get(), &QThread::finished, &progress, &QProgressDialog::accept);
    tick.start(100);
    thread->start();
    progress.exec();
    // Cancelled: the window is gone, the import ends at its next piece of the file.
    thread->wait();
    tick.stop();
    if (!imported) {
        ShowMessageBox(Owner, kTitle, error, TMsgDlgType::mtWarning);
        return false;
    }
    const QString day = summary.Date.toString(Qt::ISODate);
    ShowMessageBox(Owner, kTitle,
                   QStringLiteral("Zaimportowano plik płaski wykazu podatników VAT z dnia %1:\n"
                                  "skróty podatników czynnych: %2\nskróty podatników zwolnionych: %3\n"
                                  "maski rachunków wirtualnych: %4\n\n"
                                  "Plik odpowiada tylko na dzień %1; gdy usługa wykazu nie odpowiada albo "
                                  "wyczerpano jej limit, rachunek z tego dnia jest sprawdzany w tym pliku.")
                       .arg(day)
                       .arg(summary.Active)
                       .arg(summary.Exempt)
                       .arg(summary.Masks),
                   TMsgDlgType::mtInformation);
    return true;
}

} // namespace WhiteListFlatImport
