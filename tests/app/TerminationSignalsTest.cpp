#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// A signal that would end the process at once reaches the event loop
// instead, once per delivery; the test process surviving the raise is part
// of what is checked.
TEST(TerminationSignals, ReachTheEventLoopInsteadOfEndingTheProcess)
{
    int ends = 0;
    endOnTerminationSignals([&ends] { ++ends; });
    for (int s : {SIGTERM, SIGHUP, SIGINT}) {
        const int before = ends;
        ASSERT_EQ(std::raise(s), 0);
        QElapsedTimer timer;
        timer.start();
        while (ends == before && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(ends, before + 1) << "signal " << s;
    }
}

} // namespace
