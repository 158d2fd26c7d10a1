#pragma once
// Fixture of the subject editor tests: the editing fixture's database and messages,
// a window hosting the subject frame bound to a record in a context, and helpers to
// create subjects, employees and registry records.

#include "EditingFixture.h"
#include "uDictionaryModule.h"
#include "uPodmiotFrame.h"

#include <memory>

class TCheckBox;
class THostWindow;

// Deletes the host window (defined where the window is).
struct THostDeleter {
    void operator()(THostWindow* Host) const;
};

class PodmiotTest : public EditingTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the frame on the record in the context (hosted in a shown window).
    TPodmiotFrame* Open(const TIntfPtr<IEwidarRecord>& Record, TKontekst Kontekst);
    // A posted taxpayer with the given values (symbol -> value).
    TIntfPtr<IEwidarRecord> NewTaxpayer(const QList<std::pair<QString, QString>>& Values);
    // A posted employee of the taxpayer, as read back through the taxpayer's list.
    TIntfPtr<IEwidarRecord> NewEmployee(IEwidarRecord* Taxpayer, const QString& Surname);
    // The stored value of a subject read through a fresh object.
    QString StoredValue(int32_t ID, const QString& Symbol);
    TIntfPtr<IEwidarRecord> FindSubject(int32_t ID);
    static void Click(TCheckBox* Box);
    static void Check(TPodmiotFrame* Frame, int Radio);

    std::unique_ptr<THostWindow, THostDeleter> Host;
    TDictionaryModule Dictionary;
};
