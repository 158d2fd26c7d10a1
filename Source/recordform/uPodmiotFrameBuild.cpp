// The subject editor's layout, declared as tables: tabs, each a list of sections of
// field panels, list frames, linked-record sections and viewers, built by one builder.

#include "TCheckBox.h"
#include "TEdit.h"
#include "TRadioButton.h"
#include "uCollectionBaseFrame.h"
#include "uDataValidate.h"
#include "uDictionaryModule.h"
#include "uDynamicFieldsFrame.h"
#include "uEditingPictures.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarRecordForm.h"
#include "uLinkedRecordSection.h"
#include "uPodmiotFrame.h"
#include "uPodmiotFrameParts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace uDataValidate;
using namespace PodmiotParts;

namespace {

// Group panels whose buttons carry fixed component names: symbol -> name prefix and first number.
struct TGroupNames {
    const TInternalFieldRecord* Field;
    const char* Prefix;
    int First;
};
const TGroupNames kGroupNames[] = {
    {&cDanePodmiotuOsobaFizycznaOsobaPrawna, "RadioButton", 5},
    {&cDanePodmiotuCzyProwadzilaDzialalnoscSamodzielnie, "RadioButton", 7},
    {&cDanePodmiotuCzyPrzedsiebiorca, "RadioButton", 9},
    {&cDanePodmiotuTypNaczelnika1, "CheckBox", 1},
    {&cDanePodmiotuTypNaczelnika2, "CheckBox", 3},
    {&cDanePodmiotuFormaOplacaniaPodatku, "CheckBox", 5},
};

// A tab's scrolling page. A scroll area never asks for more than 36 x 24 lines; until the
// page is first shown, and while that much fits in the page control's minimum size (which
// then decides the window's first size either way), it asks for just that, so the texts
// of every tab are not laid out to size a window that shows one of them.
class TTabPage : public QScrollArea {
public:
    explicit TTabPage(QTabWidget* Tabs) : QScrollArea(Tabs), m_tabs(Tabs) {}

    QSize sizeHint() const override {
        if (m_shown)
            return QScrollArea::sizeHint();
        const int line = fontMetrics().height();
        const QSize most(36 * line, 24 * line);
        // Room for the tab bar and the frames around the pages.
        constexpr int kFrames = 16;
        if (most.width() + kFrames > m_tabs->minimumWidth() ||
            most.height() + m_tabs->tabBar()->sizeHint().height() + kFrames > m_tabs->minimumHeight())
            return QScrollArea::sizeHint();
        return most;
    }

protected:
    void showEvent(QShowEvent* Event) override {
        m_shown = true;
        QScrollArea::showEvent(Event);
    }

private:
    QTabWidget* m_tabs;
    bool m_shown = false;
};

QWidget* Page(QTabWidget* Tabs, const char* Name, const QString& Caption) {
    auto* scroll = new TTabPage(Tabs);
    scroll->setObjectName(QLatin1String(Name));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* inner = new QWidget(scroll);
    auto* layout = new QVBoxLayout(inner);
    layout->setContentsMargins(4, 4, 4, 4);
    scroll->setWidget(inner);
    Tabs->addTab(scroll, Caption);
    return inner;
}

// A frame standing in for a section kind whose own frame is not available: its title only.
class TTitledFrame : public TBaseFrame {
public:
    TTitledFrame(QWidget* Parent, const QString& Title) : TBaseFrame(Parent) { CreateContainer(Title); }
};

TBaseFrame* EmbeddedFrame(QWidget* Parent, const TGUID& Kind, const QString& Title) {
    TBaseFrame* frame = CreateRecordFrameOfKind(Kind, Parent);
    if (!frame)
        frame = new TTitledFrame(Parent, Title);
    return frame;
}

} // namespace

