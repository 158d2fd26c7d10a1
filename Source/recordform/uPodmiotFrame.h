#pragma once
// The subject editor: one frame for a taxpayer, an employee, a contractor or a bare
// subject. Nine data tabs and three registry tabs of field panels, embedded lists,
// linked-record sections (main activity kind, ZUS, statistical office, NFZ, district
// court, accounting office) and viewers of the selected company share, bank account
// and representative. What is shown follows the context and the person type.
//
// The layout is declared in uPodmiotFrameBuild.cpp, the person-type, employee and
// tax-office rules and the context table live in uPodmiotFrameRules.cpp, binding,
// posting and the handlers in uPodmiotFrame.cpp.

#include "uBaseFrame.h"
#include "uListOpeners.h"

#include <QHash>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QTabWidget;
class QToolButton;
class TCheckBox;
class TCollectionBaseFrame;
class TDictionaryModule;
class TLinkedRecordSection;
class TRadioButton;
class TPodmiotFrame;
namespace PodmiotParts {
struct TFieldRow;
struct TTabItem;
struct TViewerDeclaration;
} // namespace PodmiotParts

namespace PodmiotOpeners {
// The eight account numbers of one tax office, in the order PIT, PIT-STD, CIT, VAT,
// VAT-UE1, VIU-D/VIN-D(MOSS), doch., in.d.
using TAccounts = std::array<QString, 8>;
// Shows the account numbers window; true (with Accounts changed) when it was accepted.
using TAccountsOpener = std::function<bool(QWidget* OwnerForm, TAccounts& Accounts)>;
// Opens the register search window for the frame (which it fills).
using TRegonSearchOpener = std::function<void(QWidget* OwnerForm, TPodmiotFrame* Frame)>;
// The VAT white list actions of the editor's button strip.
enum class TWhiteListAction { waCheck, waFill, waChecks };
using TWhiteListOpener = std::function<void(QWidget* OwnerForm, TPodmiotFrame* Frame, TWhiteListAction Action)>;
// Installing an empty function puts the default back (nothing shown, counted as cancelled).
void SetAccountsOpener(TAccountsOpener Opener);
void SetWhiteListOpener(TWhiteListOpener Opener);
void ShowWhiteList(QWidget* OwnerForm, TPodmiotFrame* Frame, TWhiteListAction Action);
void SetRegonSearchOpener(TRegonSearchOpener Opener);
bool ShowAccounts(QWidget* OwnerForm, TAccounts& Accounts);
void ShowRegonSearch(QWidget* OwnerForm, TPodmiotFrame* Frame);
// The dictionary module the frame picks from: the core's; tests may set their own (nullptr: the core's).
void SetDictionaryModule(TDictionaryModule* Module);
TDictionaryModule* DictionaryModule();
} // namespace PodmiotOpeners

class TPodmiotFrame : public TBaseFrame {
    Q_OBJECT
public:
    explicit TPodmiotFrame(QWidget* Parent = nullptr);
    ~TPodmiotFrame() override;

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetKontekst(TKontekst Value) override;
    void SetSize() override;
    bool GetModified() override;
    void AcceptChanges() override;
    void CancelChanges() override;
    void SetReadOnly(bool Value) override;

    // The duplicate test, the active flag, then the base post.
    bool PostPodmiot();

    // Handlers.
    void btnSearchRregonGUSClick();
    void btnRachunkiBankoweUSClick(int Office);
    void PageControl1Change(int Index);
    void PersonListClick(TPodmiotType Type);
    void RodzajeDzialalnosciCollectionbtnDeleteClick();
    void NazwaUSIconClick(int Office);

    // Rules (uPodmiotFrameRules.cpp).
    void EmployeeCheck();
    void PersonRulesA();
    void PersonRulesB();
    void PersonRulesC();
    // Changed: the box whose change started the rule (nullptr for a panel change).
    void TaxOfficeRules(int Office, TCheckBox* Changed);

