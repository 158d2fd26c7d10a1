#pragma once
// How the list frame reaches windows that live in other units: the record
// window, the taxpayer chooser, the relations window, the merge window, the
// duplicates list and the subject information report. Each is a replaceable function that the unit of
// the window installs; until one is installed the call does nothing visible
// (the record window counts as cancelled, the chooser chooses nothing).

#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"

#include <functional>

class QWidget;

// Whose taxpayer the chooser asks for.
enum TPodmiotType { ptPracownik, ptKontrahent };

// A window that chooses a record with a list frame inside it: a double click
// on a data row of the list accepts the window and closes it.
class ISelectionWindow {
public:
    virtual ~ISelectionWindow() = default;
    virtual void AcceptAndClose() = 0;
};

namespace ListOpeners {

// Opens the record window modally; true when it ended by posting the record.
using TRecordFormOpener = std::function<bool(QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst,
                                             IEwidarDataBase* DataBase)>;
// Asks for the subject that will be the taxpayer of a new employee or contractor; empty when none was chosen.
using TTaxpayerChooser =
    std::function<TIntfPtr<IPodmiot>(QWidget* OwnerForm, IEwidarDataBase* DataBase, TPodmiotType Type)>;
// Shows what refers to a record (a window that frees itself).
using TRelationsOpener =
    std::function<void(QWidget* OwnerForm, IEwidarRecord* Record, IEwidarDataBase* DataBase)>;
// Compares two records field by field and may merge them; true when they were merged.
using TMergeOpener = std::function<bool(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second,
                                        IEwidarDataBase* DataBase)>;
// Lists the subjects that look stored twice.
using TDuplicatesOpener = std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;
// Shows the information report of a subject; either list may be empty.
using TSubjectInfoOpener = std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                                              IPodmioty* Podmioty, IPodatnicy* Podatnicy, IPodmiot* Podmiot)>;

// Installing an empty function puts the do-nothing default back.
void SetRecordFormOpener(TRecordFormOpener Opener);
// Puts every opener back to its do-nothing default.
void ResetOpeners();
void SetTaxpayerChooser(TTaxpayerChooser Chooser);
void SetRelationsOpener(TRelationsOpener Opener);
void SetMergeOpener(TMergeOpener Opener);
void SetSubjectInfoOpener(TSubjectInfoOpener Opener);
void SetDuplicatesOpener(TDuplicatesOpener Opener);

bool OpenRecordForm(QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst, IEwidarDataBase* DataBase);
TIntfPtr<IPodmiot> ChooseTaxpayer(QWidget* OwnerForm, IEwidarDataBase* DataBase, TPodmiotType Type);
void ShowRelations(QWidget* OwnerForm, IEwidarRecord* Record, IEwidarDataBase* DataBase);
bool MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second, IEwidarDataBase* DataBase);
void FindDuplicates(QWidget* OwnerForm, IEwidarDataBase* DataBase);
void ShowSubjectInfo(QWidget* OwnerForm, IEwidarDataBase* DataBase, IPodmioty* Podmioty,
                     IPodatnicy* Podatnicy, IPodmiot* Podmiot);

} // namespace ListOpeners
