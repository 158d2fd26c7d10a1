#pragma once
// The record window: the modal window in which one record is added, edited or
// viewed. It hosts the frame that fits the record's kind, posts on Enter, closes on
// Escape (through the frame's close question), keeps one stored record out of two
// windows at once and holds the record's lock while it is open.

#include "TForm.h"
#include "uBaseFrame.h"
#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"

#include <QList>

#include <functional>

class QPushButton;

class TRecordForm : public TForm {
    Q_OBJECT
public:
    // Creates the frame for the record's kind, gives it database, context and record,
    // and registers the window in RecordForms. Raises EFrameContextError when the
    // frame refuses the context (nothing is registered then).
    TRecordForm(QWidget* AOwner, const TIntfPtr<IEwidarDataBase>& EwidarDataBase, TKontekst Kontekst,
                const TIntfPtr<IEwidarRecord>& EwidarRecord, QWidget* OwnerForm);
    ~TRecordForm() override;

    QWidget* OwnerForm() const { return OwnerWindow(); }
    const TIntfPtr<IEwidarRecord>& EwidarRecord() const { return FEwidarRecord; }
    TKontekst Kontekst() const { return FKontekst; }
    const TIntfPtr<IEwidarDataBase>& EwidarDataBase() const { return FEwidarDataBase; }
    // The frame of the record's kind; nullptr for a record of no listed kind.
    TBaseFrame* BaseFrame() const { return FBaseFrame; }
    // "Historia zmian": the record's changes and its sections'; shown for a stored record.
    QPushButton* btnHistoriaZmian = nullptr;

    // Sizes every frame and then the window to its contents (or to the size the user
    // last left a window of this record kind at); a new record's window is titled by its kind.
    void FormActivate();
    // The window may close exactly when the frame agrees.
    bool FormCloseQuery();

    // Closing by Escape or the close box goes through the close question.
    void reject() override;

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // Enter posts, Escape closes; true when the key was taken. Target receives the key.
    bool FormShortCut(QWidget* Target, QKeyEvent* Event);
    // The size the user left this record kind's window at, in the settings.
    void RestoreSize();
    void StoreSize();

    TKontekst FKontekst;
    TBaseFrame* FBaseFrame = nullptr;
    TIntfPtr<IEwidarRecord> FEwidarRecord;
    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    bool m_activated = false;
    // The caption of a new record's window; empty for a stored record.
    QString m_newTitle;
};

// Every live record window, in order of creation.
const QList<TRecordForm*>& RecordForms();

// Opens the record window modally and returns how it ended (ctCancel when it
// could not be opened: no record, already open elsewhere (303), lock refused,
// context refused).
uBaseFrame::TCloseType ShowRecordForm(QWidget* OwnerForm, IEwidarRecord* Record, TKontekst Kontekst,
                                      IEwidarDataBase* DataBase);

// Settings key under which the record windows' sizes are kept, one value per record kind.
QString RecordFormSizeKey();
// The name of a record's kind in the settings ("Podatnik", "DaneBanku"...); empty for none.
QString RecordKindName(IEwidarRecord* Record);
// The caption of a new record's window ("Nowy podatnik", "Nowy bank"...); empty for none.
QString NewRecordTitle(IEwidarRecord* Record);

// Creates the frame for a record's kind (the first kind of the table it supports) as
// a child of Parent; nullptr when no frame serves the kind.
TBaseFrame* CreateRecordFrame(IEwidarRecord* Record, QWidget* Parent);
// The frame of a record kind (for embedding); nullptr when the kind has none yet.
TBaseFrame* CreateRecordFrameOfKind(const TGUID& Kind, QWidget* Parent);

// How the record window reaches the history window of another unit.
namespace RecordFormOpeners {
using THistoryOpener =
    std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase, int64_t RecordID, const QString& Title)>;
// Installing an empty function puts the default back (nothing happens).
void SetHistoryOpener(THistoryOpener Opener);
void OpenHistory(QWidget* OwnerForm, IEwidarDataBase* DataBase, int64_t RecordID, const QString& Title);
} // namespace RecordFormOpeners

// Installs ShowRecordForm as the list frame's record window.
void InstallRecordForms();
