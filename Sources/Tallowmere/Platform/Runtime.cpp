#include <Tallowmere/Platform/Runtime.hpp>

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#include <malloc.h>

#include <mutex>
#include <vector>

namespace tallowmere {

namespace {

struct MemoryReleases {
    std::mutex mutex;
    std::vector<std::function<void()>> forgets;
};

MemoryReleases& memoryReleases() {
    static MemoryReleases releases;
    return releases;
}

// Runs every cache's forget, outside the lock: a forget takes its cache's own lock.
void forgetUnused() {
    std::vector<std::function<void()>> forgets;
    {
        const std::lock_guard lock(memoryReleases().mutex);
        forgets = memoryReleases().forgets;
    }
    for (const auto& forget : forgets) forget();
}

// A second after a window is first resized or hidden, and again a second after the last time it
// was while the first second ran (a player dragging a window's corner), what was freed goes back.
// A trim takes a few milliseconds.
constexpr int kReleaseDelayMs = 1000;

// Watches every window of the application for a new size or for going away. The kept pictures
// drawn in the meantime are those the windows show now; the rest go when the second is up.
class FreedMemoryWatch : public QObject {
public:
    explicit FreedMemoryWatch(QObject* parent) : QObject(parent) {
        m_release.setSingleShot(true);
        m_release.setInterval(kReleaseDelayMs);
        connect(&m_release, &QTimer::timeout, this, [this] {
            releaseFreedMemory();
            if (m_changedSince) m_release.start();
            m_changedSince = false;
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Resize && type != QEvent::Hide) || !watched->isWindowType()) return false;
        if (m_release.isActive()) {
            m_changedSince = true;
        } else {
            forgetUnused();  // what is used from here on stays
            m_release.start();
        }
        return false;
    }

private:
    QTimer m_release;
    bool m_changedSince = false;  // a window changed again after the timer started
};

}  // namespace

void configureRuntime() {
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QCoreApplication* app = QCoreApplication::instance();
    static QPointer<QObject> watch;
    if (app && !watch) {
        watch = new FreedMemoryWatch(app);
        app->installEventFilter(watch);
    }
}

void releaseFreedMemory() {
    forgetUnused();
    malloc_trim(0);
}

void addMemoryRelease(std::function<void()> forget) {
    const std::lock_guard lock(memoryReleases().mutex);
    memoryReleases().forgets.push_back(std::move(forget));
}

}  // namespace tallowmere
