#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QUuid>

#include <memory>

namespace TestSupport {

QString TempRoot() {
    return qEnvironmentVariable("EWIDAR_TEST_ROOT");
}

QString NewTempDir(const QString& stem) {
    const QString path =
        TempRoot() + QLatin1Char('/') + stem + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128);
    QDir().mkpath(path);
    return path;
}

QString UserSettingsDir() {
    return TempRoot() + QStringLiteral("/config-user");
}
QString SystemSettingsDir() {
    return TempRoot() + QStringLiteral("/config-system");
}

void ClearSettings() {
    for (const QString& dir : {UserSettingsDir(), SystemSettingsDir()}) {
        QDir d(dir);
        d.removeRecursively();
        QDir().mkpath(dir);
    }
}

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    auto timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, timeoutMs]() {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(w);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void AnswerModalWithButton(const QString& buttonText, int timeoutMs) {
    WhenModal(
        [buttonText](QWidget* w) {
            if (!buttonText.isEmpty()) {
                for (auto* b : w->findChildren<QAbstractButton*>()) {
                    if (b->text().remove(QLatin1Char('&')) == buttonText && b->isVisible()) {
                        b->click();
                        return;
                    }
                }
            }
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
            else
                w->close();
        },
        timeoutMs);
}

} // namespace TestSupport

QT_BEGIN_NAMESPACE
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
