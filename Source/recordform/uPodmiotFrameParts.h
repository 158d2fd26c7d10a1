#pragma once
// The declaration tables of the subject editor: tabs, sections, field rows, lists,
// linked sections and viewers, and the dictionary picks of its address and country panels.

#include "uEwidarComponents_Panel.h"
#include "uLinkedRecordSection.h"

#include <QList>
#include <QString>

#include <utility>

class TPodmiotFrame;

namespace PodmiotParts {

// One field panel: component name, descriptor, rule and the related panels of the rule.
// A row without a descriptor is a plain group panel; Group names the group a row goes into.
struct TFieldRow {
    const char* Name = nullptr;
    const TInternalFieldRecord* Field = nullptr;
    TOnValidate Rule = nullptr;
    QList<const char*> Refs;
    const char* Group = nullptr;
    bool HideCaption = false;
};

struct TSectionDeclaration {
    const char* Name;
    QString Title;
    QList<TFieldRow> Panels;
    // Titled with this field's caption instead of Title.
    const TInternalFieldRecord* TitleField = nullptr;
};

struct TTabItem {
    enum TKind { kSection, kList, kLinked, kViewer, kDynamic } Kind;
    const char* Name = nullptr;
    QString Title;
    int Section = -1;      // index into the sections (kSection)
    bool Registry = false; // a registry list keeps its filter strip
};

struct TTabDescription {
    const char* Name;
    QString Caption;
    QList<TTabItem> Items;
};

struct TLinkedDeclaration {
    const char* Name;
    QString Title;
    // The section keeps this title even when its frame has one of its own.
    bool OwnTitle;
    TLinkedRecordSection::TLink Link;
};

struct TViewerDeclaration {
    const char* Name;
    QString Title;
    const TGUID* Kind;
};

int TabCount();
const TTabDescription& TabAt(int Index);
const TSectionDeclaration& SectionAt(int Index);
// The three person-type switches above the tabs.
const QList<TFieldRow>& Switches();
// Every field row of every section, the switches included.
QList<const TFieldRow*> AllRows();
const QList<TLinkedDeclaration>& LinkedSections();
const QList<TViewerDeclaration>& Viewers();
// List frame name -> the viewer bound to its selected row.
QList<std::pair<const char*, const char*>> ViewerLists();
// The eight account-number fields of office 1 or 2.
QList<const TInternalFieldRecord*> AccountFields(int Office);
// Panels of the accounting-documentation address with a dictionary icon, and its hint.
QList<std::pair<const char*, QString>> AddressIcons();
void AddressIconClick(TPodmiotFrame* Frame, TPanel* Sender);
void CountryCodeIconClick(TPodmiotFrame* Frame, TPanel* Sender);

} // namespace PodmiotParts
