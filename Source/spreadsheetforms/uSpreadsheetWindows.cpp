#include "uSpreadsheetWindows.h"

#include "uExportForm.h"
#include "uImportSubjectsForm.h"
#include "uListExport.h"
#include "uSubjectImportOpener.h"

namespace {

// Registries in switch order: all subjects (taken as taxpayers), taxpayers, employees, contractors.
bool ImportSubjects(QWidget* OwnerForm, IEwidarDataBase* DataBase, int Registry) {
    const SubjectImporter::TTarget target = Registry == 2   ? SubjectImporter::tgPracownicy
                                            : Registry == 3 ? SubjectImporter::tgKontrahenci
                                                            : SubjectImporter::tgPodatnicy;
    return ShowImportSubjectsForm(OwnerForm, DataBase, target);
}

} // namespace

void InstallSpreadsheetWindows() {
    ListExport::SetExportOpener(&ShowExportForm);
    SubjectImportOpener::SetOpener(&ImportSubjects);
}

void ResetSpreadsheetWindows() {
    ListExport::SetExportOpener({});
    SubjectImportOpener::SetOpener({});
}
