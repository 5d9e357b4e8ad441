// A game model on a manual clock with recorded sounds and a private save file, and helpers to
// drive the screens' widgets with real mouse and key events.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Screens/StageView.hpp>

#include "TestDoubles.hpp"

#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QCursor>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// Runs events until `condition` holds, and stops the test if it does not within five seconds.
// (QTest's QTRY_VERIFY only returns from the test when it times out, and the test passes.)
#define WAIT_UNTIL(condition) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, 5000)) << "waited in vain for " #condition

namespace tallowmere::testing {

inline QPointF centreOf(const ostrevan::Rect& r) {
    return QPointF(r.midX(), r.midY());
}

// A panel of the catalogue and the room that holds it.
struct Found {
    std::int64_t room = 0;
    const ostrevan::Panel* panel = nullptr;
};

// The first catalogue panel of that kind that `accept` takes.
template <class Kind>
Found findPanel(const std::function<bool(const ostrevan::Panel&)>& accept = {}) {
    for (const auto& level : ostrevan::Levels::all()) {
        for (const auto& [id, panel] : level.panels) {
            if (std::holds_alternative<Kind>(panel.kind) && (!accept || accept(panel))) return {level.id, &panel};
        }
    }
    ADD_FAILURE() << "no such panel in the catalogue";
    return {};
}

inline void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
}

// What `window` holds on screen in `area`, once whatever is pending is painted (the window
// paints a few milliseconds after an update asks; one corner pixel more is painted besides).
inline QImage shownOnScreen(QWidget& window, const QRect& area) {
    window.repaint(QRect(0, 0, 1, 1));
    QPaintDevice* device = window.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image) return {};
    const double dpr = window.devicePixelRatioF();
    return static_cast<QImage*>(device)->copy(QRectF(QPointF(area.topLeft()) * dpr, QSizeF(area.size()) * dpr).toRect());
}

// What `window` holds in `area` once it is painted whole afresh: what the partial repaints before
// must have left there. A widget's own repaint leaves its opaque children (the stage) as they
// are, so each widget is repainted.
inline QImage shownAfterWholeRepaint(QWidget& window, const QRect& area) {
    window.repaint();
    for (QWidget* widget : window.findChildren<QWidget*>())
        if (widget->isVisible()) widget->repaint();
    return shownOnScreen(window, area);
}

class GameScreenTest : public ::testing::Test {
protected:
    // What the process would see: an optional start room and an optional TM_SHOW.
    Environment env(std::optional<std::int64_t> number = std::nullopt,
                    std::optional<std::string> show = std::nullopt) const {
        return Environment{savePath().string(), number ? std::optional(std::to_string(*number)) : std::nullopt,
                           std::move(show), dir.filePath("data").toStdString()};
    }
    GameModel& start(Environment environment, SoundOutput* output = nullptr) {
        model = std::make_unique<GameModel>(std::move(environment), output ? *output : sound, clock);
        return *model;
    }
    // A model playing `number` from its start (or on the menu when none).
    GameModel& startIn(std::optional<std::int64_t> number) { return start(env(number)); }
    // A model resuming `file` behind the main menu.
    GameModel& startWithSave(const ostrevan::SaveFile& file) {
        std::ofstream(savePath()) << ostrevan::SaveStore::encode(file);
        return start(env());
    }

    std::filesystem::path savePath() const { return dir.filePath("save.json").toStdString(); }
    static std::string bytesAt(const std::filesystem::path& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string savedBytes() const { return bytesAt(savePath()); }
    bool savedMatchesModel() const {
        return ostrevan::SaveStore::load(savePath()) == ostrevan::SaveFile{model->state(), model->best()};
    }

    // Shows `widget` as a window of the given size and waits until it is on screen.
    static void showAt(QWidget& widget, QSize size) {
        widget.resize(size);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }

    // A left click at a stage point of `stage`.
    static void clickStage(StageView& stage, QPointF stagePoint) {
        QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, stage.toWidget(stagePoint).toPoint());
    }
    // Moved through the window, as a real pointer is: at a scale other than 1 a move sent to
    // the widget itself lands elsewhere.
    static void moveOnStage(StageView& stage, QPointF stagePoint) {
        QWidget* window = stage.window();
        const QPoint at = stage.toWidget(stagePoint).toPoint();
        QCursor::setPos(stage.mapToGlobal(at));
        QTest::mouseMove(window->windowHandle(), stage.mapTo(window, at));
    }

    QTemporaryDir dir;
    RecordingSound sound;
    ManualScheduler clock;
    std::unique_ptr<GameModel> model;
};

}  // namespace tallowmere::testing
