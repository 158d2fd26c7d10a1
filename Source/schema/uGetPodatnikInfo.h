#pragma once
// The record structure tree of one subject and the subject information report built
// from it. The tree gathers the subject's fields, sections, linked records, companies
// and user-defined fields as named nodes whose values are already display texts; the
// report turns the tree into text lines and, by default, into a small HTML page laid
// out in columns. Building only reads the data-access interfaces; nothing is written.

#include "uEwidarQuorDBIntf.h"
#include "uEwidarQuorDBSymbole.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Node kinds (TTreeItem::Typ).
enum : int {
    tiRoot = 0,       // the subject
    tiRecord = 1,     // "Item" of a collection, or a linked record ("Set...")
    tiField = 2,      // a field of the table; Name is its symbol
    tiUserField = 3,  // a user-defined field; Name is the definition's symbol
    tiCollection = 4, // "Col..."; one "Item" per element
};

// One node of the tree; owns its children.
class TTreeItem {
public:
    // Field nodes (kinds 2 and 3) get a description ending in ":" (an empty one becomes ":").
    TTreeItem(const QString& pName, int pTyp, const QString& pDescription, const QString& pValue);
    virtual ~TTreeItem();
    TTreeItem(const TTreeItem&) = delete;
    TTreeItem& operator=(const TTreeItem&) = delete;

    // Appends a new plain node as the last child and returns it.
    TTreeItem* Add(const QString& pName, int pTyp, const QString& pDescription, const QString& pValue);
    // Removes and frees the child at the index; an index out of range does nothing.
    void Delete(int pIndex);
    // The child at the index; nullptr outside 0..Count-1.
    TTreeItem* GetItem(int pIndex) const;
    TTreeItem* Item(int pIndex) const { return GetItem(pIndex); }
    // The first child whose Name equals the symbol exactly; nullptr when none does.
    TTreeItem* ItemBySymbol(const QString& pSymbol) const;
    // Prunes the subtree: children without children and with an empty value go,
    // deepest first; this node itself stays.
    void RemoveEmpty();

    int Typ() const { return FTyp; }
    const QString& Name() const { return FName; }
    const QString& Description() const { return FDescription; }
    const QString& Value() const { return FValue; }
    int Count() const { return static_cast<int>(FList.size()); }

    // Appends a node made elsewhere (a TEwidarTreeItem field node) and returns it.
    TTreeItem* Append(std::unique_ptr<TTreeItem> pItem);

private:
    std::vector<std::unique_ptr<TTreeItem>> FList;
    int FTyp;
    QString FName;
    QString FDescription;
    QString FValue;
};

// The root and the field nodes made by AddProp.
class TEwidarTreeItem : public TTreeItem {
public:
    using TTreeItem::TTreeItem;
    // A root node (kind 0, no name).
    TEwidarTreeItem() : TTreeItem(QString(), tiRoot, QString(), QString()) {}

    // Appends a field node for the descriptor; a blank date ("H" first) is stored empty.
    TEwidarTreeItem* AddProp(const TInternalFieldRecord& pSymbol, const QString& pValue) {
        return AddProp(*this, pSymbol, pValue);
    }
    // The same on any node (the builder adds fields to "Item" and linked-record nodes too).
    static TEwidarTreeItem* AddProp(TTreeItem& pNode, const TInternalFieldRecord& pSymbol,
                                    const QString& pValue);
};

// Descriptors of the three counts; they exist only in the tree and the report.
inline const TInternalFieldRecord cReprezentanciCount{QStringLiteral("cReprezentanciCount"),
                                                      QStringLiteral("Liczba reprezentantów:"), ctEdit};
inline const TInternalFieldRecord cKontrahenciCount{QStringLiteral("cKontrahenciCount"),
                                                    QStringLiteral("Liczba kontrahentów:"), ctEdit};
inline const TInternalFieldRecord cPracownicyCount{QStringLiteral("cPracownicyCount"),
                                                   QStringLiteral("Liczba pracowników:"), ctEdit};

namespace PodatnikInfoValues {

// "tak" for a non-empty value, empty otherwise.
QString YesText(const QString& Value);
// The word of a radio field's index; empty for -1, an index outside the list, or not a number.
QString OptionWord(const QString& Symbol, const QString& Value);
// The caption of an identity-document kind symbol; empty for any other text.
QString DocumentKindText(const QString& Value);
// The words of the flags set in a check-box group value ("1,0,1"), joined by " / ".
QString FlagListText(const QString& Symbol, const QString& Value);
// True for the fields that hold a bank account number.
bool IsAccountSymbol(const QString& Symbol);
// An account number in groups of four (a domestic one: two check digits, then fours),
// joined by no-break spaces so that a line never breaks inside it; any other text as given.
QString AccountText(const QString& Value);
// A stored date (yyyy-mm-dd) as the windows show it (dd.mm.yyyy); any other text as given.
QString DateText(const QString& Value);
// The display text of a field of the table: the conversion its kind or symbol calls for.
QString DisplayText(const TInternalFieldRecord& Field, const QString& Value);

} // namespace PodatnikInfoValues

// Fills the empty root with the subject's tree. Without a taxpayers list the root's
// registries give all taxpayers. Absent collections, links and providers read as empty.
void BuildTree(TTreeItem& Root, IEwidarDataBase* DataBase, IPodatnicy* Taxpayers, IPodmiot* Subject);

// The report lines of a tree, in order. A separator line is exactly ReportSeparator; a
// line may hold line breaks ("\n") where a memo value has them.
QStringList RenderReportLines(const TTreeItem& Root);
// The lines joined into one text, each followed by CR LF (line breaks inside values too).
QString RenderReport(const TTreeItem& Root);
// The page of report lines laid out in Columns columns (below 1 counts as 1), titled
// Title when one is given. Every text is HTML-escaped; only separator lines become
// rules; memo line breaks become <BR>. A column never starts inside a group of field
// lines (an address, an account), only before a heading, a title or a separator.
QString BuildHtmlPage(const QStringList& Lines, int Columns, const QString& Title = QString());
// The same for a report text (split at its line breaks).
QString BuildHtmlPage(const QString& Text, int Columns);

inline const QString ReportSeparator = QStringLiteral("<HR>");

// The subject's name for headings and file names: its firm's name, else surname and first
// name; empty when it has none.
QString SubjectName(const TTreeItem& Root);
// "Informacja o podmiocie: <name>", the page's title.
QString ReportTitle(const TTreeItem& Root);

// The report of a subject: the tree (pruned when Prune), rendered, as a page when Html,
// else as plain text whose separator lines are empty. The subjects list is not read.
QString GetPodatnikInfo(IEwidarDataBase* DataBase, IPodmioty* Subjects, IPodatnicy* Taxpayers,
                        IPodmiot* Subject, bool Prune, bool Html, int Columns);
