// Whether a widget can be seen, and word when that may have changed: the stage's and the menu's
// timelines run only while their widget is on screen.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;
class QWindow;

namespace tallowmere {

// Shown, in a window that is exposed and not minimised.
bool canBeSeen(const QWidget& widget);

// Calls `changed` whenever the widget may have come into or gone out of sight: its window exposed
// or covered, minimised or restored, shown or hidden (the window's state is already updated when
// its event arrives). The widget calls watch() when it is shown, as its window, or the window's
// handle, may be new by then.
class SightWatch final : public QObject {
public:
    SightWatch(QWidget& widget, std::function<void()> changed);

    void watch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_widget;
    std::function<void()> m_changed;
    QPointer<QWidget> m_top;
    QPointer<QWindow> m_window;
};

}  // namespace tallowmere
