#pragma once
// Copying what the register holds into the subject editor: its field panels (found by
// name), its kind switch, and new activity-address, activity and branch records of the
// edited subject, stored in one transaction of the editor's root object.

#include "uEwidarQuorDBIntf.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class TBaseFrame;
class TPanel;

namespace RegonCopy {

// Which result table the copy is taken from, in the order they are tested.
enum TRegonCase {
    rcNone,
    rcOsobaFizyczna,
    rcJednostkaLokalnaOsobyFizycznej,
    rcJednostkaPrawna,
    rcJednostkaLokalnaJednostkiPrawnej
};

struct TInput {
    TRegonCase Case = rcNone;
    // A register value by identifier (empty when the register gave none).
    std::function<QString(const QString& ID)> Value;
    // Rows of the activity grid (code, name, predominance mark); empty when the grid is hidden.
    QList<QStringList> Activities;
    // Rows of the local-units grid (eight cells); empty when the grid is hidden.
    QList<QStringList> LocalUnits;
    // Bank account numbers to add as account sections (those the subject has already, compared
    // by their digits, are skipped).
    QStringList Accounts;
    // Whether an empty value leaves its panel as it is (and is not asked about) instead of
    // emptying it: a source that names only some of the fields. Such a source also does not ask
    // about a panel that already holds the very value it brings.
    bool KeepWhereEmpty = false;
};

enum TResult {
    crDeclined, // the operator refused to overwrite: nothing changed, the window stays
    crCopied,   // done (also when there was nothing to store): the window closes
    crFailed,   // a record was refused: its code shown, nothing stored, the window stays
};

// The editor panel that receives each register identifier in a case (panel name, identifier).
QList<std::pair<QString, QString>> PanelMap(TRegonCase Case);
// The kind switch selected by a case ("RadioButton5" natural person, "RadioButton6" legal person).
QString KindButton(TRegonCase Case);

// Whether a row of the local-units grid is a unit that has ended: removed from the register or
// its activity ended (a date in its eighth cell). Such a unit is not copied as a branch.
bool UnitEnded(const QStringList& Row);

// The editor's own panel of that name (one bound to the subject and posted with it; panels of
// embedded frames with the same name are not).
TPanel* EditorPanel(TBaseFrame* Editor, const QString& Name);

// The digits of an account number, for comparing numbers written with or without "PL" and blanks.
QString AccountKey(const QString& Number);

// The whole copy; Owner is the window over which questions and errors are shown.
TResult Copy(TBaseFrame* Editor, const TInput& Input, QWidget* Owner);

// Whether Collection already holds a record equal to Record: the same number of fields and,
// for each field of Record, the same text under the same symbol.
bool HasEqual(IEwidarSectionCollection* Collection, IEwidarRecord* Record);

} // namespace RegonCopy
