#pragma once
// The catalogue of numbered user messages and the one place that shows them.
// Windows call ShowUserMessage with a message number (a backend error code or a
// window's own message) and get back the dialog result of the pressed button,
// or ModalResult::mrNotShown (-1) when nothing was shown.

#include "uMessagePresenter.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <cstdint>

class QWidget;
class TDataBaseModule;

// One catalogue entry; errCode 0 means "no entry".
struct TUserMessageRecord {
    uint32_t errCode = 0;
    // May hold one "%s" placeholder.
    QString errMsg;
    TMsgDlgType errIcon = TMsgDlgType::mtError;
    // In the order of the button kinds.
    TMsgButtons Buttons;
};
using TUserMessages = QList<TUserMessageRecord>;

class TUserMessagesModule {
public:
    // DataBaseModule supplies the backend's own texts; it may be none, and may
    // be given later with SetDataBaseModule. Not owned.
    explicit TUserMessagesModule(TDataBaseModule* DataBaseModule = nullptr);
    TUserMessagesModule(const TUserMessagesModule&) = delete;
    TUserMessagesModule& operator=(const TUserMessagesModule&) = delete;

    TDataBaseModule* DataBaseModule() const { return FDataBaseModule; }
    void SetDataBaseModule(TDataBaseModule* DataBaseModule) { FDataBaseModule = DataBaseModule; }

    // Shows the message of ErrorCode over OwnerForm (may be none). A code without
    // an entry shows the backend's own text for it, when the backend has one.
    int ShowUserMessage(QWidget* OwnerForm, uint32_t ErrorCode);
    // As above with the entry's "%s" replaced by the first of Args; with empty
    // Args exactly the two-argument form. Codes without an entry show nothing.
    int ShowUserMessage(QWidget* OwnerForm, uint32_t ErrorCode, const QVariantList& Args);

    const TUserMessages& UserMessages() const { return FUserMessages; }
    // The first entry with the number, or an empty record.
    TUserMessageRecord FindUserMessage(uint32_t ErrorCode) const;
    // The backend's text for the code through the router, followed by a blank
    // line, "Więcej informacji:" and the link when it gave both; empty when
    // there is no root object, no router function or no text.
    QString BackendMessage(uint32_t ErrorCode) const;
    // Text with each "%s" replaced by the next argument and "%%" by "%";
    // placeholders without an argument stay as they are, extra arguments are ignored.
    static QString FormatMessage(const QString& Text, const QVariantList& Args);
    // The dialog's buttons for an entry's list: one per distinct kind, in kind
    // order, the n-th carrying the n-th caption of the list.
    static TMsgButtons DialogButtons(const TMsgButtons& Buttons);

    static constexpr const char* DialogTitle = "Ewidar Quor";

    // True from creation; while false nothing is shown.
    bool FEnabled = true;

private:
    int ShowEntry(QWidget* OwnerForm, const TUserMessageRecord& Entry, const QString& Text) const;

    TDataBaseModule* FDataBaseModule;
    TUserMessages FUserMessages;
};

// The module that the free ShowUserMessage functions use: the core registers its
// module here (nullptr unregisters). Without one, a module without a database
// module serves, so catalogue messages are still shown.
void SetUserMessagesModule(TUserMessagesModule* Module);
TUserMessagesModule* UserMessagesModule();

// What windows call: ShowUserMessage(code, this), ShowUserMessage(301, {text}, this).
int ShowUserMessage(uint32_t ErrorCode, QWidget* OwnerForm = nullptr);
int ShowUserMessage(uint32_t ErrorCode, const QVariantList& Args, QWidget* OwnerForm = nullptr);