TPodmiotFrame::TPodmiotFrame(QWidget* Parent) : TBaseFrame(Parent) {
    setObjectName(QStringLiteral("PodmiotFrame"));
    // Not the base's two-tab page control: the user-defined fields live on the last tab.
    SetInternalPageControlEnabled(false);
    BuildLayout();
    BuildLists();
    BuildLinkedSections();
    BuildViewers();
    BuildAccountPanels();
    AttachValidation();
    WireRules();
    WireAddressIcons();
    // The posting button runs the duplicate test and the active flag before the base post.
    disconnect(btnPost, nullptr, this, nullptr);
    connect(btnPost, &QToolButton::clicked, this, [this] { PostPodmiot(); });
}

TPodmiotFrame::~TPodmiotFrame() {
    // The page control outlives this part of the frame: a page change on its way out must
    // not build anything.
    disconnect(PageControl1, nullptr, this, nullptr);
}

void TPodmiotFrame::BuildLayout() {
    TPanel* container = CreateContainer(QString());
    auto* top = container->Layout();

    Panel15 = new QWidget(container);
    Panel15->setObjectName(QStringLiteral("Panel15"));
    auto* switches = new QHBoxLayout(Panel15);
    switches->setContentsMargins(0, 0, 0, 0);
    for (const TFieldRow& row : Switches())
        switches->addWidget(BuildFieldPanel(Panel15, row));
    top->addWidget(Panel15);

    Panel4 = new QWidget(container);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    auto* strip = new QHBoxLayout(Panel4);
    strip->setContentsMargins(4, 2, 4, 2);
    chkAktywny = new TCheckBox(QStringLiteral("Pracownik aktywny"), Panel4);
    chkAktywny->setObjectName(QStringLiteral("chkAktywny"));
    strip->addWidget(chkAktywny);
    Panel4->hide();
    top->addWidget(Panel4);

    // The description reuses a label and an edit placed beforehand.
    auto* opis = new TPanel(container);
    opis->setObjectName(QStringLiteral("pnlOpisPodmiotu"));
    auto* opisLabel = new QLabel(QStringLiteral("Opis :"), opis);
    opis->Layout()->addWidget(opisLabel);
    opis->SetUseExistingControl(true);
    opis->SetField(cDanePodmiotuOpis);
    m_panels.insert("pnlOpisPodmiotu", opis);
    top->addWidget(opis);

    PageControl1 = new QTabWidget(container);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // Wide enough for the longest field captions; the pages scroll.
    PageControl1->setMinimumSize(860, 560);
    for (int i = 0; i < TabCount(); ++i)
        BuildTab(i);
    top->addWidget(PageControl1, 1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TPodmiotFrame::PageControl1Change);

    // The user-defined fields move onto the last tab, filling it.
    TPanel* dynamic = Panel("pnlDynamicField");
    dynamic->Layout()->addWidget(DynamicFieldsFrame1);

    btnSearchRregonGUS = new QToolButton(pnlButtons);
    btnSearchRregonGUS->setObjectName(QStringLiteral("btnSearchRregonGUS"));
    btnSearchRregonGUS->setText(QStringLiteral("Wyszukaj dane w bazie GUS"));
    btnSearchRregonGUS->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btnSearchRregonGUS->setAutoRaise(true);
    // On the strip's row, left of the stretch that pushes "Zapisz" and "Anuluj" right.
    if (auto* row = btnPost->parentWidget()
                        ->layout()
                        ->itemAt(btnPost->parentWidget()->layout()->count() - 1)
                        ->layout())
        static_cast<QBoxLayout*>(row)->insertWidget(0, btnSearchRregonGUS);
    connect(btnSearchRregonGUS, &QToolButton::clicked, this, &TPodmiotFrame::btnSearchRregonGUSClick);

    // The VAT white list, right of the register button.
    auto whiteListButton = [&](const char* Name, const QString& Caption, PodmiotOpeners::TWhiteListAction Action,
                               int Position) {
        auto* button = new QToolButton(pnlButtons);
        button->setObjectName(QLatin1String(Name));
        button->setText(Caption);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAutoRaise(true);
        if (auto* row = qobject_cast<QBoxLayout*>(btnSearchRregonGUS->parentWidget()->layout()->itemAt(
                btnSearchRregonGUS->parentWidget()->layout()->count() - 1)->layout()))
            row->insertWidget(Position, button);
        connect(button, &QToolButton::clicked, this,
                [this, Action] { PodmiotOpeners::ShowWhiteList(window(), this, Action); });
        return button;
    };
    btnWykazVAT = whiteListButton("btnWykazVAT", QStringLiteral("Sprawdź w wykazie VAT"),
                                  PodmiotOpeners::TWhiteListAction::waCheck, 1);
    btnWypelnijZWykazuVAT = whiteListButton("btnWypelnijZWykazuVAT", QStringLiteral("Wypełnij z wykazu VAT"),
                                            PodmiotOpeners::TWhiteListAction::waFill, 2);
    btnWeryfikacje = whiteListButton("btnWeryfikacje", QStringLiteral("Weryfikacje"),
                                     PodmiotOpeners::TWhiteListAction::waChecks, 3);
}

