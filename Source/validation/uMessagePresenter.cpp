#include "uMessagePresenter.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace {

IMessagePresenter* g_presenter = nullptr;

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kIconSize = 32;

QString ButtonName(TMsgDlgBtn Kind) {
    switch (Kind) {
    case TMsgDlgBtn::mbYes:
        return QStringLiteral("Yes");
    case TMsgDlgBtn::mbNo:
        return QStringLiteral("No");
    case TMsgDlgBtn::mbOK:
        return QStringLiteral("OK");
    case TMsgDlgBtn::mbCancel:
        return QStringLiteral("Cancel");
    case TMsgDlgBtn::mbAbort:
        return QStringLiteral("Abort");
    case TMsgDlgBtn::mbRetry:
        return QStringLiteral("Retry");
    case TMsgDlgBtn::mbIgnore:
        return QStringLiteral("Ignore");
    case TMsgDlgBtn::mbAll:
        return QStringLiteral("All");
    case TMsgDlgBtn::mbNoToAll:
        return QStringLiteral("NoToAll");
    case TMsgDlgBtn::mbYesToAll:
        return QStringLiteral("YesToAll");
    case TMsgDlgBtn::mbHelp:
        return QStringLiteral("Help");
    case TMsgDlgBtn::mbClose:
        return QStringLiteral("Close");
    }
    return QString();
}

QStyle::StandardPixmap IconOf(TMsgDlgType Kind) {
    switch (Kind) {
    case TMsgDlgType::mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtInformation:
        return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::mtConfirmation:
        return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::mtError:
        break;
    }
    return QStyle::SP_MessageBoxCritical;
}

QRect PrimaryScreenRect() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return QRect(0, 0, 1024, 768);
}

// The message dialog: closing it without a button gives the close result.
class TMessageDialog : public QDialog {
public:
    TMessageDialog(const TMessageRequest& Request, QWidget* Parent);

    void reject() override { done(m_closeResult); }

protected:
    void showEvent(QShowEvent* Event) override;

private:
    int m_closeResult;
    QPointer<QWidget> m_ownerWindow;
};

