#include "TForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

TForm::TForm(QWidget* OwnerWindow, QWidget* Parent) : QDialog(Parent), FOwnerWindow(OwnerWindow) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
}

QPoint TForm::WindowPosition(const std::optional<QRect>& Owner, const QSize& Size, const QRect& Screen) {
    const int W = Screen.width();
    const int H = Screen.height();
    const int w = Size.width();
    const int h = Size.height();
    int left = 0;
    int top = 0;
    if (Owner) {
        // Screen-relative owner rectangle.
        const int L = Owner->x() - Screen.x();
        const int T = Owner->y() - Screen.y();
        left = L + (Owner->width() - w) / 2;
        top = T + (Owner->height() - h) / 2;
        const bool offScreen = L >= W || L + Owner->width() <= 0 || T >= H || T + Owner->height() <= 0;
        if (offScreen)
            return QPoint(Screen.x() + left, Screen.y() + top);
    } else {
        left = (W - w) / 2;
        top = (H - h) / 2;
    }
    if (top + h > H - TaskbarMargin)
        top = H - h - TaskbarMargin;
    top = qMax(top, 0);
    if (left + w > W)
        left = W - w;
    left = qMax(left, 0);
    return QPoint(Screen.x() + left, Screen.y() + top);
}

void TForm::PlaceWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    std::optional<QRect> owner;
    if (FOwnerWindow)
        owner = FOwnerWindow->window()->frameGeometry();
    move(WindowPosition(owner, frameGeometry().size(), screen->geometry()));
}

void TForm::showEvent(QShowEvent* Event) {
    // Placed before the window reaches the screen, so it never appears elsewhere first.
    if (FFirstActivation && !Event->spontaneous()) {
        FFirstActivation = false;
        PlaceWindow();
    }
    QDialog::showEvent(Event);
}