QWidget* TPodmiotFrame::BuildTab(int Index) {
    const TTabDescription& tab = TabAt(Index);
    QWidget* page = Page(PageControl1, tab.Name, tab.Caption);
    m_tabs.insert(tab.Name, PageControl1->widget(PageControl1->count() - 1));
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    for (const TTabItem& item : tab.Items) {
        switch (item.Kind) {
        case TTabItem::kSection:
            layout->addWidget(BuildSection(page, item.Section));
            break;
        case TTabItem::kList:
        case TTabItem::kLinked:
        case TTabItem::kViewer: {
            // A slot the lists, sections and viewers are placed into once built.
            auto* slot = new QWidget(page);
            slot->setObjectName(QLatin1String(item.Name) + QLatin1String("Slot"));
            auto* l = new QVBoxLayout(slot);
            l->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(slot, item.Kind == TTabItem::kList ? 1 : 0);
            m_slots.insert(item.Name, slot);
            if (item.Kind != TTabItem::kLinked)
                m_partTabs.insert(item.Name, Index);
            break;
        }
        case TTabItem::kDynamic: {
            auto* panel = new TPanel(page);
            panel->setObjectName(QLatin1String(item.Name));
            m_panels.insert(item.Name, panel);
            layout->addWidget(panel, 1);
            break;
        }
        }
    }
    layout->addStretch(0);
    return page;
}

TPanel* TPodmiotFrame::BuildSection(QWidget* Page, int Index) {
    const TSectionDeclaration& section = SectionAt(Index);
    auto* panel = new TPanel(Page);
    panel->setObjectName(QLatin1String(section.Name));
    m_panels.insert(section.Name, panel);
    panel->Header()->SetCaptionLabel(section.TitleField ? section.TitleField->Description : section.Title);
    for (const TFieldRow& row : section.Panels) {
        if (!row.Field) { // a plain group of the next rows (the REGON strip, the account panels)
            auto* group = new TPanel(panel);
            group->setObjectName(QLatin1String(row.Name));
            m_panels.insert(row.Name, group);
            panel->Layout()->addWidget(group);
            continue;
        }
        TPanel* owner = panel;
        if (row.Group)
            owner = Panel(row.Group);
        owner->Layout()->addWidget(BuildFieldPanel(owner, row));
    }
    return panel;
}