    // Components by name (objectName): field and section panels, lists, linked sections.
    // A list or viewer of a tab not shown yet is built (and bound) when first asked for.
    TPanel* Panel(const char* Name) const;
    TCollectionBaseFrame* List(const char* Name) const;
    TLinkedRecordSection* Linked(const char* Name) const;
    TBaseFrame* Viewer(const char* Name) const;
    QWidget* Tab(const char* Name) const;
    // The hidden panels holding the account numbers of office 1 or 2.
    const QList<TPanel*>& AccountPanels(int Office) const { return m_accountPanels[Office - 1]; }

    QToolButton* btnSearchRregonGUS = nullptr;
    QToolButton* btnWykazVAT = nullptr;         // "Sprawdź w wykazie VAT"
    QToolButton* btnWypelnijZWykazuVAT = nullptr; // "Wypełnij z wykazu VAT"
    QToolButton* btnWeryfikacje = nullptr;        // the stored register checks of the subject
    QWidget* Panel15 = nullptr;
    QWidget* Panel4 = nullptr;
    TCheckBox* chkAktywny = nullptr;
    QTabWidget* PageControl1 = nullptr;
    std::array<TRadioButton*, 11> RadioButton{}; // RadioButton[5] ... RadioButton[10]
    std::array<TCheckBox*, 10> CheckBox{};       // CheckBox[1] ... CheckBox[9]

    TIntfPtr<IPodmiot> FPodmiot;
    TIntfPtr<IPodatnik> FPodatnik;
    TIntfPtr<IPracownik> FPracownik;
    TIntfPtr<IKontrahent> FKontrahent;
    bool FTempAktywny = false;

private:
    // uPodmiotFrameBuild.cpp
    void BuildLayout();
    QWidget* BuildTab(int Index);
    TPanel* BuildSection(QWidget* Page, int Index);
    TPanel* BuildFieldPanel(QWidget* Owner, const PodmiotParts::TFieldRow& Row);
    void BuildLists();
    void BuildLinkedSections();
    void BuildViewers();
    // The lists and viewers of a tab are built with the window for the first tab, for
    // any other when the tab is first shown or one of them is asked for: until then a
    // hidden mark holds their place in the focus chain.
    TCollectionBaseFrame* CreateList(const PodmiotParts::TTabItem& Item);
    TBaseFrame* CreateViewer(const PodmiotParts::TViewerDeclaration& Declaration);
    void BuildTabParts(int Index);
    // Wires a tab's lists to their viewers and gives them the context and record given before.
    void CompleteTabParts(int Index, const QList<QWidget*>& Built);
    void EnsurePartOf(const char* Name) const;
    QWidget* FocusMark(QWidget* Slot);
    void TakeFocusPlace(QWidget* Part);
    void BuildAccountPanels();
    // Gives every declared panel its validation rule and the rule's related panels.
    void AttachValidation();
    void WireRules();
    void WireAddressIcons();
    // The country-code edits: two letters typed at most, a narrow edit (again after
    // the editors were rebuilt for read-only or back).
    void ShapeCountryCodes();
    // uPodmiotFrameRules.cpp
    void ApplyKontekst(TKontekst Value);
    void ApplyKontekstTo(TCollectionBaseFrame* List);
    // The error of the natural-person switches when "osoba fizyczna" is not checked.
    void NaturalPersonError();
    void ShowActiveStrip(bool Show);
    // uPodmiotFrame.cpp
    void BindLists();
    void BindList(TCollectionBaseFrame* List);
    void BindPeople();
    bool AskDuplicate();
    bool ActiveStripShown() const;
    void ShowViewer(const char* Viewer, TCollectionBaseFrame* List);

    QHash<QByteArray, TPanel*> m_panels;
    QHash<QByteArray, TCollectionBaseFrame*> m_lists;
    QHash<QByteArray, TLinkedRecordSection*> m_linked;
    QHash<QByteArray, TBaseFrame*> m_viewers;
    QHash<QByteArray, QWidget*> m_tabs;
    // The slots lists, linked sections and viewers sit in; the tab of each list and viewer.
    QHash<QByteArray, QWidget*> m_slots;
    QHash<QByteArray, int> m_partTabs;
    QHash<QWidget*, QWidget*> m_focusMarks; // slot -> its mark until the part is built
    QList<bool> m_tabPartsBuilt;
    bool m_kontekstSet = false;
    std::array<QList<TPanel*>, 2> m_accountPanels;
};
