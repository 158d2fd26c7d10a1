#pragma once
// Installed as an application event filter: the time from its creation until a record
// window's first paint pass is over, when it closes that window. Shared by the tests
// that open record windows and by the benchmark of opening one.

#include "uEwidarRecordForm.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

class TFirstPaint : public QObject {
public:
    TFirstPaint() { m_clock.start(); }
    // Microseconds; -1 until the window painted.
    qint64 ElapsedUs = -1;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint && !m_painting && Watched->isWidgetType() &&
            qobject_cast<TRecordForm*>(static_cast<QWidget*>(Watched)->window())) {
            // Measured when the whole first paint pass is over and control is back in the loop.
            m_painting = true;
            QWidget* form = static_cast<QWidget*>(Watched)->window();
            QTimer::singleShot(0, form, [this, form] {
                ElapsedUs = m_clock.nsecsElapsed() / 1000;
                form->close();
            });
        }
        return false;
    }

private:
    QElapsedTimer m_clock;
    bool m_painting = false;
};
