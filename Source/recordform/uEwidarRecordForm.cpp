#include "uEwidarRecordForm.h"

#include "uEwidarKinds.h"
#include "uListOpeners.h"
#include "uMessagePresenter.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
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
    TMessageRequest request;
    request.Title = QString::fromLatin1(TUserMessagesModule::DialogTitle);
    request.Text = Text;
    request.Icon = TMsgDlgType::mtError;
    request.Buttons = {{TMsgDlgBtn::mbOK, QStringLiteral("OK")}};
    request.Owner = Owner;
    MessagePresenter()->Present(request);
}

// Releases the lock this window took, on every way out; a refused release is shown.
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
    IEwidarRecord* m_record;
    QWidget* m_owner;
    bool m_locked = false;
};

} // namespace

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
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FBaseFrame = CreateRecordFrame(FEwidarRecord.get(), this);
    if (FBaseFrame) {
        layout->addWidget(FBaseFrame);
        FBaseFrame->SetEwidarDataBase(FEwidarDataBase);
        FBaseFrame->SetKontekst(FKontekst);
        FBaseFrame->SetEwidarRecord(FEwidarRecord);
    }
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
    adjustSize();
}

void TRecordForm::showEvent(QShowEvent* Event) {
    // Sized before the first placement, so the window is centred at its real size.
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
    TForm::showEvent(Event);
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
