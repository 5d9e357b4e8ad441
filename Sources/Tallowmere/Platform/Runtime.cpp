#include <Tallowmere/Platform/Runtime.hpp>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QWindow>

#include <cerrno>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <mutex>
#include <vector>

namespace tallowmere {

namespace {

struct MemoryRelease {
    std::function<void()> mark;
    std::function<void()> forget;
};

struct MemoryReleases {
    std::mutex mutex;
    std::vector<MemoryRelease> caches;
};

MemoryReleases& memoryReleases() {
    static MemoryReleases releases;
    return releases;
}

// Runs `part` of every cache, outside the lock: each takes its cache's own lock.
void forEachCache(std::function<void()> MemoryRelease::*part) {
    std::vector<MemoryRelease> caches;
    {
        const std::lock_guard lock(memoryReleases().mutex);
        caches = memoryReleases().caches;
    }
    for (const MemoryRelease& cache : caches) (cache.*part)();
}

// A second after a window is first resized or hidden, and again a second after the last time it
// was while the first second ran (a player dragging a window's corner), what was freed goes back.
// A trim takes a few milliseconds.
constexpr int kReleaseDelayMs = 1000;

// The game's own windows, not the tooltips, menus and alerts the game's windows open: only the
// game's windows hold room-sized pictures.
bool isGameWindow(const QObject* object) {
    if (!object->isWindowType()) return false;
    return static_cast<const QWindow*>(object)->type() == Qt::Window;
}

// Watches the game's windows for a new size or for going away. The kept pictures drawn after the
// last change are those the windows show now; the rest go when the second is up.
class FreedMemoryWatch : public QObject {
public:
    explicit FreedMemoryWatch(QObject* parent) : QObject(parent) {
        m_release.setSingleShot(true);
        m_release.setInterval(kReleaseDelayMs);
        connect(&m_release, &QTimer::timeout, this, &FreedMemoryWatch::release);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Resize && type != QEvent::Hide) || !isGameWindow(watched)) return false;
        // A window at rest after a drag is not drawn again before the release, so the mark
        // follows every change rather than the releases.
        markMemoryInUse();
        if (m_release.isActive()) m_changedSince = true;
        else m_release.start();
        return false;
    }

    bool releaseNow() {
        if (!m_release.isActive()) return false;
        m_release.stop();
        release();
        return true;
    }

private:
    void release() {
        releaseFreedMemory();
        if (m_changedSince) m_release.start();
        m_changedSince = false;
    }

    QTimer m_release;
    bool m_changedSince = false;  // a window changed again after the timer started
};

QPointer<FreedMemoryWatch>& freedMemoryWatch() {
    static QPointer<FreedMemoryWatch> watch;
    return watch;
}

}  // namespace

void openClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open() takes the lowest free number, which is this one unless one below it could not
        // be opened either.
        const int null = ::open("/dev/null", O_RDWR | O_NOCTTY);
        if (null < 0 || null == fd) continue;
        ::dup2(null, fd);
        if (null > STDERR_FILENO) ::close(null);
    }
}

void configureRuntime() {
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QCoreApplication* app = QCoreApplication::instance();
    QPointer<FreedMemoryWatch>& watch = freedMemoryWatch();
    if (app && !watch) {
        watch = new FreedMemoryWatch(app);
        app->installEventFilter(watch);
    }
}

void markMemoryInUse() {
    forEachCache(&MemoryRelease::mark);
}

void releaseFreedMemory() {
    forEachCache(&MemoryRelease::forget);
    malloc_trim(0);
}

void addMemoryRelease(std::function<void()> mark, std::function<void()> forget) {
    const std::lock_guard lock(memoryReleases().mutex);
    memoryReleases().caches.push_back({std::move(mark), std::move(forget)});
}

bool runPendingMemoryRelease() {
    FreedMemoryWatch* watch = freedMemoryWatch();
    return watch && watch->releaseNow();
}

QString xdgBaseFolder(const char* variable, const char* underHome) {
    const QString named = qEnvironmentVariable(variable);
    if (!named.isEmpty() && QDir::isAbsolutePath(named)) return named;
    return QDir::homePath() + '/' + QLatin1String(underHome);
}

}  // namespace tallowmere
