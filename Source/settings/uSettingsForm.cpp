#include "uSettingsForm.h"

#include "uCore.h"
#include "uDBParamText.h"
#include "uDataBaseModule.h"
#include "uMessagePresenter.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegonServiceDialog.h"
#include "uSettingsModule.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace uSettingsForm;

namespace {

enum TNodeRole { nrSymbol = Qt::UserRole, nrParam, nrCurrent };

const QString kOtherParam = QStringLiteral("Inny parametr...");

QPushButton* Button(QWidget* Parent, const char* Name, const QString& Caption) {
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(QLatin1String(Name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

int uSettingsForm::AskQuestion(QWidget* Owner, const QString& Title, const QString& Text, bool OkCancel) {
    TMessageRequest request;
    request.Title = Title;
    request.Text = Text;
    request.Icon = TMsgDlgType::mtConfirmation;
    request.Buttons = OkCancel ? TMsgButtons{{TMsgDlgBtn::mbOK, QStringLiteral("OK")},
                                             {TMsgDlgBtn::mbCancel, QStringLiteral("Anuluj")}}
                               : TMsgButtons{{TMsgDlgBtn::mbYes, QStringLiteral("Tak")},
                                             {TMsgDlgBtn::mbNo, QStringLiteral("Nie")}};
    request.Owner = Owner;
    return MessagePresenter()->Present(request);
}

TSettingsForm::TSettingsForm(QWidget* OwnerForm, TWorkMode WorkMode) : TForm(OwnerForm), FWorkMode(WorkMode) {
    CreateComponents();
    if (FWorkMode == wmGetDBSettings) {
        lblCurrentDataBaseTypePrefix->setText(
            QStringLiteral("Wybierz parametry bazy z której bedą importowane dane:"));
        btnImport->hide();
        btnRegon->hide();
        // Choosing a source manages no configurations.
        for (QPushButton* b : {btnSet, btnAdd, btnEdit, btnDelete})
            b->hide();
        setWindowTitle(QStringLiteral("Import"));
        bSave->setText(QStringLiteral("Importuj"));
        bSave->setEnabled(false);
    }
    LoadSettings();
    TreeView1Change();
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::CreateComponents() {
    setObjectName(QStringLiteral("SettingsForm"));
    setWindowTitle(QStringLiteral("Ustawienia"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Narrower than 629 or lower than 283 pixels the window cannot be made.
    setMinimumSize(629, 283);
    resize(680, 400);

    lblCurrentDataBaseTypePrefix = new QLabel(QStringLiteral("Konfiguracje baz danych:"), this);
    lblCurrentDataBaseTypePrefix->setObjectName(QStringLiteral("lblCurrentDataBaseTypePrefix"));
    btnImport = Button(this, "btnImport", QStringLiteral("Importuj"));
    btnSet = Button(this, "btnSet", QStringLiteral("Ustaw"));
    btnAdd = Button(this, "btnAdd", QStringLiteral("Dodaj"));
    btnEdit = Button(this, "btnEdit", QStringLiteral("Edytuj"));
    btnDelete = Button(this, "btnDelete", QStringLiteral("Usuń"));

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setColumnCount(1);
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView1->setAllColumnsShowFocus(true);

    pbMoveData = new QProgressBar(this);
    pbMoveData->setObjectName(QStringLiteral("pbMoveData"));
    pbMoveData->setRange(0, 100);
    pbMoveData->setAlignment(Qt::AlignCenter);
    pbMoveData->setTextVisible(true);
    pbMoveData->hide();

    btnRegon = Button(this, "btnRegon", QStringLiteral("Usługa REGON…"));
    connect(btnRegon, &QPushButton::clicked, this, [this] { ShowRegonServiceDialog(this); });
    bSave = Button(this, "bSave", QStringLiteral("Zapisz"));
    bSave->setDefault(true);
    bCancel = Button(this, "bCancel", QStringLiteral("Anuluj"));
    pmDBSettingsPopUp = new QMenu(this);
    pmDBSettingsPopUp->setObjectName(QStringLiteral("pmDBSettingsPopUp"));

    auto* header = new QHBoxLayout;
    header->setSpacing(4);
    header->addWidget(lblCurrentDataBaseTypePrefix);
    header->addStretch(1);
    for (QPushButton* b : {btnImport, btnSet, btnAdd, btnEdit, btnDelete})
        header->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnRegon);
    bottom->addStretch(1);
    bottom->addWidget(bSave);
    bottom->addWidget(bCancel);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(6);
    outer->addLayout(header);
    outer->addWidget(TreeView1, 1);
    outer->addWidget(pbMoveData);
    outer->addLayout(bottom);

    setTabOrder(TreeView1, btnImport);
    setTabOrder(btnImport, btnSet);
    setTabOrder(btnSet, btnAdd);
    setTabOrder(btnAdd, btnEdit);
    setTabOrder(btnEdit, btnDelete);
    setTabOrder(btnDelete, bSave);
    setTabOrder(bSave, bCancel);
    TreeView1->setFocus();

    auto wire = [this](QPushButton* Button, void (TSettingsForm::*Handler)()) {
        connect(Button, &QPushButton::clicked, this, [this, Handler] { Guarded(Handler); });
    };
    wire(btnImport, &TSettingsForm::btnImportClick);
    wire(btnSet, &TSettingsForm::btnSetClick);
    wire(btnAdd, &TSettingsForm::btnAddClick);
    wire(btnEdit, &TSettingsForm::btnEditClick);
    wire(btnDelete, &TSettingsForm::btnDeleteClick);
    wire(bSave, &TSettingsForm::bSaveClick);
    wire(bCancel, &TSettingsForm::bCancelClick);
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { TreeView1Change(); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* Node) {
        try {
            TreeView1DblClick(Node);
        } catch (const Registry::ERegistryException& e) {
            ShowRegistryFailure(e.Message());
        }
    });
    connect(TreeView1, &QWidget::customContextMenuRequested, this, &TSettingsForm::ContextMenu);
}

void TSettingsForm::Guarded(void (TSettingsForm::*Handler)()) {
    try {
        (this->*Handler)();
    } catch (const Registry::ERegistryException& e) {
        ShowRegistryFailure(e.Message());
    }
}

void TSettingsForm::ShowRegistryFailure(const QString& Text) {
    ShowMessageBox(this, QString::fromUtf8(TUserMessagesModule::DialogTitle), Text, TMsgDlgType::mtError);
}

void TSettingsForm::LoadSettings() {
    TCore* core = Core();
    if (!core || !core->FSettingsModule || !core->FDataBaseModule)
        return;
    TSettingsModule& settings = *core->FSettingsModule;
    FDataBaseSymbol = settings.FMainSettingsRecord.DataBaseSymbol;
    FDataBaseParam = settings.GetConnectorParam(FDataBaseSymbol);
    TDataBaseModule& module = *core->FDataBaseModule;
    if (!module.DBListAssigned())
        return;
    const int32_t count = module.FDBListCount();
    for (int32_t i = 0; i < count; ++i) {
        std::u16string symbol;
        std::u16string caption;
        if (module.FDBListItem(i, symbol, caption) && !symbol.empty()) {
            m_backends.emplace_back(toQ(symbol), toQ(caption));
            AddBackendNode(toQ(symbol), toQ(caption));
        }
    }
    if (FWorkMode == wmNormal)
        MarkChosenConfiguration();
}

void TSettingsForm::AddBackendNode(const QString& Symbol, const QString& Caption) {
    auto* backend = new QTreeWidgetItem(TreeView1, {Caption});
    SetNodeData(backend, {Symbol, QString(), false});
    for (const QString& param :
         DBParamText::SplitHistory(Core()->FSettingsModule->GetConnectorHistory(Symbol)))
        AddConfigNode(backend, param);
    if (FWorkMode == wmGetDBSettings && backend->childCount() > 0) {
        auto* other = new QTreeWidgetItem(backend, {kOtherParam});
        SetNodeData(other, {Symbol, QString(), false});
    }
    backend->setExpanded(FWorkMode == wmGetDBSettings);
}

QTreeWidgetItem* TSettingsForm::AddConfigNode(QTreeWidgetItem* Backend, const QString& Param) {
    auto* node = new QTreeWidgetItem(Backend, {DBParamText::Masked(Param)});
    SetNodeData(node, {NodeData(Backend).DataBaseSymbol, Param, false});
    return node;
}

void TSettingsForm::MarkChosenConfiguration() {
    // An exact match wins over one that is only contained in the chosen parameter.
    QTreeWidgetItem* chosen = nullptr;
    bool exact = false;
    for (int b = 0; b < TreeView1->topLevelItemCount() && !exact; ++b) {
        QTreeWidgetItem* backend = TreeView1->topLevelItem(b);
        if (NodeData(backend).DataBaseSymbol.compare(FDataBaseSymbol, Qt::CaseInsensitive) != 0)
            continue;
        for (int c = 0; c < backend->childCount() && !exact; ++c) {
            QTreeWidgetItem* node = backend->child(c);
            const DBParamText::TMatch match = DBParamText::MatchChosen(NodeData(node).Param, FDataBaseParam);
            exact = match == DBParamText::TMatch::Exact;
            if (exact || (match == DBParamText::TMatch::Contained && !chosen))
                chosen = node;
        }
    }
    if (chosen) {
        SetCurrent(chosen, true);
        SetCurrent(chosen->parent(), true);
        chosen->parent()->setExpanded(true);
    }
}

TDBParam TSettingsForm::NodeData(const QTreeWidgetItem* Node) {
    if (!Node)
        return {};
    return {Node->data(0, nrSymbol).toString(), Node->data(0, nrParam).toString(),
            Node->data(0, nrCurrent).toBool()};
}

void TSettingsForm::SetNodeData(QTreeWidgetItem* Node, const TDBParam& Data) {
    Node->setData(0, nrSymbol, Data.DataBaseSymbol);
    Node->setData(0, nrParam, Data.Param);
    SetCurrent(Node, Data.Current);
}

bool TSettingsForm::IsConfigNode(const QTreeWidgetItem* Node) {
    return Node && Node->parent() && !NodeData(Node).Param.isEmpty();
}

void TSettingsForm::SetCurrent(QTreeWidgetItem* Node, bool Current) {
    Node->setData(0, nrCurrent, Current);
    // Current nodes in black bold.
    QFont font = TreeView1->font();
    font.setBold(Current);
    Node->setFont(0, font);
    if (Current)
        Node->setForeground(0, QBrush(Qt::black));
    else
        Node->setData(0, Qt::ForegroundRole, QVariant());
}

bool TSettingsForm::AnyCurrent() const {
    for (int b = 0; b < TreeView1->topLevelItemCount(); ++b)
        if (NodeData(TreeView1->topLevelItem(b)).Current)
            return true;
    return false;
}

void TSettingsForm::StoreHistory(QTreeWidgetItem* Backend) {
    QStringList entries;
    for (int c = 0; c < Backend->childCount(); ++c)
        entries.append(NodeData(Backend->child(c)).Param);
    Core()->FSettingsModule->SetConnectorHistory(NodeData(Backend).DataBaseSymbol,
                                                 DBParamText::JoinHistory(entries));
}

QString TSettingsForm::BackendCaption(const QString& Symbol) const {
    for (const auto& [symbol, caption] : m_backends)
        if (symbol == Symbol)
            return caption;
    const int index = QuorDataBaseDefs::IndexOfSymbol(Symbol);
    return index < 0 ? Symbol : QString::fromUtf16(QuorDataBaseDefs::DataBaseTypes.at(index).Caption);
}

void TSettingsForm::TreeView1Change() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (FWorkMode == wmGetDBSettings) {
        if (!FTrwaImport)
            bSave->setEnabled(node && node->childCount() == 0);
        return;
    }
    for (QPushButton* b : {btnSet, btnAdd, btnEdit, btnDelete})
        b->setEnabled(false);
    if (IsConfigNode(node)) {
        btnSet->setEnabled(true);
        btnAdd->setEnabled(true);
        btnEdit->setEnabled(true);
        btnDelete->setEnabled(!NodeData(node).Current);
    } else if (node && !node->parent()) {
        btnAdd->setEnabled(true);
    }
}

void TSettingsForm::TreeView1DblClick(QTreeWidgetItem* Node) {
    if (!Node || FTrwaImport)
        return;
    TreeView1->setCurrentItem(Node);
    if (FWorkMode == wmGetDBSettings) {
        AcceptImportSource();
        return;
    }
    if (Node->childCount() > 0)
        return;
    if (IsConfigNode(Node))
        btnSetClick();
    else if (!Node->parent())
        btnAddClick();
}

bool TSettingsForm::FillPopupMenu(QTreeWidgetItem* Node) {
    pmDBSettingsPopUp->clear();
    if (!Node || FWorkMode != wmNormal)
        return false;
    TreeView1->setCurrentItem(Node);
    auto add = [this](const QString& Caption, void (TSettingsForm::*Handler)()) {
        pmDBSettingsPopUp->addAction(Caption, this, [this, Handler] { Guarded(Handler); });
    };
    if (IsConfigNode(Node)) {
        add(QStringLiteral("Ustaw"), &TSettingsForm::btnSetClick);
        pmDBSettingsPopUp->addSeparator();
        add(QStringLiteral("Dodaj"), &TSettingsForm::btnAddClick);
        add(QStringLiteral("Edytuj"), &TSettingsForm::btnEditClick);
        if (!NodeData(Node).Current)
            add(QStringLiteral("Usuń"), &TSettingsForm::btnDeleteClick);
    } else if (!Node->parent()) {
        add(QStringLiteral("Dodaj"), &TSettingsForm::btnAddClick);
    }
    return !pmDBSettingsPopUp->isEmpty();
}

void TSettingsForm::ContextMenu(const QPoint& At) {
    if (FTrwaImport)
        return;
    if (FillPopupMenu(TreeView1->itemAt(At)))
        pmDBSettingsPopUp->popup(TreeView1->viewport()->mapToGlobal(At));
}

MainFormOpeners::TCloseStatus ShowSettingsForm(QWidget* Owner) {
    TSettingsForm form(Owner, wmNormal);
    form.exec();
    return form.CloseStatus();
}

MainFormOpeners::TDBParamRecord ChooseImportDataBase(QWidget* Owner) {
    TSettingsForm form(Owner, wmGetDBSettings);
    form.exec();
    return form.DBParamRecord();
}

void InstallSettingsForms() {
    MainFormOpeners::SetSettingsOpener(ShowSettingsForm);
    MainFormOpeners::SetImportSourceChooser(ChooseImportDataBase);
}
