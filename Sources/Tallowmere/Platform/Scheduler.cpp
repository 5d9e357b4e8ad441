#include <Tallowmere/Platform/Scheduler.hpp>

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace tallowmere {

namespace {

constexpr double kNsPerSecond = 1e9;
constexpr std::int64_t kNsPerMs = 1'000'000;
// About 146 years: far beyond any delay.
constexpr std::int64_t kMaxDelayNs = std::int64_t{1} << 62;

// A clock reading plus a delay, pinned at the largest reading instead of overflowing.
std::int64_t later(std::int64_t nowNs, std::int64_t delayNs) {
    return nowNs > INT64_MAX - delayNs ? INT64_MAX : nowNs + delayNs;
}

std::int64_t monotonicNs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.nsecsElapsed();
}

}  // namespace

std::int64_t Scheduler::toNanoseconds(double seconds) {
    // NaN and negatives mean "now"; rounding (not truncation) keeps 1.15 + 0.45 equal to 1.6.
    if (!(seconds > 0)) return 0;
    const double ns = std::round(seconds * kNsPerSecond);
    if (ns >= static_cast<double>(kMaxDelayNs)) return kMaxDelayNs;
    return static_cast<std::int64_t>(ns);
}

// ---------------------------------------------------------------------------------------------
// TimerScheduler

TimerScheduler::TimerScheduler(QObject* parent) : QObject(parent), m_startNs(monotonicNs()) {}

TimerScheduler::~TimerScheduler() = default;  // the timers are children and go with us

Scheduler::TaskID TimerScheduler::after(double seconds, QObject* owner, std::function<void()> task) {
    const TaskID id = ++m_nextID;
    // QTimer counts whole milliseconds in an int; round up so a task never runs early.
    const std::int64_t delayNs = toNanoseconds(seconds);
    const std::int64_t delayMs = std::min<std::int64_t>((delayNs + kNsPerMs - 1) / kNsPerMs, INT_MAX);

    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    const bool hasOwner = owner != nullptr;
    QPointer<QObject> weakOwner(owner);
    connect(timer, &QTimer::timeout, this,
            [this, id, timer, hasOwner, weakOwner, run = std::move(task)] {
                m_timers.erase(id);
                timer->deleteLater();  // not delete: we are inside its signal
                if (hasOwner && weakOwner.isNull()) return;
                run();
            });
    m_timers.emplace(id, timer);
    timer->start(static_cast<int>(delayMs));
    return id;
}

void TimerScheduler::cancel(TaskID task) {
    const auto found = m_timers.find(task);
    if (found == m_timers.end()) return;
    if (QObject* timer = found->second.data()) {
        static_cast<QTimer*>(timer)->stop();
        timer->deleteLater();  // a task may cancel another from inside a timer signal
    }
    m_timers.erase(found);
}

double TimerScheduler::now() const {
    return static_cast<double>(monotonicNs() - m_startNs) / kNsPerSecond;
}

// ---------------------------------------------------------------------------------------------
// ManualScheduler

Scheduler::TaskID ManualScheduler::after(double seconds, QObject* owner, std::function<void()> task) {
    const TaskID id = ++m_nextID;
    m_tasks.push_back(Task{id, later(m_nowNs, toNanoseconds(seconds)), owner != nullptr, owner, std::move(task)});
    return id;
}

void ManualScheduler::cancel(TaskID task) {
    std::erase_if(m_tasks, [task](const Task& t) { return t.id == task; });
}

double ManualScheduler::now() const {
    return static_cast<double>(m_nowNs) / kNsPerSecond;
}

void ManualScheduler::advance(double seconds) {
    const std::int64_t targetNs = later(m_nowNs, toNanoseconds(seconds));
    for (;;) {
        // Earliest due first; ids grow with scheduling order, so they break ties.
        const auto next = std::min_element(m_tasks.begin(), m_tasks.end(), [](const Task& a, const Task& b) {
            return a.dueNs != b.dueNs ? a.dueNs < b.dueNs : a.id < b.id;
        });
        if (next == m_tasks.end() || next->dueNs > targetNs) break;
        Task task = std::move(*next);
        m_tasks.erase(next);
        m_nowNs = std::max(m_nowNs, task.dueNs);
        if (task.hasOwner && task.owner.isNull()) continue;
        task.run();
    }
    m_nowNs = targetNs;
}

}  // namespace tallowmere
