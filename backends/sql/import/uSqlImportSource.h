#pragma once
// Reads everything another database holds through the data-access contract
// alone, so that the source of an import may be any backend: the records of
// every registry with their sections, values and links, the people of every
// taxpayer, the user-defined field definitions and the word lists. The contract
// cannot list the symbols that have word lists, so lists are read for every
// fixed and user-defined symbol of a kind and every symbol found in its records.

#include "uEwidarQuorDBIntf.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace SqlImport {

// Symbols met in the records of each kind (position 1-21).
using TSymbolsOfKinds = QHash<int, QSet<QString>>;

struct TValueCopy {
    QString symbol;
    QString value;
    QString caption;
    QString type;
};

struct TRecordCopy {
    int kind = 0;     // position 1-21
    qint64 id = 0;    // identifier in the source
    qint64 owner = 0; // the source's owner (subject or company) of a section; 0 for none
    bool podatnik = false;
    bool pracownik = false;
    bool kontrahent = false;
    std::vector<TValueCopy> values;
};

// Receives what the source holds. An owner comes before the records it owns; a
// link or a person may name a record that comes later.
class TImportSink {
public:
    virtual void Record(const TRecordCopy& R) = 0;
    virtual void Link(qint64 Source, int Role, qint64 Target) = 0;
    virtual void Person(qint64 Podatnik, int Role, qint64 Osoba, bool Aktywny) = 0;
    virtual void Definition(int Kind, const QString& Symbol, const QString& Description,
                            const QString& Type) = 0;
    virtual void Words(int Kind, const QString& Symbol, const QStringList& Words) = 0;
    // Done of Total top-level records have been read; may throw to stop the reading.
    virtual void Advance(int Done, int Total) = 0;

protected:
    ~TImportSink() = default;
};

// Walks the source; throws TSqlFailure 203 when the source reports an error or
// gives something the contract rules out (a record of no kind, one never stored).
void ReadSource(IEwidarDataBase* Source, TImportSink& Sink);
// The user-defined field definitions and the word lists alone, through the contract:
// lists are read for the symbols of Symbols besides the fixed and defined ones.
void ReadDictionaries(IEwidarDataBase* Source, TImportSink& Sink, const TSymbolsOfKinds& Symbols);

} // namespace SqlImport
