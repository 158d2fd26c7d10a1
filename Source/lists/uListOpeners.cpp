#include "uListOpeners.h"

namespace ListOpeners {

namespace {

struct TOpeners {
    TRecordFormOpener RecordForm;
    TTaxpayerChooser Taxpayer;
    TRelationsOpener Relations;
    TMergeOpener Merge;
    TSubjectInfoOpener SubjectInfo;
};

TOpeners& Openers() {
    static TOpeners openers;
    return openers;
}

} // namespace

void ResetOpeners() {
    Openers() = TOpeners();
}

void SetRecordFormOpener(TRecordFormOpener Opener) {
    Openers().RecordForm = std::move(Opener);
}
void SetTaxpayerChooser(TTaxpayerChooser Chooser) {
    Openers().Taxpayer = std::move(Chooser);
}
void SetRelationsOpener(TRelationsOpener Opener) {
    Openers().Relations = std::move(Opener);
}
void SetMergeOpener(TMergeOpener Opener) {
    Openers().Merge = std::move(Opener);
}
void SetSubjectInfoOpener(TSubjectInfoOpener Opener) {
    Openers().SubjectInfo = std::move(Opener);
}

bool OpenRecordForm(QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst,
                    IEwidarDataBase* DataBase) {
    // A copy: the opener may install another one while it runs.
    const TRecordFormOpener opener = Openers().RecordForm;
    return opener ? opener(OwnerForm, Record, Kontekst, DataBase) : false;
}

TIntfPtr<IPodmiot> ChooseTaxpayer(QWidget* OwnerForm, IEwidarDataBase* DataBase, TPodmiotType Type) {
    const TTaxpayerChooser chooser = Openers().Taxpayer;
    return chooser ? chooser(OwnerForm, DataBase, Type) : TIntfPtr<IPodmiot>();
}

void ShowRelations(QWidget* OwnerForm, IEwidarRecord* Record, IEwidarDataBase* DataBase) {
    if (const TRelationsOpener opener = Openers().Relations)
        opener(OwnerForm, Record, DataBase);
}

void MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second,
                  IEwidarDataBase* DataBase) {
    if (const TMergeOpener opener = Openers().Merge)
        opener(OwnerForm, First, Second, DataBase);
}

void ShowSubjectInfo(QWidget* OwnerForm, IEwidarDataBase* DataBase, IPodmioty* Podmioty,
                     IPodatnicy* Podatnicy, IPodmiot* Podmiot) {
    if (const TSubjectInfoOpener opener = Openers().SubjectInfo)
        opener(OwnerForm, DataBase, Podmioty, Podatnicy, Podmiot);
}

} // namespace ListOpeners
