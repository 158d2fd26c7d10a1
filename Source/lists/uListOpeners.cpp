#include "uListOpeners.h"

#include "uOpener.h"

namespace ListOpeners {

namespace {

struct TOpeners {
    TOpener<bool(QWidget*, IEwidarRecord*, TKontekst, IEwidarDataBase*)> RecordForm;
    TOpener<TIntfPtr<IPodmiot>(QWidget*, IEwidarDataBase*, TPodmiotType)> Taxpayer;
    TOpener<void(QWidget*, IEwidarRecord*, IEwidarDataBase*)> Relations;
    TOpener<bool(QWidget*, IEwidarRecord*, IEwidarRecord*, IEwidarDataBase*)> Merge;
    TOpener<void(QWidget*, IEwidarDataBase*)> Duplicates;
    TOpener<void(QWidget*, IEwidarDataBase*, IPodmioty*, IPodatnicy*, IPodmiot*)> SubjectInfo;
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
    Openers().RecordForm.Set(std::move(Opener));
}
void SetTaxpayerChooser(TTaxpayerChooser Chooser) {
    Openers().Taxpayer.Set(std::move(Chooser));
}
void SetRelationsOpener(TRelationsOpener Opener) {
    Openers().Relations.Set(std::move(Opener));
}
void SetMergeOpener(TMergeOpener Opener) {
    Openers().Merge.Set(std::move(Opener));
}
void SetDuplicatesOpener(TDuplicatesOpener Opener) {
    Openers().Duplicates.Set(std::move(Opener));
}
void SetSubjectInfoOpener(TSubjectInfoOpener Opener) {
    Openers().SubjectInfo.Set(std::move(Opener));
}

bool OpenRecordForm(QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst,
                    IEwidarDataBase* DataBase) {
    return Openers().RecordForm.Call(OwnerForm, Record, Kontekst, DataBase); // false while none is installed
}

TIntfPtr<IPodmiot> ChooseTaxpayer(QWidget* OwnerForm, IEwidarDataBase* DataBase, TPodmiotType Type) {
    return Openers().Taxpayer.Call(OwnerForm, DataBase, Type);
}

void ShowRelations(QWidget* OwnerForm, IEwidarRecord* Record, IEwidarDataBase* DataBase) {
    Openers().Relations.Call(OwnerForm, Record, DataBase);
}

bool MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second,
                  IEwidarDataBase* DataBase) {
    return Openers().Merge.Call(OwnerForm, First, Second, DataBase); // false while none is installed
}

void FindDuplicates(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    Openers().Duplicates.Call(OwnerForm, DataBase);
}

void ShowSubjectInfo(QWidget* OwnerForm, IEwidarDataBase* DataBase, IPodmioty* Podmioty,
                     IPodatnicy* Podatnicy, IPodmiot* Podmiot) {
    Openers().SubjectInfo.Call(OwnerForm, DataBase, Podmioty, Podatnicy, Podmiot);
}

} // namespace ListOpeners
