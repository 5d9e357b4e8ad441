// The delayed-task scheduler: due order, cancellation, weak owners, the manual clock.
#include <Tallowmere/Platform/Scheduler.hpp>

#include <gtest/gtest.h>

#include <QObject>
#include <QTest>

#include <limits>
#include <memory>
#include <vector>

using tallowmere::ManualScheduler;
using tallowmere::Scheduler;
using tallowmere::TimerScheduler;

TEST(SchedulerManual, RunsDueTasksInDueOrderThenSchedulingOrderWithTheClockAtTheirTime) {
    ManualScheduler clock;
    std::vector<double> ranAt;
    Scheduler::TaskID victim = Scheduler::kNoTask;
    auto record = [&](double tag) { return [&, tag] { ranAt.insert(ranAt.end(), {tag, clock.now()}); }; };
    clock.after(2.0, nullptr, record(4));
    clock.after(1.0, nullptr, record(2));
    clock.after(1.0, nullptr, [&] {
        record(3)();
        clock.after(0.5, nullptr, record(5));  // due at 1.5: joins this advance
        clock.after(5, nullptr, record(6));    // due at 6: does not
        clock.cancel(victim);
    });
    clock.after(0.5, nullptr, record(1));
    victim = clock.after(1.2, nullptr, record(-1));

    clock.advance(0.4);
    EXPECT_TRUE(ranAt.empty());
    clock.advance(1.6);  // reaches 2.0 exactly: due tasks run
    EXPECT_EQ(ranAt, (std::vector<double>{1, 0.5, 2, 1.0, 3, 1.0, 5, 1.5, 4, 2.0}));
    EXPECT_DOUBLE_EQ(clock.now(), 2.0);
    EXPECT_EQ(clock.pendingCount(), 1u);
}

TEST(SchedulerManual, CancelledOrphanedAndOddTasks) {
    ManualScheduler clock;
    auto owner = std::make_unique<QObject>();
    int ran = 0;
    const Scheduler::TaskID id = clock.after(1, owner.get(), [&] { ran += 1000; });
    clock.after(1, owner.get(), [&] { ran += 1000; });  // orphaned below
    clock.after(1, nullptr, [&] { ++ran; });            // no owner: always runs
    clock.cancel(id);
    clock.cancel(id);                  // twice is harmless
    clock.cancel(Scheduler::kNoTask);  // so is nothing
    owner.reset();
    // Negative and NaN delays mean now; an infinite one is far beyond any game.
    clock.after(-3, nullptr, [&] { ++ran; });
    clock.after(std::numeric_limits<double>::quiet_NaN(), nullptr, [&] { ++ran; });
    clock.after(std::numeric_limits<double>::infinity(), nullptr, [&] { ran += 100; });
    clock.advance(0);
    EXPECT_EQ(ran, 2);
    clock.advance(1e9);
    EXPECT_EQ(ran, 3);
}

TEST(SchedulerTimer, RunsOnTheEventLoopUnlessCancelledOrOrphaned) {
    TimerScheduler timers;
    auto owner = std::make_unique<QObject>();
    auto doomed = std::make_unique<QObject>();
    bool ran = false, cancelledRan = false, orphanRan = false, last = false;
    timers.after(0, owner.get(), [&] { ran = true; });
    const Scheduler::TaskID id = timers.after(0, owner.get(), [&] { cancelledRan = true; });
    timers.after(0, doomed.get(), [&] { orphanRan = true; });
    timers.after(0.01, nullptr, [&] { last = true; });
    timers.cancel(id);
    doomed.reset();

    ASSERT_TRUE(QTest::qWaitFor([&] { return last; }, 5000));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(cancelledRan);
    EXPECT_FALSE(orphanRan);
}
