#pragma once
// The common ancestor of every frame that edits one record: it holds the record,
// hands the record's data fields to the frame's field panels, tells whether
// anything changed, posts the record, asks before closing with unsaved changes,
// and puts links back when the user cancels. Frames nest: an embedded frame joins
// the nearest enclosing TBaseFrame as a child and takes part in its modification
// test, sizing and post bookkeeping.
//
// A descendant builds its field panels inside the container returned by
// CreateContainer(title); the base adds the button strip and the two-tab page
// control ("Pola ewidary" / "Pola własne") around it.

#include "TFrame.h"
#include "uCommaText.h"
#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <stdexcept>

class QTabWidget;
class QToolButton;
class TDynamicFieldsFrame;
class TPanel;

namespace uBaseFrame {
enum TCloseType { ctPost, ctCancel };
} // namespace uBaseFrame

// Raised by a frame asked to serve a context it cannot serve; the text is the
// frame's class name followed by " nieprawidlowy kontekst".
class EFrameContextError : public std::logic_error {
public:
    explicit EFrameContextError(const QString& ClassName);
};

class TBaseFrame : public TFrame {
    Q_OBJECT
public:
    using TCloseType = uBaseFrame::TCloseType;

    explicit TBaseFrame(QWidget* Parent = nullptr);
    ~TBaseFrame() override;

    TCloseType CloseType() const { return FCloseType; }
    bool Modified() { return GetModified(); }
    bool ReadOnly() const { return FReadOnly; }
    bool ViewOnly() const { return FViewOnly; }
    void SetViewOnly(bool Value);
    TKontekst Kontekst() const { return FKontekst; }
    const TIntfPtr<IEwidarRecord>& EwidarRecord() const { return FEwidarRecord; }
    const TIntfPtr<IEwidarRecord>& TempRecord() const { return FTempEwidarRecord; }
    const TIntfPtr<IEwidarDataBase>& EwidarDataBase() const { return FEwidarDataBase; }
    void SetEwidarDataBase(const TIntfPtr<IEwidarDataBase>& Value) { FEwidarDataBase = Value; }
    const TIntfPtr<IDynamicFields>& DynamicFields() const { return FDynamicFields; }
    void SetDynamicFields(const TIntfPtr<IDynamicFields>& Value) { FDynamicFields = Value; }
    const TIntfPtr<ISlownik>& Slownik() const { return FSlownik; }
    bool InternalPageControlEnabled() const { return FInternalPageControlEnabled; }
    void SetInternalPageControlEnabled(bool Value) { FInternalPageControlEnabled = Value; }
    // The caption of the window the frame sits in.
    QString FormCaption() const;
    void SetFormCaption(const QString& Caption);
    // Frames embedded in this one, in order of arrival.
    QList<TBaseFrame*> Childs() const;

    virtual bool GetModified();
    // After a post: the current state becomes the accepted one.
    virtual void AcceptChanges();
    // When closing without posting: descendants put back links changed since the last accepted state.
    virtual void CancelChanges();
    virtual void SetReadOnly(bool Value);
    // Raises EFrameContextError for a refused context.
    virtual void SetKontekst(TKontekst Value);
    virtual void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record);
    // Recomputes the size after the frame is shown; the window caption becomes the section title.
    virtual void SetSize();

    // A record window opened over this frame's window stored a record, such as an
    // address of this record: while this record is new, closing it without posting
    // would delete that record with it, so it counts as a change.
    void DependentPosted() { m_dependentPosted = true; }

    // Whether the owner window may close (asks 300 about unsaved changes).
    bool Close();
    // Posts the record; true when it was stored (or there was nothing to post).
    bool btnPostClick();
    void btnCloseClick();
    void pgcContainerChange(int Index);

    TPanel* pnlButtons = nullptr;
    QToolButton* btnPost = nullptr;
    QToolButton* btnClose = nullptr;
    QTabWidget* pgcContainer = nullptr;
    QWidget* tsContainer = nullptr;
    QWidget* tsDynamicField = nullptr;
    TDynamicFieldsFrame* DynamicFieldsFrame1 = nullptr;
    // Set by the descendant through CreateContainer; holds its field panels.
    TPanel* pnlContainer = nullptr;

    // Height of the page control while "Pola własne" is shown.
    static constexpr int DynamicPageHeight = 500;

protected:
    // Creates pnlContainer with the section title; the descendant adds its panels to its layout.
    TPanel* CreateContainer(const QString& Title);
    bool event(QEvent* Event) override;

private:
    void BindPanels();
    void ResolveKindProviders();
    void ApplyPageControl(bool Show);
    void FitPageControl();
    void AttachToParentFrame();
    void DetachFromParentFrame();
    // Puts the last accepted values back into the data fields (after a failed post).
    void RevertUnpostedValues();

    QList<QPointer<TBaseFrame>> FChilds;
    TCloseType FCloseType = uBaseFrame::ctCancel;
    bool FReadOnly = false;
    bool FViewOnly = false;
    TKontekst FKontekst = kBrak;
    TIntfPtr<IEwidarRecord> FEwidarRecord;
    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    bool FFirstAssignTempRecord = true;
    TIntfPtr<IEwidarRecord> FTempEwidarRecord;
    TIntfPtr<IDynamicFields> FDynamicFields;
    TIntfPtr<ISlownik> FSlownik;
    bool FInternalPageControlEnabled = true;

    // The frame this one registered with as a child.
    QPointer<TBaseFrame> m_parentFrame;
    // Values written into the record by a post that the record then refused.
    bool m_unpostedValues = false;
    bool m_dependentPosted = false;
};
