#pragma once
// Writes the ready rows of a preview as new subjects through the data contract, the way
// the record window creates them: a new record of the chosen registry, its fields set
// and posted, then its first address and bank account as new section records.
//
// All or nothing: the whole run is one transaction of the root object (StartTransaction
// ... Commit). A refused write makes the backend roll the transaction back; a cancel
// deletes, still inside the transaction, every subject this run posted (their sections
// go with them) and then commits, so the database holds what it held before.

#include "uEwidarQuorDBIntf.h"
#include "uImportRows.h"

#include <functional>

namespace SubjectImporter {

// The registry the subjects are added to.
enum TTarget { tgPodatnicy, tgPracownicy, tgKontrahenci };

struct TResult {
    bool Ok = false;
    bool Cancelled = false;
    int Imported = 0;
    int32_t ErrorCode = 0; // of the object that refused, for the numbered message
    QString Error;         // Polish, what was being done
};

// Called after each row with the rows done; returning false cancels the run.
using TProgress = std::function<bool(int Done, int Total)>;

TResult Import(IEwidarDataBase* DataBase, TTarget Target, const QList<ImportRows::TRow>& Rows,
               const TProgress& Progress = {});

// Asks the database whether a stored subject carries an identifier. Uses one new,
// never posted subject record (HasDuplicate excludes the record it is asked of), deleted
// again when the probe goes.
class TDuplicateProbe {
public:
    explicit TDuplicateProbe(IEwidarDataBase* DataBase);
    ~TDuplicateProbe();
    TDuplicateProbe(const TDuplicateProbe&) = delete;
    TDuplicateProbe& operator=(const TDuplicateProbe&) = delete;

    bool operator()(const QString& Pesel, const QString& Nip, const QString& Regon);
    // False when no probe record could be made (no database, a refusal).
    bool Valid() const { return static_cast<bool>(m_podmiot); }

private:
    TIntfPtr<IEwidarRecord> m_record;
    TIntfPtr<IPodmiot> m_podmiot;
};

} // namespace SubjectImporter
