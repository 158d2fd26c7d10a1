#pragma once
// "Właściwości pola": edits one user-defined field definition (description, symbol,
// editor kind). Posting writes the three into the definition; storing it is the
// caller's business.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"

#include <QPointer>

class QToolButton;
class TFrame;
class TPanel;

class TFieldSettingsForm : public TForm {
    Q_OBJECT
public:
    enum TCloseType { ctPosted, ctCancelled };

    // PostCaption replaces "Zapisz" when not empty.
    TFieldSettingsForm(QWidget* OwnerWindow, TFrame* OwnerFrame, const TIntfPtr<IDynamicField>& Definition,
                       const QString& PostCaption = {});

    TCloseType CloseType() const { return FCloseType; }
    void btnPostClick();
    void btnCloseClick();

    // The editor kinds in combo order: shown caption and stored kind name.
    static const QList<QPair<QString, QString>>& Kinds();

    TPanel* pnlContainer;
    TPanel* pnlDescription;
    TPanel* pnlSymbol;
    TPanel* pnlType;
    TPanel* pnlButtons;
    QToolButton* btnPost;
    QToolButton* btnClose;

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    TIntfPtr<IDynamicField> FDynamicField;
    QPointer<TFrame> FOwnerFrame;
    QString FStartSymbol;
    TCloseType FCloseType = ctCancelled;
};

// Opens the window; the definition when the user posted, none otherwise (also
// without an owner frame or a definition).
TIntfPtr<IDynamicField> ShowFieldSettings(QWidget* OwnerWindow, TFrame* OwnerFrame,
                                          const TIntfPtr<IDynamicField>& Definition,
                                          const QString& PostCaption = {});
