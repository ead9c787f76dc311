#include "platform/exception.h"
#include "platform/guard.h"
#include "support/recording.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A window whose handler fails, and which counts what it handled after that.
class FailingWidget : public QWidget {
public:
    int handled = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            throw vq::Exception(QStringLiteral("'abc' is not a valid integer value"));
        }
        return QWidget::event(e);
    }
};

TEST(FailureHandling, FailureEscapingAnEventGoesToTheErrorBoxAndTheProgramCarriesOn) {
    vq::test::RecordingMessages boxes;
    FailingWidget w;
    QCoreApplication::postEvent(&w, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&w, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&w);
    EXPECT_EQ(w.handled, 2);
    EXPECT_EQ(boxes.errors(), QStringList({"'abc' is not a valid integer value.",
                                           "'abc' is not a valid integer value."}));
}

TEST(FailureHandling, GuardedHandlerStopsAtTheFailureAndReportsAnyException) {
    vq::test::RecordingMessages boxes;
    bool after = false;
    vq::guarded([&] {
        throw std::runtime_error("Cannot open file \"x\". No such file or directory");
        after = true;
    });
    EXPECT_FALSE(after);
    vq::guarded([] { throw vq::Exception(QStringLiteral("对不起")); });
    EXPECT_EQ(boxes.errors(),
              QStringList({"Cannot open file \"x\". No such file or directory.", "对不起."}));
}

TEST(FailureHandling, TimerTickFailureIsReportedAndTheTimerKeepsTicking) {
    vq::test::RecordingMessages boxes;
    QTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        vq::guarded([&] {
            ++ticks;
            throw vq::Exception(QStringLiteral("tick failed"));
        });
    });
    timer.start(0);
    for (int i = 0; i < 1000 && ticks < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(boxes.errors().value(0), QStringLiteral("tick failed."));
}

} // namespace
