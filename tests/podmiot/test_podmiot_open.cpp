// Opening a large subject through the record window: the time to the first paint.

#include "PodmiotFixture.h"
#include "uEwidarQuorDBSymbole.h"
#include "uEwidarRecordForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <iostream>

namespace {

// Closes the record window once its first paint pass is over; the time until then.
class TFirstPaint : public QObject {
public:
    TFirstPaint() { m_clock.start(); }
    qint64 ElapsedUs = -1;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint && !m_painting && Watched->isWidgetType() &&
            qobject_cast<TRecordForm*>(static_cast<QWidget*>(Watched)->window())) {
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

} // namespace

TEST_F(PodmiotTest, TaxpayerWithFiftyAddressesAndTwoHundredEmployeesOpens) {
    InstallRecordForms();
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Duży")}});
    auto addresses = Supports<IPodmiot>(taxpayer)->GetAdresy();
    for (int i = 0; i < 50; ++i) {
        auto a = addresses->New();
        SetValue(a.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Miasto %1").arg(i));
        ASSERT_TRUE(a->Post());
    }
    auto people = Supports<IPodatnik>(taxpayer)->GetPracownicy(0, 0);
    for (int i = 0; i < 200; ++i) {
        auto p = people->New();
        SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pracownik %1").arg(i));
        ASSERT_TRUE(p->Post());
    }
    QList<qint64> times;
    for (int i = 0; i < 5; ++i) {
        TFirstPaint probe;
        qApp->installEventFilter(&probe);
        ShowRecordForm(nullptr, taxpayer.get(), kPodatnik, m_db.get());
        qApp->removeEventFilter(&probe);
        ASSERT_GE(probe.ElapsedUs, 0);
        times.append(probe.ElapsedUs);
    }
    std::sort(times.begin(), times.end());
    const double medianMs = double(times[times.size() / 2]) / 1000.0;
    std::cout << "subject window (50 addresses, 200 employees) first paint: median " << medianMs << " ms\n";
    // Generous here: the test build runs under the sanitizers; the target is 500 ms in a release build.
    EXPECT_LT(medianMs, 1500);
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    // The lists hold what was stored.
    EXPECT_EQ(Supports<IPodmiot>(taxpayer)->GetAdresy()->GetCount(), 50);
}
