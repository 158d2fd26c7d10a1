#pragma once
// Message dialogs: the request that describes one message as it is to be shown,
// the presenter interface that shows it and returns the pressed button's dialog
// result, and the program's default presenter that builds the real dialog.
// Every message dialog of the program goes through the installed presenter, so
// tests install their own to answer and to read what was shown.

#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

class QDialog;

// Dialog kind of a message (0 to 3).
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Button kinds, in the order a dialog lays its buttons out.
enum class TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};

// Dialog results: the Windows dialog identifiers of the buttons, and -1 for
// "nothing was shown" (never a Yes).
namespace ModalResult {
constexpr int mrNotShown = -1;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrClose = 8;
constexpr int mrHelp = 9;
constexpr int mrAll = 12;
constexpr int mrNoToAll = 13;
constexpr int mrYesToAll = 14;
} // namespace ModalResult

// One button of a message: its kind (which decides the result) and its caption.
struct TMsgButton {
    TMsgDlgBtn ButtonType = TMsgDlgBtn::mbOK;
    QString ButtonCaption;

    friend bool operator==(const TMsgButton&, const TMsgButton&) = default;
};
using TMsgButtons = QList<TMsgButton>;

// One message as it is to be shown.
struct TMessageRequest {
    QString Title;
    // As the catalogue holds it, lines separated by "\r\n".
    QString Text;
    TMsgDlgType Icon = TMsgDlgType::mtError;
    // The dialog's buttons from left to right.
    TMsgButtons Buttons;
    // The window to centre over; none: the dialog's default place.
    QPointer<QWidget> Owner;
};

// Dialog result of a button kind.
int ModalResultOf(TMsgDlgBtn Kind);
// Result of closing the dialog without a button (Escape, the close box): the
// No button's, else the Close button's, else the Cancel button's, else the only
// button's, else Cancel. A question closed this way is never answered Yes.
int CloseResultOf(const TMsgButtons& Buttons);
// Where a dialog of the given size goes when centred over the owner window:
// centred over it (halves rounded towards zero) when it lies wholly on the
// screen there, otherwise centred on the screen.
QPoint MessageDialogPosition(const QRect& Owner, const QSize& Dialog, const QRect& Screen);

// Shows messages. Implementations run modally on the GUI thread.
class IMessagePresenter {
public:
    virtual ~IMessagePresenter() = default;
    // Shows the message and returns the dialog result of the pressed button.
    virtual int Present(const TMessageRequest& Request) = 0;
};

// The program's presenter: a modal message dialog with a white background, a
// thin tool-window frame, the kind's icon, the text and the buttons in order.
class TDialogMessagePresenter : public IMessagePresenter {
public:
    int Present(const TMessageRequest& Request) override;
    // Builds the dialog for the request, sized but not shown; on showing it
    // places itself over the owner's window.
    static std::unique_ptr<QDialog> CreateDialog(const TMessageRequest& Request);
};

// The presenter every message goes through: the installed one, else the dialogs.
IMessagePresenter* MessagePresenter();
// Installs Presenter (not owned) for every following message; nullptr restores
// the dialogs. Returns the previously installed presenter (nullptr: the dialogs).
IMessagePresenter* SetMessagePresenter(IMessagePresenter* Presenter);

// A box with one "OK" button, through the presenter.
void ShowMessageBox(QWidget* Owner, const QString& Title, const QString& Text, TMsgDlgType Icon);