TPanel* TPodmiotFrame::BuildFieldPanel(QWidget* Owner, const TFieldRow& Row) {
    auto* panel = new TPanel(Owner);
    panel->setObjectName(QLatin1String(Row.Name));
    m_panels.insert(Row.Name, panel);
    const TInternalFieldRecord& field = *Row.Field;
    if (field.FieldType == ctRadioGroup || field.FieldType == ctCheckBoxGroup) {
        const TGroupNames* names = nullptr;
        for (const TGroupNames& g : kGroupNames)
            if (g.Field == &field)
                names = &g;
        const QStringList options = GroupFieldOptions(field.Symbol);
        for (int i = 0; i < options.size(); ++i) {
            QWidget* button = nullptr;
            if (field.FieldType == ctRadioGroup)
                button = new TRadioButton(options[i], panel);
            else
                button = new TCheckBox(options[i], panel);
            if (names) {
                const int number = names->First + i;
                button->setObjectName(QLatin1String(names->Prefix) + QString::number(number));
                if (field.FieldType == ctRadioGroup)
                    RadioButton[size_t(number)] = static_cast<TRadioButton*>(button);
                else
                    CheckBox[size_t(number)] = static_cast<TCheckBox*>(button);
            }
            panel->Layout()->addWidget(button);
        }
    }
    panel->SetField(field);
    if (Row.HideCaption)
        panel->SetCaptionVisible(false);
    return panel;
}

void TPodmiotFrame::BuildLists() {
    m_tabPartsBuilt.fill(false, TabCount());
    m_tabPartsBuilt[0] = true; // the tab shown when the window opens
    for (int i = 0; i < TabCount(); ++i)
        for (const TTabItem& item : TabAt(i).Items)
            if (item.Kind == TTabItem::kList) {
                if (i == 0)
                    CreateList(item);
                else
                    FocusMark(m_slots.value(item.Name));
            }
}

TCollectionBaseFrame* TPodmiotFrame::CreateList(const TTabItem& Item) {
    QWidget* slot = m_slots.value(Item.Name);
    auto* list = new TCollectionBaseFrame(slot);
    list->setObjectName(QLatin1String(Item.Name));
    list->Panel1->Header()->SetCaptionLabel(Item.Title);
    if (!Item.Registry)
        list->pnlFilter->hide();
    slot->layout()->addWidget(list);
    m_lists.insert(Item.Name, list);
    for (auto [name, kontekst, type] : {std::tuple{"PracownicyCollection", kPracownik, ptPracownik},
                                        std::tuple{"KontrahenciCollection", kKontrahent, ptKontrahent}}) {
        if (qstrcmp(Item.Name, name) != 0)
            continue;
        list->btnAdd->setText(QStringLiteral("Nowy"));
        list->SetKontekst(kontekst);
        list->btnList->show();
        list->SetPodatnik(true);
        list->SetOnListClick([this, type] { PersonListClick(type); });
    }
    if (qstrcmp(Item.Name, "RodzajeDzialalnosciCollection") == 0) {
        disconnect(list->btnDelete, &QToolButton::clicked, list, nullptr);
        connect(list->btnDelete, &QToolButton::clicked, this,
                &TPodmiotFrame::RodzajeDzialalnosciCollectionbtnDeleteClick);
    }
    return list;
}

void TPodmiotFrame::BuildTabParts(int Index) {
    if (Index < 0 || Index >= m_tabPartsBuilt.size() || m_tabPartsBuilt[Index])
        return;
    m_tabPartsBuilt[Index] = true;
    QList<QWidget*> built;
    for (const TTabItem& item : TabAt(Index).Items)
        if (item.Kind == TTabItem::kList)
            built.append(CreateList(item));
    for (const TViewerDeclaration& d : Viewers())
        if (m_partTabs.value(d.Name, -1) == Index)
            built.append(CreateViewer(d));
    for (QWidget* part : built) {
        TakeFocusPlace(part);
        if (part->parentWidget()->isVisible())
            part->show();
    }
    CompleteTabParts(Index, built);
}

