// Opens the real game window on a display (run under Xvfb by ctest), plays room 1 with real
// mouse clicks - the vase, the key in the bar, the door - and waits for room 2's intro card.
// Usage: tallowmere_window_smoke [FOLDER]; with a folder it also saves a PNG of each step.
#include "PrivateHome.hpp"

#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/HUD.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/StageView.hpp>

#include <Ostrevan/Levels.hpp>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tallowmere;

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "window smoke test failed: %s\n", what);
    return 1;
}

QPoint stagePoint(const StageView& stage, const char* propID) {
    const ostrevan::Rect r = ostrevan::Levels::all().front().prop(propID)->rect;
    return stage.toWidget(QPointF(r.midX(), r.midY())).toPoint();
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!usePrivateHome(home)) return fail("no temporary folder");
    setenv("TM_START_ROOM", "1", 1);
    const QString shots = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QApplication app(argc, argv);
    configureApplication(app);
    GameModel model;
    MainWindow window(model, [] { Sound::shared().startAmbient(); });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return fail("the window never showed");
    auto shot = [&](const char* name) {
        if (!shots.isEmpty()) window.grab().save(shots + "/" + name + ".png");
    };

    auto* game = qobject_cast<GameView*>(window.rootView()->currentScreen());
    if (!game) return fail("the game screen is not shown");
    StageView& stage = *game->stage();
    QTest::qWait(300);
    shot("1-room1");

    QTest::mouseMove(&stage, stagePoint(stage, "vase"));
    QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, stagePoint(stage, "vase"));
    if (model.state().inventory != std::vector<std::string>{"key"}) return fail("the vase gave no key");
    QTest::qWait(400);
    shot("2-key-found");

    InventoryBar& bar = *game->inventoryBar();
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, bar.tileRect(0).center().toPoint());
    if (model.state().selected != "key") return fail("the key was not selected");
    QTest::mouseMove(&stage, stagePoint(stage, "door") + QPoint(-20, 40));
    QTest::qWait(300);
    shot("3-key-held");

    QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, stagePoint(stage, "door"));
    if (!model.doorOpenStart()) return fail("the door did not open");
    QTest::qWait(700);
    shot("4-door-open");
    const bool arrived = QTest::qWaitFor(
        [&] { return model.intro() && model.intro()->number == 2 && game->introCard()->isVisible(); }, 8000);
    if (!arrived) return fail("room 2's intro card never showed");
    QTest::qWait(800);
    shot("5-room2");
    std::puts("window smoke test passed");
    return 0;
}
