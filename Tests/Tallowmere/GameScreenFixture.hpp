// A game model on a manual clock with recorded sounds and a private save file, and helpers to
// drive the game screen's widgets with real mouse and key events.
#pragma once

#include <Tallowmere/GameModel.hpp>
#include <Tallowmere/StageView.hpp>

#include "TestDoubles.hpp"

#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallowmere::testing {

inline QPointF centreOf(const ostrevan::Rect& r) {
    return QPointF(r.midX(), r.midY());
}

class GameScreenTest : public ::testing::Test {
protected:
    // A model playing `number` from its start (or on the menu when none).
    GameModel& startIn(std::optional<std::int64_t> number) {
        Environment env{savePath().string(), number ? std::optional(std::to_string(*number)) : std::nullopt,
                        std::nullopt, dir.filePath("data").toStdString()};
        model = std::make_unique<GameModel>(std::move(env), sound, clock);
        return *model;
    }

    std::filesystem::path savePath() const { return dir.filePath("save.json").toStdString(); }

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
    static void moveOnStage(StageView& stage, QPointF stagePoint) {
        QTest::mouseMove(&stage, stage.toWidget(stagePoint).toPoint());
    }

    QTemporaryDir dir;
    RecordingSound sound;
    ManualScheduler clock;
    std::unique_ptr<GameModel> model;
};

}  // namespace tallowmere::testing
