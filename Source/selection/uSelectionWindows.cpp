#include "uSelectionWindows.h"

#include "uListOpeners.h"
#include "uDuplicatesForm.h"
#include "uPowiazaniaForm.h"
#include "uRecordMergeForm.h"
#include "uSetPodatnikKontekst.h"

void InstallSelectionWindows() {
    ListOpeners::SetTaxpayerChooser([](QWidget* OwnerForm, IEwidarDataBase* DataBase, TPodmiotType Type) {
        return ::ChooseTaxpayer(OwnerForm, DataBase, Type);
    });
    ListOpeners::SetRelationsOpener([](QWidget* OwnerForm, IEwidarRecord* Record, IEwidarDataBase* DataBase) {
        ::ShowRelations(OwnerForm, DataBase, Record);
    });
    ListOpeners::SetMergeOpener(
        [](QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second, IEwidarDataBase* DataBase) {
            return ::MergeRecords(OwnerForm, First, Second, DataBase);
        });
    ListOpeners::SetDuplicatesOpener(
        [](QWidget* OwnerForm, IEwidarDataBase* DataBase) { ::ShowDuplicates(OwnerForm, DataBase); });
}
