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
            forgetUnusedPictures();  // what is drawn from here on stays
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
    forgetUnusedPictures();
    malloc_trim(0);
}

}  // namespace tallowmere
