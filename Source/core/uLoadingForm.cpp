#include "uLoadingForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace uLoadingForm {

namespace {

constexpr int kClientWidth = 417;
constexpr int kClientHeight = 121;
constexpr int kStripHeight = 25;
const QColor kFillColour(0xA6, 0xCA, 0xF0);

QPointer<TLoadingForm> g_instance;

} // namespace

TProgressStrip::TProgressStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlProgress"));
    setFixedHeight(kStripHeight);
    setAutoFillBackground(true);
    // The strip keeps the usual face colour of controls, so its extent shows on the white window.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    setPalette(pal);
}

void TProgressStrip::setProcent(int p) {
    m_procent = p;
    update();
}

int TProgressStrip::filledWidth() const {
    return static_cast<int>(std::lround(static_cast<double>(m_procent) * width() / 100.0));
}

QString TProgressStrip::text() const {
    return QString::number(m_procent) + QLatin1Char('%');
}

void TProgressStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int filled = filledWidth();
    p.fillRect(QRect(0, 0, filled, height()), kFillColour);
    p.fillRect(QRect(filled, 0, width() - filled, height()), palette().color(QPalette::Window));
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter, text());
}

TLoadingForm::TLoadingForm(QWidget* OwnerForm) : QDialog(OwnerForm), FOwnerForm(OwnerForm) {
    setObjectName(QStringLiteral("LoadingForm"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel2->setLineWidth(1);
    Panel2->setGeometry(0, 0, kClientWidth, kClientHeight);

    Panel1 = new QFrame(Panel2);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(kClientWidth - 40, kClientHeight - 30);
    auto* inner = new QVBoxLayout(Panel1);
    inner->setContentsMargins(0, 0, 0, 0);

    lblCaption = new QLabel(Panel1);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setAlignment(Qt::AlignCenter);
    QFont f = lblCaption->font();
    f.setPixelSize(13);
    f.setBold(true);
    lblCaption->setFont(f);
    inner->addWidget(lblCaption, 1);

    auto* row = new QHBoxLayout();
    pnlProgress = new TProgressStrip(Panel1);
    row->addWidget(pnlProgress, 1);
    btnCancel = new QToolButton(Panel1);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setText(QStringLiteral("Anuluj"));
    btnCancel->setFixedHeight(kStripHeight);
    row->addWidget(btnCancel);
    inner->addLayout(row);
    connect(btnCancel, &QToolButton::clicked, this, &TLoadingForm::btnCancelClick);

    FProgressLabel = new QLabel(this);
    FProgressLabel->setObjectName(QStringLiteral("FProgressLabel"));
    FProgressLabel->hide();

    lblCaption->hide();
    pnlProgress->hide();
    btnCancel->hide();
    SetProcent(0);
}

QString TLoadingForm::Caption() const {
    return lblCaption->text();
}

void TLoadingForm::SetCaption(const QString& Text) {
    lblCaption->setText(Text);
}

void TLoadingForm::SetProcent(int Value) {
    FProcent = Value;
    pnlProgress->setProcent(Value);
    FProgressLabel->setText(pnlProgress->text());
}

void TLoadingForm::SetLayout(TLayout Value) {
    if (Value == FLayout)
        return;
    FLayout = Value;
    switch (Value) {
    case TLayout::lCaption:
        lblCaption->show();
        pnlProgress->hide();
        btnCancel->hide();
        break;
    case TLayout::lProgressBar:
        lblCaption->hide();
        pnlProgress->show();
        btnCancel->show();
        break;
    case TLayout::lCaptionProgressBar:
        lblCaption->show();
        pnlProgress->show();
        btnCancel->show();
        break;
    case TLayout::lNone:
        break;
    }
    if (!isVisible())
        show();
    Panel1->move((Panel2->width() - Panel1->width()) / 2, (Panel2->height() - Panel1->height()) / 2);
    CenterOverOwner();
}

void TLoadingForm::CenterOverOwner() {
    QRect area;
    if (FOwnerForm)
        area = FOwnerForm->frameGeometry();
    else if (QScreen* s = QGuiApplication::primaryScreen())
        area = s->geometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void TLoadingForm::btnCancelClick() {
    FCloseType = TCloseType::ctCancelProgress;
    hide();
}

TCloseType ShowLoading(QWidget* Owner, TLayout Layout, const QString& Caption, int Percent) {
    if (!g_instance) {
        if (Owner)
            Owner->setEnabled(false);
        g_instance = new TLoadingForm(Owner);
    }
    g_instance->SetLayout(Layout);
    g_instance->SetCaption(Caption);
    g_instance->SetProcent(Percent);
    const TCloseType result = g_instance->CloseType();
    QCoreApplication::processEvents();
    return result;
}

void HideLoading() {
    if (!g_instance)
        return;
    if (QWidget* owner = g_instance->OwnerForm())
        owner->setEnabled(true);
    delete g_instance.data();
    g_instance = nullptr;
}

TLoadingForm* LoadingForm() {
    return g_instance.data();
}

} // namespace uLoadingForm
