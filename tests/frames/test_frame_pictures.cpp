// Every section frame in a real record window: caption, labels that fit, a tab order
// that runs from top to bottom. With EWIDAR_FRAME_PICTURES naming a folder, each window
// is also saved there as a picture (frame class name, .png) for a look by eye.

#include "FrameKinds.h"
#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

namespace {

// The widgets that Tab reaches, in the window's focus chain, starting at the first.
QList<QWidget*> TabChain(QWidget* Window) {
    QList<QWidget*> chain;
    QWidget* start = Window->nextInFocusChain();
    for (QWidget* w = start; w && w != Window; w = w->nextInFocusChain()) {
        if (w->isVisibleTo(Window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            chain.append(w);
        if (w->nextInFocusChain() == start)
            break;
    }
    return chain;
}

} // namespace

TEST_F(FramesTest, EveryFrameFitsItsRecordWindowAndTabsTopDown) {
    const QString folder = qEnvironmentVariable("EWIDAR_FRAME_PICTURES");
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    for (const TFrameKind& kind : FrameKinds()) {
        SCOPED_TRACE(kind.Frame);
        const TIntfPtr<IEwidarRecord> record = NewRecord(kind);
        TRecordForm form(nullptr, m_db, kind.Serves, record, nullptr);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        TBaseFrame* frame = form.BaseFrame();
        ASSERT_TRUE(frame);
        // A new record's window is titled by its kind; the frame's own caption otherwise.
        const QString title = NewRecordTitle(record.get());
        EXPECT_EQ(form.windowTitle(),
                  title.isEmpty() ? frame->pnlContainer->Header()->CaptionLabel() : title);

        for (QLabel* label : frame->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(&form) || label->text().isEmpty())
                continue;
            const int needed =
                label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
            EXPECT_GE(label->height(), needed) << "cut: " << label->text().toStdString();
            EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry()))
                << "outside its parent: " << label->text().toStdString();
            if (!label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width())
                    << "cut: " << label->text().toStdString();
            }
        }
        for (QAbstractButton* box : frame->findChildren<QAbstractButton*>()) {
            if (box->isVisibleTo(&form) && !box->text().isEmpty()) {
                EXPECT_GE(box->width(), box->sizeHint().width()) << "cut: " << box->text().toStdString();
            }
        }

        const QList<QWidget*> chain = TabChain(&form);
        ASSERT_FALSE(chain.isEmpty());
        QPoint last(-1, -1);
        for (QWidget* w : chain) {
            if (!frame->pnlContainer->isAncestorOf(w))
                continue; // the buttons and the tabs come after the fields
            const QPoint at = w->mapTo(&form, QPoint(0, 0));
            EXPECT_TRUE(at.y() > last.y() || (at.y() == last.y() && at.x() > last.x()))
                << w->parentWidget()->objectName().toStdString() << " at " << at.y() << " after " << last.y();
            last = at;
        }
        if (!folder.isEmpty())
            form.grab().save(folder + QLatin1Char('/') + QLatin1String(kind.Frame) + QStringLiteral(".png"));
        form.close();
    }
    EXPECT_EQ(Messages->Count(), 0) << "an untouched new record closes without a question: "
                                    << Shown().toStdString();
}
