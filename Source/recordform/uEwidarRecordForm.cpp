#include "uEwidarRecordForm.h"

#include "uEwidarKinds.h"
#include "uListOpeners.h"
#include "uMessagePresenter.h"
#include "uOpener.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QToolButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <memory>

namespace {

QList<TRecordForm*>& Forms() {
    static QList<TRecordForm*> forms;
    return forms;
}

// Controls that take Enter themselves: a memo, a list or grid, a combo box with its list open.
bool KeepsOwnEnter(QWidget* Focus) {
    for (QWidget* w = Focus; w; w = w->parentWidget()) {
        if (qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
            qobject_cast<QAbstractItemView*>(w))
            return true;
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view() && combo->view()->isVisible())
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

void ShowErrorBox(QWidget* Owner, const QString& Text) {
    ShowMessageBox(Owner, QString::fromUtf8(TUserMessagesModule::DialogTitle), Text, TMsgDlgType::mtError);
}

// Releases the lock this window took, on every way out; a refused release is shown.
// It holds its own reference: the list that handed the record over may reload while
// the window is open, and the window's reference goes with the window, before the lock.
class TRecordLock {
public:
    TRecordLock(IEwidarRecord* Record, QWidget* Owner) : m_record(Record), m_owner(Owner) {}
    ~TRecordLock() {
        if (m_locked && !m_record->Unlock())
            ShowUserMessage(uint32_t(m_record->GetLastErrorCode()), m_owner);
    }
    bool Lock() {
        m_locked = m_record->Lock();
        if (!m_locked)
            ShowUserMessage(uint32_t(m_record->GetLastErrorCode()), m_owner);
        return m_locked;
    }
    TRecordLock(const TRecordLock&) = delete;
    TRecordLock& operator=(const TRecordLock&) = delete;

private:
    TIntfPtr<IEwidarRecord> m_record;
    QPointer<QWidget> m_owner;
    bool m_locked = false;
};

TOpener<void(QWidget*, IEwidarDataBase*, int64_t, const QString&)>& HistoryOpener() {
    static TOpener<void(QWidget*, IEwidarDataBase*, int64_t, const QString&)> opener;
    return opener;
}

} // namespace

namespace RecordFormOpeners {
void SetHistoryOpener(THistoryOpener Opener) {
    HistoryOpener().Set(std::move(Opener));
}
void OpenHistory(QWidget* OwnerForm, IEwidarDataBase* DataBase, int64_t RecordID, const QString& Title) {
    HistoryOpener().Call(OwnerForm, DataBase, RecordID, Title);
}
} // namespace RecordFormOpeners

const QList<TRecordForm*>& RecordForms() {
    return Forms();
}

TRecordForm::TRecordForm(QWidget* AOwner, const TIntfPtr<IEwidarDataBase>& EwidarDataBase, TKontekst Kontekst,
                         const TIntfPtr<IEwidarRecord>& EwidarRecord, QWidget* OwnerForm)
    : TForm(OwnerForm, AOwner), FKontekst(Kontekst), FEwidarRecord(EwidarRecord),
      FEwidarDataBase(EwidarDataBase) {
    setObjectName(QStringLiteral("RecordForm"));
    setWindowTitle(QStringLiteral("RecordForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FBaseFrame = CreateRecordFrame(FEwidarRecord.get(), this);
    if (FBaseFrame) {
        layout->addWidget(FBaseFrame);
        FBaseFrame->SetEwidarDataBase(FEwidarDataBase);
        FBaseFrame->SetKontekst(FKontekst);
        FBaseFrame->SetEwidarRecord(FEwidarRecord);
    }
    // A stored record's history of changes; a new one has none yet.
    if (FEwidarRecord && !FEwidarRecord->IsNew() && FEwidarRecord->GetID() != 0) {
        auto* bar = new QHBoxLayout;
        bar->setContentsMargins(6, 0, 6, 6);
        bar->addStretch();
        btnHistoriaZmian = new QPushButton(QStringLiteral("Historia zmian…"), this);
        btnHistoriaZmian->setObjectName(QStringLiteral("btnHistoriaZmian"));
        btnHistoriaZmian->setAutoDefault(false);
        btnHistoriaZmian->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(btnHistoriaZmian);
        layout->addLayout(bar);
        connect(btnHistoriaZmian, &QPushButton::clicked, this, [this] {
            const TIntfPtr<IEwidarRecordInfo> info = FEwidarRecord->GetRecordInfo();
            const QString title = info ? QString::fromStdU16String(info->GetLine(0)) : QString();
            RecordFormOpeners::OpenHistory(this, FEwidarDataBase.get(), FEwidarRecord->GetID(), title);
        });
    }
    // A record not stored yet is named by its kind, not by the frame's section title.
    if (FEwidarRecord && FEwidarRecord->IsNew())
        m_newTitle = NewRecordTitle(FEwidarRecord.get());
    if (!m_newTitle.isEmpty())
        setWindowTitle(m_newTitle);
    Forms().append(this);
    qApp->installEventFilter(this);
}

TRecordForm::~TRecordForm() {
    qApp->removeEventFilter(this);
    Forms().removeAll(this);
}

void TRecordForm::FormActivate() {
    for (QObject* child : children())
        if (auto* frame = qobject_cast<TBaseFrame*>(child))
            frame->SetSize();
    layout()->activate();
    // The contents' minimum, but never more than the screen offers: the window can be
    // made smaller than its contents would like, they shrink or scroll.
    const QSize available = screen() ? screen()->availableSize() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(layout()->minimumSize().boundedTo(available));
    // The contents' own size up to the screen's (adjustSize would stop a window at two
    // thirds of the screen and cut long captions).
    resize(layout()->sizeHint().boundedTo(available).expandedTo(minimumSize()));
    RestoreSize();
}

QString RecordFormSizeKey() {
    return QuorDataBaseDefs::EwidarKey + QStringLiteral("RecordForm");
}

void TRecordForm::RestoreSize() {
    const QString name = RecordKindName(FEwidarRecord.get());
    if (name.isEmpty())
        return;
    QStringList parts;
    try {
        if (Registry::ValueExists(RecordFormSizeKey(), name))
            parts = Registry::ReadString(RecordFormSizeKey(), name, QString()).split(QLatin1Char(','));
    } catch (const Registry::ERegistryException&) {
        return; // unreadable settings: the window keeps the size of its contents
    }
    // "width,height" and ",max" when the window was left maximised.
    bool okW = false;
    bool okH = false;
    const int w = parts.value(0).toInt(&okW);
    const int h = parts.value(1).toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0)
        return;
    QSize size(w, h);
    if (screen())
        size = size.boundedTo(screen()->availableSize());
    resize(size.expandedTo(minimumSize()));
    if (parts.value(2) == QLatin1String("max"))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TRecordForm::StoreSize() {
    const QString name = RecordKindName(FEwidarRecord.get());
    if (name.isEmpty())
        return;
    const bool maximized = isMaximized();
    const QSize size = maximized ? normalGeometry().size() : this->size();
    if (!size.isValid())
        return;
    QString text = QStringLiteral("%1,%2").arg(size.width()).arg(size.height());
    if (maximized)
        text += QStringLiteral(",max");
    try {
        Registry::WriteString(RecordFormSizeKey(), name, text);
    } catch (const Registry::ERegistryException&) {
        // Not remembering a size is no reason to trouble the user on closing.
    }
}

void TRecordForm::showEvent(QShowEvent* Event) {
    // Sized before the first placement, so the window is centred at its real size.
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
    TForm::showEvent(Event);
}

void TRecordForm::changeEvent(QEvent* Event) {
    // Frames set the caption to their section title whenever they size themselves.
    if (Event->type() == QEvent::WindowTitleChange && !m_newTitle.isEmpty() && windowTitle() != m_newTitle &&
        FEwidarRecord && FEwidarRecord->IsNew())
        setWindowTitle(m_newTitle);
    TForm::changeEvent(Event);
}

void TRecordForm::hideEvent(QHideEvent* Event) {
    if (m_activated && !Event->spontaneous())
        StoreSize();
    TForm::hideEvent(Event);
}

bool TRecordForm::FormCloseQuery() {
    return !FBaseFrame || FBaseFrame->Close();
}

void TRecordForm::reject() {
    if (FormCloseQuery())
        TForm::reject();
}

bool TRecordForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() != QEvent::KeyPress || !Watched->isWidgetType())
        return TForm::eventFilter(Watched, Event);
    auto* target = static_cast<QWidget*>(Watched);
    if (target->window() != this || QApplication::activeModalWidget() != this)
        return TForm::eventFilter(Watched, Event);
    return FormShortCut(target, static_cast<QKeyEvent*>(Event)) || TForm::eventFilter(Watched, Event);
}

bool TRecordForm::FormShortCut(QWidget* Target, QKeyEvent* Event) {
    switch (Event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
            return false;
        if (KeepsOwnEnter(Target))
            return false;
        if (FBaseFrame && FBaseFrame->btnPost->isVisible() && FBaseFrame->btnPost->isEnabled())
            FBaseFrame->btnPost->click();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

uBaseFrame::TCloseType ShowRecordForm(QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst,
                                      IEwidarDataBase* DataBase) {
    uBaseFrame::TCloseType result = uBaseFrame::ctCancel;
    if (!Record) {
        if (DataBase)
            ShowUserMessage(uint32_t(DataBase->GetLastErrorCode()), OwnerForm);
        return result;
    }
    // Only stored records can be the same: two new records never are.
    const int32_t id = Record->GetID();
    if (id != 0) {
        for (TRecordForm* form : RecordForms()) {
            IEwidarRecord* open = form->EwidarRecord().get();
            if (open && open->GetID() == id && EwidarKinds::SameKind(open, Record)) {
                ShowUserMessage(303, OwnerForm);
                return result;
            }
        }
    }
    const QPointer<QWidget> ownerForm(OwnerForm);
    TRecordLock lock(Record, OwnerForm);
    if (id != 0 && !lock.Lock())
        return result;
    try {
        std::unique_ptr<TRecordForm> form;
        {
            TWaitCursor cursor;
            form = std::make_unique<TRecordForm>(nullptr, TIntfPtr<IEwidarDataBase>(DataBase), Kontekst,
                                                 TIntfPtr<IEwidarRecord>(Record), OwnerForm);
        }
        form->exec();
        if (form->BaseFrame())
            result = form->BaseFrame()->CloseType();
        // A record stored from a record window counts as a change of the record open there.
        if (auto* owner = qobject_cast<TRecordForm*>(ownerForm.data());
            owner && owner->BaseFrame() && result == uBaseFrame::ctPost)
            owner->BaseFrame()->DependentPosted();
    } catch (const std::exception& e) {
        ShowErrorBox(OwnerForm, QString::fromStdString(e.what()));
    }
    return result;
}

void InstallRecordForms() {
    ListOpeners::SetRecordFormOpener(
        [](QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst, IEwidarDataBase* DataBase) {
            return ShowRecordForm(OwnerForm, Record, Kontekst, DataBase) == uBaseFrame::ctPost;
        });
}
