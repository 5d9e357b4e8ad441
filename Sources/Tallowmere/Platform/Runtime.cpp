#include <Tallowmere/Platform/Runtime.hpp>

#include <Tallowmere/Platform/Canvas.hpp>

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#include <malloc.h>

namespace tallowmere {

namespace {

// After this long without a window being resized or hidden, or at most this often while the
// player drags a window's corner, what was freed goes back (a trim takes a few milliseconds).
constexpr int kReleaseDelayMs = 1000;

// Watches every window of the application for a new size or for going away.
class FreedMemoryWatch : public QObject {
public:
    explicit FreedMemoryWatch(QObject* parent) : QObject(parent) {
        m_release.setSingleShot(true);
        m_release.setInterval(kReleaseDelayMs);
        connect(&m_release, &QTimer::timeout, this, [] { releaseFreedMemory(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Resize || type == QEvent::Hide) && watched->isWindowType() && !m_release.isActive())
            m_release.start();
        return false;
    }

private:
    QTimer m_release;
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
    forgetUnusedPictures();
    malloc_trim(0);
}

}  // namespace tallowmere
