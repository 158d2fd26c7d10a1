#include "uRegistryReportBox.h"

#include "uRegistryReport.h"

#include <QMessageBox>

void ShowRegistryReportBox(const QString& Caption, const QString& Text) {
    QMessageBox box(QMessageBox::Information, Caption, Text, QMessageBox::Ok);
    // Modality first: setting it on a message box resets the window flags.
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

void InstallRegistryReportBox() {
    Registry::SetReportPresenter(&ShowRegistryReportBox);
}

void RemoveRegistryReportBox() {
    Registry::ShowPendingReport();
    Registry::SetReportPresenter({});
}
