// Delayed work on the main thread: the toast and intro lifetimes, the item-gained marker, the door
// sequence and the panels' feedback delays all run through one Scheduler.
//
// A task belongs to an owner QObject and is held weakly: once the owner is destroyed the task
// never runs, so pending work never keeps a model or a view alive nor touches a dead one.
// TimerScheduler runs tasks on QTimer; ManualScheduler runs them only when a test advances its
// clock, so timelines can be checked without waiting.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace tallowmere {

class Scheduler {
public:
    // Names one scheduled task; kNoTask names none, and cancelling it does nothing.
    using TaskID = std::uint64_t;
    static constexpr TaskID kNoTask = 0;

    virtual ~Scheduler() = default;

    // Runs `task` once on the main thread `seconds` from now (negative counts as 0), unless it is
    // cancelled first or `owner` is destroyed first. A null owner means the task has no owner
    // and always runs. Tasks due at the same moment run in the order they were scheduled.
    virtual TaskID after(double seconds, QObject* owner, std::function<void()> task) = 0;
    // Drops a task that has not run yet; a task that already ran or was dropped is ignored.
    virtual void cancel(TaskID task) = 0;
    // Seconds on this scheduler's monotonic clock; only differences are meaningful.
    virtual double now() const = 0;

protected:
    // Delays are kept in whole nanoseconds so that sums of delays match their literal totals.
    static std::int64_t toNanoseconds(double seconds);
};

// The real scheduler: one single-shot precise QTimer per task. Lives on the main thread.
class TimerScheduler final : public QObject, public Scheduler {
public:
    explicit TimerScheduler(QObject* parent = nullptr);
    ~TimerScheduler() override;

    TaskID after(double seconds, QObject* owner, std::function<void()> task) override;
    void cancel(TaskID task) override;
    double now() const override;

private:
    std::map<TaskID, QPointer<QObject>> m_timers;
    TaskID m_nextID = kNoTask;
    std::int64_t m_startNs = 0;
};

// A clock that stands still until advance(): for tests.
class ManualScheduler final : public Scheduler {
public:
    TaskID after(double seconds, QObject* owner, std::function<void()> task) override;
    void cancel(TaskID task) override;
    double now() const override;

    // Moves the clock forward and runs every task that falls due on the way, in due order, each
    // with the clock set to its due time; tasks scheduled by a running task are included when
    // they fall due within the same advance.
    void advance(double seconds);
    // Tasks that are scheduled and have neither run nor been cancelled.
    std::size_t pendingCount() const { return m_tasks.size(); }

private:
    struct Task {
        TaskID id = kNoTask;
        std::int64_t dueNs = 0;
        bool hasOwner = false;
        QPointer<QObject> owner;
        std::function<void()> run;
    };
    std::vector<Task> m_tasks;
    TaskID m_nextID = kNoTask;
    std::int64_t m_nowNs = 0;
};

}  // namespace tallowmere
