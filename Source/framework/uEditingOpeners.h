#pragma once
// How the record frames reach windows of other units: the record selection window
// that picks a record of a registry for a linked-record section. The window's unit
// installs its function; until then nothing is chosen.

#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"

#include <functional>

class QWidget;

namespace EditingOpeners {

// Lets the user pick a record of Collection (Current preselected); empty when nothing was picked.
using TCollectionChooser = std::function<TIntfPtr<IEwidarRecord>(
    QWidget* OwnerForm, IEwidarDataBase* DataBase, IEwidarCollection* Collection, TKontekst Kontekst,
    IEwidarRecord* Current)>;

// Installing an empty function puts the do-nothing default back.
void SetCollectionChooser(TCollectionChooser Chooser);
TIntfPtr<IEwidarRecord> ChooseFromCollection(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                                             IEwidarCollection* Collection, TKontekst Kontekst,
                                             IEwidarRecord* Current);

} // namespace EditingOpeners
