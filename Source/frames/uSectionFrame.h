#pragma once
// The common pattern of the section frames: a titled container with field panels
// bound by symbol, a few validation rules and the contexts the frame refuses, all
// declared in one table per frame and built by TSectionFrame.
//
//   const TSectionDescription& Description() {
//       static const TSectionDescription d{"TDaneNFZFrame", QStringLiteral("Dane NFZ"),
//           {{"pnlKod", &cDaneNFZKod}, {"pnlNazwa", &cDaneNFZNazwa}}, {kKontrahent}};
//       return d;
//   }
//
// A panel row may name a rule and the related panels the rule reads (by panel name,
// in the rule's order), a dictionary action, an editor shape, a bevel above it, and
// whether it shares the row of the panel before it. Group fields get one check box or
// radio button per option of the field table. Frames with behaviour of their own
// derive from TSectionFrame and find their panels with Panel("pnlNazwa").

#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"

#include <QHash>
#include <QList>
#include <QString>

class QHBoxLayout;

// How a panel's editor deviates from the full-width default (kept across rebuilds).
enum TPanelShape {
    psNormal,
    // A two-letter country code: an edit 40 pixels wide that takes at most 2 typed characters.
    psCountryCode,
    // A combo box that offers its items only (no free text).
    psDropDownList,
};

// The dictionary action of a panel. Results go to the frame's panels by name:
// KrajNazwa to pnlKraj, KrajKod to pnlKodKraju, Wojewodztwo to pnlWojewodztwo,
// Powiat, Gmina, Miejscowosc and Ulica likewise; empty results change nothing.
enum TFrameDictionary {
    fdNone,
    // Countries, with the panel's value; KrajKod becomes the panel's value.
    fdKrajKod,
    // Countries, with the panel's value; KrajNazwa becomes the panel's value.
    fdKrajNazwa,
    // Countries, with pnlKraj's value.
    fdKraj,
    // Counties, with province and county.
    fdPowiat,
    // Communes, with province, county and commune.
    fdGmina,
    // Localities, with province, county, commune and locality.
    fdMiejscowosc,
    // Not an action: the combo's items are the provinces of the dictionary.
    fdWojewodztwa,
};

// One field panel of a frame: its component name, field descriptor, rule and the
// names of the rule's related panels, and its layout extras.
struct TSectionPanel {
    const char* Name = nullptr;
    const TInternalFieldRecord* Field = nullptr;
    TOnValidate Rule = nullptr;
    QList<const char*> Refs;
    TFrameDictionary Dictionary = fdNone;
    TPanelShape Shape = psNormal;
    // A separating bevel above the panel, named so (Bevel1 ...).
    const char* BevelBefore = nullptr;
    // Placed beside the panel before it instead of below it.
    bool SameRow = false;
};

struct TSectionDescription {
    // Class name, as the refused-context error names it.
    const char* ClassName = nullptr;
    QString Title;
    QList<TSectionPanel> Panels;
    // Contexts in which the frame cannot be used.
    QList<TKontekst> Refuses;
    // Width of the container of the fields.
    int Width = 380;
};

// Places one check box (below each other) or radio button (side by side) per option
// of a group field in the panel; called before the panel's editor is built.
void AddGroupOptions(TPanel* Panel, const TInternalFieldRecord& Field);

// The eleven address panels (pnlKraj ... pnlPoczta) bound to the fields of one symbol
// prefix ("cDaneAdresowe"), with their dictionary actions.
QList<TSectionPanel> AddressPanels(const QString& Prefix);

class TSectionFrame : public TBaseFrame {
    Q_OBJECT
public:
    TSectionFrame(const TSectionDescription& Description, QWidget* Parent = nullptr);

    const TSectionDescription& Description() const { return FDescription; }
    // The field panel of the declaration with that name; nullptr for none.
    TPanel* Panel(const char* Name) const;
    // The bevel of the declaration with that name; nullptr for none.
    QWidget* Bevel(const char* Name) const;

    // Refuses the contexts of the declaration (EFrameContextError).
    void SetKontekst(TKontekst Value) override;
    // Rebuilding the editors keeps the declared shapes.
    void SetReadOnly(bool Value) override;
    // A drop-down list offers a stored value that is none of its items as an item of its
    // own, so the value is shown and posted back unchanged instead of being lost.
    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;

    // Adds a widget (an embedded frame, a list, a table) below the declared panels.
    void AddBelowPanels(QWidget* Widget, int Stretch = 0);

    // Runs a panel's dictionary action as its icon does.
    void RunDictionary(TPanel* Sender, TFrameDictionary Dictionary);

private:
    void BuildPanel(const TSectionPanel& Row, QHBoxLayout*& Line);
    void ApplyShapes();

    const TSectionDescription& FDescription;
    QHash<QString, TPanel*> m_panels;
};
