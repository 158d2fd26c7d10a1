#include "uEwidarComponents_Balloon.h"

#include "uEwidarComponents_Error.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace {

TErrorBalloon* g_balloon = nullptr;

void FreeBalloon() {
    delete g_balloon;
    g_balloon = nullptr;
}

// Height of the pointer triangle at the top edge.
constexpr int cTail = 8;

} // namespace

TErrorBalloon* TErrorBalloon::Instance() {
    if (!g_balloon) {
        g_balloon = new TErrorBalloon();
        qAddPostRoutine(FreeBalloon);
    }
    return g_balloon;
}

TErrorBalloon* TErrorBalloon::Existing() {
    return g_balloon;
}

TErrorBalloon::TErrorBalloon()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ErrorBalloon"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    FLabel = new QLabel(this);
    FLabel->setObjectName(QStringLiteral("lblBalloonText"));
    FLabel->setWordWrap(true);
    FLabel->setMaximumWidth(360);
    QPalette pal = FLabel->palette();
    pal.setColor(QPalette::WindowText, cTextColor);
    FLabel->setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6 + cTail, 8, 6);
    layout->addWidget(FLabel);
}

QString TErrorBalloon::Text() const {
    return FLabel->text();
}

void TErrorBalloon::ShowFor(QWidget* Owner, const QString& Text) {
    HideBalloon();
    if (!Owner)
        return;
    FOwner = Owner;
    FLabel->setText(Text);
    adjustSize();
    // Attached under the owner, its tail pointing at a spot near the owner's left edge.
    QPoint pos = Owner->mapToGlobal(QPoint(qMin(20, Owner->width() / 2) - 12, Owner->height() - 2));
    if (const QScreen* screen = Owner->screen()) {
        const QRect area = screen->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - width())));
    }
    move(pos);
    show();
    raise();
}

void TErrorBalloon::HideBalloon() {
    hide();
    FOwner = nullptr;
}

void TErrorBalloon::HideFor(const QWidget* Owner) {
    if (Owner && FOwner == Owner)
        HideBalloon();
}

void TErrorBalloon::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(0.5, cTail + 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(body, 4, 4);
    QPainterPath tail;
    tail.moveTo(12, body.top() + 1);
    tail.lineTo(12, 0.5);
    tail.lineTo(12 + cTail * 2, body.top() + 1);
    tail.closeSubpath();
    path = path.united(tail);
    p.setPen(QPen(cLineColor, 1));
    p.setBrush(cFieldColor);
    p.drawPath(path);
}
