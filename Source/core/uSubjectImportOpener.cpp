#include "uSubjectImportOpener.h"

namespace SubjectImportOpener {

namespace {

TOpener& Installed() {
    static TOpener opener;
    return opener;
}

} // namespace

void SetOpener(TOpener Opener) {
    Installed() = std::move(Opener);
}

bool ImportSubjects(QWidget* OwnerForm, IEwidarDataBase* DataBase, int Registry) {
    const TOpener opener = Installed();
    return opener ? opener(OwnerForm, DataBase, Registry) : false;
}

} // namespace SubjectImportOpener