void TPodmiotFrame::CompleteTabParts(int Index, const QList<QWidget*>& Built) {
    for (auto [list, viewer] : ViewerLists()) {
        if (m_partTabs.value(list, -1) != Index)
            continue;
        TCollectionBaseFrame* frame = m_lists.value(list);
        const char* v = viewer;
        auto show = [this, v, frame] {
            ShowViewer(v, frame);
        };
        connect(frame->DrawGrid1, &QAbstractItemView::clicked, this, show);
        if (QItemSelectionModel* selection = frame->DrawGrid1->selectionModel())
            connect(selection, &QItemSelectionModel::currentRowChanged, this, show);
    }
    // What the frame was given before the parts existed: its context, then its record.
    for (QWidget* part : Built) {
        if (auto* list = qobject_cast<TCollectionBaseFrame*>(part)) {
            if (m_kontekstSet)
                ApplyKontekstTo(list);
            if (FPodmiot)
                BindList(list);
        } else if (m_kontekstSet && part->objectName() == QLatin1String("DaneReprezentantaFrame1") &&
                   Kontekst() != kPracownik) {
            static_cast<TBaseFrame*>(part)->SetKontekst(Kontekst());
        }
    }
}

void TPodmiotFrame::EnsurePartOf(const char* Name) const {
    // Asked for by name before its tab was shown: built now, so that every caller finds it.
    if (const int tab = m_partTabs.value(QByteArray(Name), -1); tab >= 0)
        const_cast<TPodmiotFrame*>(this)->BuildTabParts(tab);
}

QWidget* TPodmiotFrame::FocusMark(QWidget* Slot) {
    auto* mark = new QWidget(Slot);
    mark->setFocusPolicy(Qt::TabFocus); // a hidden widget is passed over by Tab
    mark->hide();
    m_focusMarks.insert(Slot, mark);
    return mark;
}

void TPodmiotFrame::TakeFocusPlace(QWidget* Part) {
    QWidget* mark = m_focusMarks.take(Part->parentWidget());
    if (!mark)
        return;
    // Widgets made later join the end of the window's focus chain; the part's ones move,
    // in their own order, to where its mark stands, as if it had been built with the window.
    QList<QWidget*> block;
    QWidget* start = window();
    QWidget* w = start;
    do {
        if ((w == Part || Part->isAncestorOf(w)) && w->focusPolicy() != Qt::NoFocus)
            block.append(w);
        w = w->nextInFocusChain();
    } while (w && w != start);
    QWidget* previous = mark;
    for (QWidget* widget : block) {
        QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    delete mark;
}

void TPodmiotFrame::BuildLinkedSections() {
    for (const TLinkedDeclaration& d : LinkedSections()) {
        QWidget* slot = m_slots.value(d.Name);
        TBaseFrame* frame = EmbeddedFrame(slot, *d.Link.Kind, d.Title);
        frame->setObjectName(QLatin1String(d.Name));
        if (d.OwnTitle && frame->pnlContainer)
            frame->pnlContainer->Header()->SetCaptionLabel(d.Title);
        slot->layout()->addWidget(frame);
        TLinkedRecordSection::TLink link = d.Link;
        if (!link.Registry) // the main activity kind is chosen among the subject's own
            link.Registry = [this](IEwidarRegistries*) -> TIntfPtr<IEwidarCollection> {
                return FPodmiot ? TIntfPtr<IEwidarCollection>(FPodmiot->GetRodzajeDzialalnosci()) : nullptr;
            };
        m_linked.insert(d.Name, new TLinkedRecordSection(this, frame, std::move(link)));
    }
}

void TPodmiotFrame::BuildViewers() {
    for (const TViewerDeclaration& d : Viewers()) {
        // A preview area below its list, kept visible while nothing is selected.
        m_slots.value(d.Name)->setMinimumHeight(160);
        if (m_partTabs.value(d.Name, -1) == 0)
            CreateViewer(d);
        else
            FocusMark(m_slots.value(d.Name));
    }
    CompleteTabParts(0, {});
}

TBaseFrame* TPodmiotFrame::CreateViewer(const TViewerDeclaration& Declaration) {
    QWidget* slot = m_slots.value(Declaration.Name);
    TBaseFrame* frame = EmbeddedFrame(slot, *Declaration.Kind, Declaration.Title);
    frame->setObjectName(QLatin1String(Declaration.Name));
    frame->SetViewOnly(true);
    if (TPanel* container = frame->pnlContainer) {
        container->Header()->SetCaptionLabel(Declaration.Title);
        container->Header()->SetEditLabel(QString());
        container->Header()->SetDeleteLabel(QString());
        container->Header()->SetCaptionPicture(QPixmap());
    }
    slot->layout()->addWidget(frame);
    m_viewers.insert(Declaration.Name, frame);
    return frame;
}

void TPodmiotFrame::BuildAccountPanels() {
    // The eight account numbers of each office: hidden panels bound like any other field,
    // so a dictionary pick or the accounts window counts as a change, is posted with the
    // record and is dropped by cancelling.
    for (int office = 1; office <= 2; ++office) {
        TPanel* owner = Panel(office == 1 ? "pnlKontoUS1" : "pnlKontoUS2");
        for (const TInternalFieldRecord* field : AccountFields(office)) {
            auto* panel = new TPanel(owner);
            panel->setObjectName(QLatin1String("pnl") + field->Symbol.mid(1));
            panel->SetField(*field);
            panel->hide();
            m_accountPanels[size_t(office - 1)].append(panel);
        }
        auto* button = new QToolButton(owner);
        button->setObjectName(office == 1 ? QStringLiteral("btnRachunkiBankoweUS1")
                                          : QStringLiteral("btnRachunkiBankoweUS2"));
        button->setText(QStringLiteral("Pokaż numery rachunków"));
        owner->Layout()->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, office] { btnRachunkiBankoweUSClick(office); });
        owner->Header()->SetCaptionLabel(QString());
    }
}

