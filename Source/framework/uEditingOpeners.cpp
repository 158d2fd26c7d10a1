#include "uEditingOpeners.h"

namespace EditingOpeners {

namespace {

TCollectionChooser& Chooser() {
    static TCollectionChooser chooser;
    return chooser;
}

} // namespace

void SetCollectionChooser(TCollectionChooser Value) {
    Chooser() = std::move(Value);
}

TIntfPtr<IEwidarRecord> ChooseFromCollection(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                                             IEwidarCollection* Collection, TKontekst Kontekst,
                                             IEwidarRecord* Current) {
    // A copy: the chooser may install another one while it runs.
    const TCollectionChooser chooser = Chooser();
    return chooser ? chooser(OwnerForm, DataBase, Collection, Kontekst, Current) : TIntfPtr<IEwidarRecord>();
}

} // namespace EditingOpeners
