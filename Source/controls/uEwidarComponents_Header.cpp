#include "uEwidarComponents_Header.h"

#include "TLabel.h"
#include "uEwidarComponents_Panel.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int cTitleLeft = 5;
constexpr int cTitleTop = 1;
constexpr int cLinkRight = 5;
constexpr int cLinkSpacing = 8;

} // namespace

// ---------------------------------------------------------------------------
// THeaderLink

THeaderLink::THeaderLink(QWidget* Parent) : QLabel(Parent) {
    setTextFormat(Qt::PlainText);
}

void THeaderLink::SetOnClick(TLinkOnClick Action) {
    FOnClick = std::move(Action);
    setCursor(FOnClick ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (!FOnClick)
        SetUnderline(false);
}

void THeaderLink::SetUnderline(bool Value) {
    QFont f = font();
    if (f.underline() == Value)
        return;
    f.setUnderline(Value);
    setFont(f);
}

void THeaderLink::enterEvent(QEnterEvent* Event) {
    SetUnderline(bool(FOnClick));
    QLabel::enterEvent(Event);
}

void THeaderLink::leaveEvent(QEvent* Event) {
    SetUnderline(false);
    QLabel::leaveEvent(Event);
}

void THeaderLink::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) && isEnabled() &&
        FOnClick) {
        // The action may rebuild the header; keep a copy alive while it runs.
        const TLinkOnClick action = FOnClick;
        action();
        return;
    }
    QLabel::mouseReleaseEvent(Event);
}

// ---------------------------------------------------------------------------
// THeaderStrip

THeaderStrip::THeaderStrip(TPanel* Panel, THeader* Header) : QWidget(Panel), FPanel(Panel), FHeader(Header) {
    setObjectName(QStringLiteral("HeaderStrip"));
}

void THeaderStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ButtonsColor());
    p.setPen(cLineColor);
    const int right = width() - 1;
    const int bottom = height() - 1;
    p.drawLine(0, bottom, right, bottom);
    // The panel's frame continues through the strip.
    p.drawLine(0, 0, right, 0);
    if (FPanel->BorderLeft())
        p.drawLine(0, 0, 0, bottom);
    if (FPanel->BorderRight())
        p.drawLine(right, 0, right, bottom);
}

void THeaderStrip::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    Relayout();
}

void THeaderStrip::Relayout() {
    if (FTitle) {
        FTitle->adjustSize();
        FTitle->move(cTitleLeft, cTitleTop);
    }
    int right = width() - cLinkRight;
    for (THeaderLink* link : {FDeleteLink, FEditLink}) {
        if (!link)
            continue;
        link->adjustSize();
        link->move(right - link->width(), cTitleTop);
        right -= link->width() + cLinkSpacing;
    }
    update();
}

// ---------------------------------------------------------------------------
// THeader

THeader::THeader(TPanel* Owner) : QObject(Owner), FOwner(Owner) {
    setObjectName(QStringLiteral("Header"));
}

QString THeader::CaptionLabel() const {
    return FTitleText.isEmpty() ? FHiddenCaption : FTitleText;
}

int THeader::StripHeight() const {
    const int lines = qMax(FTitleText.count(QLatin1Char('\r')), FTitleText.count(QLatin1Char('\n'))) + 1;
    return 16 * lines + 2;
}

void THeader::Dispose(QWidget* Part) {
    if (!Part)
        return;
    Part->hide();
    Part->deleteLater();
}

void THeader::EnsureStrip() {
    if (FStrip)
        return;
    FStrip = new THeaderStrip(FOwner, this);
    FStrip->show();
}

void THeader::DropStripIfEmpty() {
    if (FStrip && !FStrip->FTitle && !FStrip->FEditLink && !FStrip->FDeleteLink) {
        Dispose(FStrip);
        FStrip = nullptr;
    }
    FOwner->HeaderChanged();
}

void THeader::SetCaptionLabel(const QString& Text) {
    FTitleText = Text;
    if (Text.isEmpty()) {
        if (FStrip) {
            Dispose(FStrip->FTitle);
            FStrip->FTitle = nullptr;
        }
        DropStripIfEmpty();
        return;
    }
    EnsureStrip();
    if (!FStrip->FTitle) {
        auto* title = new TLabel(FStrip);
        title->setObjectName(QStringLiteral("lblHeaderCaption"));
        QFont f = title->font();
        f.setBold(true);
        title->setFont(f);
        title->SetIcon(FPicture);
        title->show();
        FStrip->FTitle = title;
    }
    // A carriage return-line feed pair is one line break.
    QString shown = Text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    FStrip->FTitle->SetCaption(shown);
    FStrip->Relayout();
    FOwner->HeaderChanged();
}

void THeader::SetCaptionPicture(const QPixmap& Picture) {
    FPicture = Picture;
    if (FStrip && FStrip->FTitle) {
        FStrip->FTitle->SetIcon(Picture);
        FStrip->Relayout();
    }
}

QString THeader::EditLabel() const {
    return FStrip && FStrip->FEditLink ? FStrip->FEditLink->text() : QString();
}

QString THeader::DeleteLabel() const {
    return FStrip && FStrip->FDeleteLink ? FStrip->FDeleteLink->text() : QString();
}

THeaderLink* THeader::MakeLink(const QString& Name, const TLinkOnClick& Action) {
    auto* link = new THeaderLink(FStrip);
    link->setObjectName(Name);
    link->SetOnClick(Action);
    link->show();
    return link;
}

void THeader::SetEditLabel(const QString& Text) {
    if (Text.isEmpty()) {
        if (FStrip) {
            Dispose(FStrip->FEditLink);
            FStrip->FEditLink = nullptr;
        }
        DropStripIfEmpty();
        return;
    }
    EnsureStrip();
    if (!FStrip->FEditLink)
        FStrip->FEditLink = MakeLink(QStringLiteral("lblHeaderEdit"), FEditOnClick);
    FStrip->FEditLink->setText(Text);
    FStrip->Relayout();
    FOwner->HeaderChanged();
}

void THeader::SetDeleteLabel(const QString& Text) {
    if (Text.isEmpty()) {
        if (FStrip) {
            Dispose(FStrip->FDeleteLink);
            FStrip->FDeleteLink = nullptr;
        }
        DropStripIfEmpty();
        return;
    }
    EnsureStrip();
    if (!FStrip->FDeleteLink) {
        FStrip->FDeleteLink = MakeLink(QStringLiteral("lblHeaderDelete"), FDeleteOnClick);
        FStrip->FDeleteLink->setEnabled(FDeleteEnabled);
    }
    FStrip->FDeleteLink->setText(Text);
    FStrip->Relayout();
    FOwner->HeaderChanged();
}

void THeader::SetEditOnClick(TLinkOnClick Action) {
    FEditOnClick = std::move(Action);
    if (FStrip && FStrip->FEditLink)
        FStrip->FEditLink->SetOnClick(FEditOnClick);
}

void THeader::SetDeleteOnClick(TLinkOnClick Action) {
    FDeleteOnClick = std::move(Action);
    if (FStrip && FStrip->FDeleteLink)
        FStrip->FDeleteLink->SetOnClick(FDeleteOnClick);
}

void THeader::SetDeleteLabelEnabled(bool Value) {
    FDeleteEnabled = Value;
    if (FStrip && FStrip->FDeleteLink)
        FStrip->FDeleteLink->setEnabled(Value);
}