void TPodmiotFrame::AttachValidation() {
    // Once every panel exists: a rule may relate to a panel built after its own.
    for (const TFieldRow* row : AllRows()) {
        if (!row->Rule)
            continue;
        TPanel* panel = Panel(row->Name);
        QList<TPanel*> refs;
        for (const char* name : row->Refs)
            refs.append(Panel(name));
        panel->SetValidateRefCompoments(refs);
        panel->SetOnValidate(row->Rule);
    }
}

void TPodmiotFrame::WireAddressIcons() {
    TDictionaryModule* module = PodmiotOpeners::DictionaryModule();
    if (TPanel* province = Panel("pnlWojewodztwo"); province && module && province->ComboBox()) {
        province->ComboBox()->clear();
        province->ComboBox()->addItems(ParseCommaText(module->WojewodztwaCommaText()));
    }
    for (auto [name, hint] : AddressIcons()) {
        TPanel* panel = Panel(name);
        panel->SetIcon(EditingPictures::TableIcon());
        panel->SetIconHint(hint);
        panel->SetOnIconClick([this](TPanel* Sender) { AddressIconClick(this, Sender); });
    }
    for (const char* name : {"pnlKrajNadaniaNumeru", "pnlKrajNadaniaNumeru2"}) {
        TPanel* panel = Panel(name);
        panel->SetIcon(EditingPictures::TableIcon());
        panel->SetIconHint(QStringLiteral("Tablica krajów"));
        panel->SetOnIconClick([this](TPanel* Sender) { CountryCodeIconClick(this, Sender); });
    }
    ShapeCountryCodes();
}

void TPodmiotFrame::ShapeCountryCodes() {
    for (const char* name : {"pnlKrajNadaniaNumeru", "pnlKrajNadaniaNumeru2"}) {
        TPanel* panel = Panel(name);
        if (!panel->Edit() || panel->Edit()->validator())
            continue;
        // Typing stops at two letters; a longer stored value is shown whole (and marked
        // by its rule), never cut on loading, which would post it cut unasked.
        panel->Edit()->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral(".{0,2}")), panel->Edit()));
        panel->Edit()->setMaximumWidth(40);
        panel->Layout()->setAlignment(panel->Edit(), Qt::AlignLeft);
    }
}
