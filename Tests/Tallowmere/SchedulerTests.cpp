// The delayed-task scheduler: due order, cancellation, weak owners, the manual clock.
#include <Tallowmere/Scheduler.hpp>

#include <gtest/gtest.h>

#include <QObject>
#include <QTest>

#include <limits>
#include <memory>
#include <string>
#include <vector>

using tallowmere::ManualScheduler;
using tallowmere::Scheduler;
using tallowmere::TimerScheduler;

TEST(SchedulerManual, RunsDueTasksInDueOrderThenSchedulingOrder) {
    ManualScheduler clock;
    QObject owner;
    std::vector<std::string> ran;
    std::vector<double> ranAt;
    auto record = [&](std::string name) {
        return [&, name] {
            ran.push_back(name);
            ranAt.push_back(clock.now());
        };
    };
    clock.after(2.0, &owner, record("late"));
    clock.after(1.0, &owner, record("tie-first"));
    clock.after(1.0, &owner, record("tie-second"));
    clock.after(0.5, &owner, record("early"));

    clock.advance(0.4);
    EXPECT_TRUE(ran.empty());
    clock.advance(0.6);  // reaches 1.0 exactly: due tasks run
    EXPECT_EQ(ran, (std::vector<std::string>{"early", "tie-first", "tie-second"}));
    EXPECT_EQ(ranAt, (std::vector<double>{0.5, 1.0, 1.0}));
    EXPECT_DOUBLE_EQ(clock.now(), 1.0);
    EXPECT_EQ(clock.pendingCount(), 1u);
    clock.advance(5);
    EXPECT_EQ(ran.back(), "late");
    EXPECT_DOUBLE_EQ(clock.now(), 6.0);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST(SchedulerManual, DelaysAddUpInWholeNanoseconds) {
    // The door sequence counts 1.15 + 0.45 + 0.1; each sum must land on its literal total.
    ManualScheduler clock;
    int steps = 0;
    clock.after(1.15, nullptr, [&] { ++steps; });
    clock.after(1.15 + 0.45, nullptr, [&] { ++steps; });
    clock.after(1.15 + 0.45 + 0.1, nullptr, [&] { ++steps; });
    clock.advance(1.15);
    EXPECT_EQ(steps, 1);
    clock.advance(0.45);
    EXPECT_EQ(steps, 2);
    clock.advance(0.1);
    EXPECT_EQ(steps, 3);
}

TEST(SchedulerManual, CancelledAndOrphanedTasksNeverRun) {
    ManualScheduler clock;
    auto owner = std::make_unique<QObject>();
    int cancelled = 0, orphaned = 0, ownerless = 0;
    const Scheduler::TaskID id = clock.after(1, owner.get(), [&] { ++cancelled; });
    clock.after(1, owner.get(), [&] { ++orphaned; });
    clock.after(1, nullptr, [&] { ++ownerless; });
    clock.cancel(id);
    clock.cancel(id);                  // twice is harmless
    clock.cancel(Scheduler::kNoTask);  // so is nothing
    owner.reset();
    clock.advance(2);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(orphaned, 0);
    EXPECT_EQ(ownerless, 1);
}

TEST(SchedulerManual, TasksScheduledWhileRunningJoinTheSameAdvance) {
    ManualScheduler clock;
    std::vector<double> ranAt;
    Scheduler::TaskID victim = Scheduler::kNoTask;
    clock.after(1, nullptr, [&] {
        ranAt.push_back(clock.now());
        clock.after(0.5, nullptr, [&] { ranAt.push_back(clock.now()); });  // due at 1.5
        clock.after(5, nullptr, [&] { ranAt.push_back(clock.now()); });    // due at 6
        clock.cancel(victim);
    });
    victim = clock.after(1.2, nullptr, [&] { ranAt.push_back(-1); });
    clock.advance(2);
    EXPECT_EQ(ranAt, (std::vector<double>{1.0, 1.5}));
}

TEST(SchedulerManual, OddDelaysRunOnTheNextAdvance) {
    ManualScheduler clock;
    int ran = 0;
    clock.after(-3, nullptr, [&] { ++ran; });
    clock.after(std::numeric_limits<double>::quiet_NaN(), nullptr, [&] { ++ran; });
    clock.after(std::numeric_limits<double>::infinity(), nullptr, [&] { ran += 100; });
    clock.advance(0);
    EXPECT_EQ(ran, 2);
    clock.advance(1e9);
    EXPECT_EQ(ran, 2);  // an infinite delay is far beyond any game
}

TEST(SchedulerTimer, RunsOnTheEventLoopUnlessCancelledOrOrphaned) {
    TimerScheduler timers;
    auto owner = std::make_unique<QObject>();
    bool ran = false, cancelledRan = false, orphanRan = false, last = false;
    timers.after(0, owner.get(), [&] { ran = true; });
    const Scheduler::TaskID id = timers.after(0, owner.get(), [&] { cancelledRan = true; });
    auto doomed = std::make_unique<QObject>();
    timers.after(0, doomed.get(), [&] { orphanRan = true; });
    timers.after(0.01, nullptr, [&] { last = true; });
    timers.cancel(id);
    doomed.reset();

    const double before = timers.now();
    ASSERT_TRUE(QTest::qWaitFor([&] { return last; }, 5000));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(cancelledRan);
    EXPECT_FALSE(orphanRan);
    EXPECT_GE(timers.now(), before);
}