TMessageDialog::TMessageDialog(const TMessageRequest& Request, QWidget* Parent)
    : QDialog(Parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_closeResult(CloseResultOf(Request.Buttons)), m_ownerWindow(Parent) {
    setObjectName(QStringLiteral("MessageDialog"));
    setWindowTitle(Request.Title);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setContentsMargins(12, 12, 12, 10);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image"));
    icon->setPixmap(style()->standardIcon(IconOf(Request.Icon), nullptr, this).pixmap(kIconSize, kIconSize));
    icon->setFixedSize(kIconSize, kIconSize);
    grid->addWidget(icon, 0, 0, Qt::AlignTop | Qt::AlignLeft);

    // The catalogue separates lines with "\r\n"; a label breaks on "\n" alone.
    QString text = Request.Text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto* message = new QLabel(this);
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setText(text);
    // Long lines wrap at half the screen's width, as message boxes do.
    const QFontMetrics fm(message->font());
    const int maxWidth = qMax(200, PrimaryScreenRect().width() / 2);
    const QRect bounds = fm.boundingRect(QRect(0, 0, maxWidth, 100000), Qt::TextWordWrap, text);
    message->setFixedSize(bounds.width() + 2, qMax(bounds.height(), kIconSize));
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(message, 0, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch(1);
    for (qsizetype i = 0; i < Request.Buttons.size(); ++i) {
        const TMsgButton& b = Request.Buttons.at(i);
        auto* button = new QPushButton(b.ButtonCaption, this);
        button->setObjectName(ButtonName(b.ButtonType));
        button->setMinimumSize(kButtonWidth, kButtonHeight);
        const int result = ModalResultOf(b.ButtonType);
        connect(button, &QPushButton::clicked, this, [this, result]() { done(result); });
        if (i == 0) {
            button->setDefault(true);
            button->setFocus();
        }
        row->addWidget(button);
    }
    row->addStretch(1);
    grid->addLayout(row, 1, 0, 1, 2);
}

void TMessageDialog::showEvent(QShowEvent* Event) {
    // Placed once the window frame is known, before the dialog reaches the screen.
    if (m_ownerWindow && !Event->spontaneous())
        move(MessageDialogPosition(m_ownerWindow->frameGeometry(), frameGeometry().size(),
                                   PrimaryScreenRect()));
    QDialog::showEvent(Event);
}

} // namespace

int ModalResultOf(TMsgDlgBtn Kind) {
    using namespace ModalResult;
    switch (Kind) {
    case TMsgDlgBtn::mbYes:
        return mrYes;
    case TMsgDlgBtn::mbNo:
        return mrNo;
    case TMsgDlgBtn::mbOK:
        return mrOk;
    case TMsgDlgBtn::mbCancel:
        return mrCancel;
    case TMsgDlgBtn::mbAbort:
        return mrAbort;
    case TMsgDlgBtn::mbRetry:
        return mrRetry;
    case TMsgDlgBtn::mbIgnore:
        return mrIgnore;
    case TMsgDlgBtn::mbAll:
        return mrAll;
    case TMsgDlgBtn::mbNoToAll:
        return mrNoToAll;
    case TMsgDlgBtn::mbYesToAll:
        return mrYesToAll;
    case TMsgDlgBtn::mbHelp:
        return mrHelp;
    case TMsgDlgBtn::mbClose:
        return mrClose;
    }
    return mrCancel;
}

int CloseResultOf(const TMsgButtons& Buttons) {
    for (TMsgDlgBtn kind : {TMsgDlgBtn::mbNo, TMsgDlgBtn::mbClose, TMsgDlgBtn::mbCancel}) {
        for (const TMsgButton& b : Buttons)
            if (b.ButtonType == kind)
                return ModalResultOf(kind);
    }
    if (Buttons.size() == 1)
        return ModalResultOf(Buttons.first().ButtonType);
    return ModalResult::mrCancel;
}

QPoint MessageDialogPosition(const QRect& Owner, const QSize& Dialog, const QRect& Screen) {
    // Relative to the screen's origin; integer division rounds towards zero.
    const int left = Owner.x() - Screen.x() + (Owner.width() - Dialog.width()) / 2;
    const int top = Owner.y() - Screen.y() + (Owner.height() - Dialog.height()) / 2;
    const bool fits = left >= 0 && left + Dialog.width() <= Screen.width() && top >= 0 &&
                      top + Dialog.height() <= Screen.height();
    if (fits)
        return QPoint(Screen.x() + left, Screen.y() + top);
    return QPoint(Screen.x() + (Screen.width() - Dialog.width()) / 2,
                  Screen.y() + (Screen.height() - Dialog.height()) / 2);
}

std::unique_ptr<QDialog> TDialogMessagePresenter::CreateDialog(const TMessageRequest& Request) {
    QWidget* ownerWindow = Request.Owner ? Request.Owner->window() : nullptr;
    auto dialog = std::make_unique<TMessageDialog>(Request, ownerWindow);
    dialog->adjustSize();
    return dialog;
}

int TDialogMessagePresenter::Present(const TMessageRequest& Request) {
    std::unique_ptr<QDialog> dialog = CreateDialog(Request);
    QPointer<QDialog> alive(dialog.get());
    const int result = dialog->exec();
    // The owner window frees its child dialogs when it goes away during exec.
    if (!alive)
        (void)dialog.release();
    return result;
}

IMessagePresenter* MessagePresenter() {
    static TDialogMessagePresenter dialogs;
    return g_presenter ? g_presenter : &dialogs;
}

void ShowMessageBox(QWidget* Owner, const QString& Title, const QString& Text, TMsgDlgType Icon) {
    TMessageRequest request;
    request.Title = Title;
    request.Text = Text;
    request.Icon = Icon;
    request.Buttons = {{TMsgDlgBtn::mbOK, QStringLiteral("OK")}};
    request.Owner = Owner;
    MessagePresenter()->Present(request);
}

IMessagePresenter* SetMessagePresenter(IMessagePresenter* Presenter) {
    IMessagePresenter* previous = g_presenter;
    g_presenter = Presenter;
    return previous;
}
