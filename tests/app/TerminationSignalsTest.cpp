#include "app/TerminationSignals.h"

#include <QTest>
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
        EXPECT_TRUE(QTest::qWaitFor([&] { return ends == before + 1; }, 5000)) << "signal " << s << ": " << ends;
    }
}

} // namespace
