// The game model: start cases, guards, save points, toasts, the intro card, the item marker and
// the door sequence, all on a manual clock with recorded sounds and a private save file.
//
// Room content is changing while the catalogue is written; these tests rely only on room 1
// (the vase gives the key, the key opens the door) and otherwise on room numbers.
#include <Tallowmere/GameModel.hpp>

#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestDoubles.hpp"

using namespace tallowmere;
using tallowmere::testing::RecordingSound;
using tallowmere::testing::room;
using ostrevan::Engine::begin;
using ostrevan::GameState;
using ostrevan::SaveFile;
using ostrevan::Sfx;
namespace ev = ostrevan::ev;
using Screen = GameModel::Screen;
using What = GameModel::What;

namespace {

class GameModelTest : public ::testing::Test {
protected:
    Environment env(std::optional<std::string> startRoom = std::nullopt,
                    std::optional<std::string> show = std::nullopt) const {
        return Environment{savePath().string(), std::move(startRoom), std::move(show),
                           dir.filePath("data").toStdString()};
    }
    GameModel& make(Environment environment) {
        model = std::make_unique<GameModel>(std::move(environment), sound, clock);
        QObject::connect(model.get(), &GameModel::changed,
                         [this](What what, Transition how) { changes.emplace_back(what, how); });
        return *model;
    }
    GameModel& startIn(std::int64_t number) { return make(env(std::to_string(number))); }

    std::filesystem::path savePath() const { return dir.filePath("save.json").toStdString(); }
    void writeSave(const std::string& text) const { std::ofstream(savePath()) << text; }
    void writeSave(const SaveFile& file) const { writeSave(ostrevan::SaveStore::encode(file)); }
    std::optional<SaveFile> saved() const { return ostrevan::SaveStore::load(savePath()); }
    std::string savedBytes() const {
        std::ifstream in(savePath());
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Whether the file holds exactly the model's state and best.
    bool savedMatchesModel() const { return saved() == SaveFile{model->state(), model->best()}; }
    std::optional<Transition> lastChange(What what) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->first == what) return it->second;
        return std::nullopt;
    }

    QTemporaryDir dir;
    ManualScheduler clock;
    RecordingSound sound;
    std::unique_ptr<GameModel> model;
    std::vector<std::pair<What, Transition>> changes;
};

constexpr Transition kSpringIn{Transition::Curve::spring, 0.3, 0.85};
constexpr Transition kFadeOut03{Transition::Curve::easeOut, 0.3};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Start-up

TEST(GameModelParse, DecimalIsStrict) {
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases = {
        {"7", 7}, {"+7", 7}, {"07", 7}, {"-3", -3}, {"0", 0}, {"51", 51},
        {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN},
        {"", std::nullopt}, {" 7", std::nullopt}, {"7 ", std::nullopt}, {"7a", std::nullopt},
        {"+", std::nullopt}, {"-", std::nullopt}, {"+-7", std::nullopt}, {"-+7", std::nullopt},
        {"++7", std::nullopt}, {"0x7", std::nullopt}, {"7.0", std::nullopt},
        {"9223372036854775808", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseDecimal(text), expected) << '"' << text << '"';
}

TEST_F(GameModelTest, StartRoomOverridesTheSaveOnlyWhenUsable) {
    const SaveFile stored{begin(room(12)), 20};
    const std::vector<std::pair<std::string, std::int64_t>> usable = {{"7", 7}, {"+7", 7}, {"07", 7}, {"50", 50}};
    for (const auto& [value, number] : usable) {
        writeSave(stored);
        const GameModel& m = make(env(value, "ending"));
        EXPECT_EQ(m.state(), begin(room(number))) << value;
        EXPECT_EQ(m.best(), number);
        EXPECT_TRUE(m.hasSave());
        EXPECT_EQ(m.screen(), Screen::playing);
        EXPECT_FALSE(m.intro());
        EXPECT_EQ(saved(), stored) << "nothing is written at start";
    }
    for (const std::string value : {"0", "51", "-3", " 7", "7a", "", "99999999999999999999"}) {
        writeSave(stored);
        const GameModel& m = make(env(value));
        EXPECT_EQ(m.state(), stored.state) << '"' << value << '"';
        EXPECT_EQ(m.best(), 20);
        EXPECT_EQ(m.screen(), Screen::menu);
    }
}

TEST_F(GameModelTest, ShowEndingIsExact) {
    writeSave(SaveFile{begin(room(12)), 20});
    const GameModel& ending = make(env(std::nullopt, "ending"));
    EXPECT_EQ(ending.screen(), Screen::ending);
    EXPECT_EQ(ending.state(), begin(room(50)));
    EXPECT_EQ(ending.best(), 50);
    EXPECT_FALSE(ending.hasSave());
    for (const std::string value : {"Ending", "ending ", "ENDING", ""}) {
        const GameModel& m = make(env("0", value));
        EXPECT_EQ(m.screen(), Screen::menu) << value;
        EXPECT_EQ(m.state().level, 12);
    }
}

TEST_F(GameModelTest, SaveFileCases) {
    GameState finished = begin(room(50));
    finished.finished = true;
    GameState midway = begin(room(5));
    midway.inventory = {"ghost"};
    struct Case {
        std::string name;
        std::optional<std::string> text;  // nullopt: no file at all
        std::int64_t level, best;
        bool hasSave;
    };
    const std::vector<Case> cases = {
        {"missing", std::nullopt, 1, 1, false},
        {"empty", "", 1, 1, false},
        {"damaged", "{\"state\": {\"level\": 4", 1, 1, false},
        {"finished", ostrevan::SaveStore::encode({finished, 50}), 50, 50, false},
        {"midway", ostrevan::SaveStore::encode({midway, 12}), 5, 12, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(savePath());
        if (c.text) writeSave(*c.text);
        const GameModel& m = make(env());
        EXPECT_EQ(m.screen(), Screen::menu) << c.name;
        EXPECT_EQ(m.state().level, c.level) << c.name;
        EXPECT_EQ(m.best(), c.best) << c.name;
        EXPECT_EQ(m.hasSave(), c.hasSave) << c.name;
    }
    // Room numbers outside the list start fresh, whatever the stored best.
    for (const std::int64_t level : {0, 51, -1}) {
        GameState odd = begin(room(3));
        odd.level = level;
        writeSave(SaveFile{odd, 30});
        const GameModel& m = make(env());
        EXPECT_EQ(m.state(), begin(room(1))) << level;
        EXPECT_EQ(m.best(), 1);
        EXPECT_FALSE(m.hasSave());
    }
}

TEST_F(GameModelTest, FinishedSaveContinuesAsNewGameAndBestIsKept) {
    GameState finished = begin(room(50));
    finished.finished = true;
    writeSave(SaveFile{finished, 50});
    GameModel& m = make(env());
    m.continueGame();
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_EQ(m.best(), 50);
    EXPECT_EQ(m.screen(), Screen::playing);
    EXPECT_TRUE(savedMatchesModel());
    EXPECT_EQ(sound.ambientStarts, 1);

    writeSave(SaveFile{begin(room(5)), 12});
    GameModel& resumed = make(env());
    resumed.continueGame();  // resumes without saving
    EXPECT_EQ(resumed.state().level, 5);
    ASSERT_TRUE(resumed.intro());
    EXPECT_EQ(resumed.intro()->number, 5);
    EXPECT_EQ(saved()->best, 12);
    resumed.newGame();
    EXPECT_EQ(resumed.best(), 12);
    EXPECT_TRUE(savedMatchesModel());
}

TEST_F(GameModelTest, SaveLocationAndInventory) {
    Environment noPath = env();
    noPath.savePath.reset();
    EXPECT_EQ(make(noPath).savePath(), std::filesystem::path(dir.filePath("data/Tallowmere/save.json").toStdString()));
    Environment emptyPath = env();
    emptyPath.savePath = "";
    EXPECT_EQ(make(emptyPath).savePath(), std::filesystem::path());
    EXPECT_EQ(Environment::fromProcess().savePath, qgetenv("TM_SAVE_PATH").toStdString());

    // The inventory skips ids the room does not know, keeping the order of the rest.
    GameState state = begin(room(1));
    state.inventory = {"key", "ghost", "key"};
    writeSave(SaveFile{state, 1});
    const auto items = make(env()).inventory();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, "key");
    EXPECT_EQ(items[1].id, "key");
}

TEST_F(GameModelTest, FailedSaveKeepsPlaying) {
    Environment blocked = env("1");
    writeSave("a file, not a folder");
    blocked.savePath = (savePath() / "save.json").string();
    GameModel& m = make(blocked);
    ::testing::internal::CaptureStderr();
    m.tapProp("vase");
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("Tallowmere: could not save progress: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    EXPECT_EQ(m.state().inventory, std::vector<std::string>{"key"});
    EXPECT_TRUE(m.hasSave());
}

// ---------------------------------------------------------------------------------------------
// Actions

TEST_F(GameModelTest, ClickGuardsRefuseWithoutSaving) {
    struct Case {
        std::string name;
        void (*setUp)(GameModel&);
    };
    const std::vector<Case> refused = {
        {"panel open", [](GameModel& m) { m.setPanelID("pad"); }},
        {"paused", [](GameModel& m) { m.setPaused(true); }},
        {"door opening", [](GameModel& m) { m.handle({ev::enter()}); }},
        {"menu", [](GameModel& m) { m.setScreen(Screen::menu); }},
        {"ending", [](GameModel& m) { m.setScreen(Screen::ending); }},
    };
    for (const Case& c : refused) {
        std::filesystem::remove(savePath());
        GameModel& m = startIn(1);
        c.setUp(m);
        m.tapProp("vase");
        m.tapItem("key");
        EXPECT_EQ(m.state(), begin(room(1))) << c.name;
        EXPECT_FALSE(std::filesystem::exists(savePath())) << c.name;
        m.hint();
        const bool hintServed = c.name == "panel open";  // an open panel does not stop a hint
        EXPECT_EQ(m.state().hintCount, hintServed ? 1 : 0) << c.name;
        EXPECT_EQ(std::filesystem::exists(savePath()), hintServed) << c.name;
    }

    GameModel& helped = startIn(1);
    helped.setShowHelp(true);
    helped.tapProp("no-such-prop");  // accepted and saved although nothing changed
    EXPECT_TRUE(savedMatchesModel());
    helped.tapProp("vase");
    EXPECT_EQ(helped.state().inventory, std::vector<std::string>{"key"});
}

TEST_F(GameModelTest, SavePointsFollowEveryAcceptedAction) {
    GameModel& m = make(env());
    m.newGame();
    EXPECT_EQ(saved(), (SaveFile{begin(room(1)), 1}));
    EXPECT_EQ(sound.ambientStarts, 1);

    m.tapProp("vase");
    EXPECT_TRUE(savedMatchesModel());
    EXPECT_TRUE(m.state().flags.contains("took_key"));
    EXPECT_EQ(m.gainedItem(), "key");
    EXPECT_EQ(sound.played, std::vector<Sfx>{Sfx::pickup});

    m.tapItem("key");
    EXPECT_EQ(saved()->state.selected, "key");
    m.clearSelection();  // not saved: the file keeps the selection
    EXPECT_FALSE(m.state().selected);
    EXPECT_EQ(saved()->state.selected, "key");

    m.hint();
    EXPECT_EQ(saved()->state.hintCount, 1);
    EXPECT_EQ(sound.played.back(), Sfx::tap);
    ASSERT_TRUE(m.toast());
    EXPECT_EQ(m.toast()->kind, Toast::Kind::hint);

    m.returnToMenu();
    EXPECT_EQ(m.screen(), Screen::menu);
    EXPECT_TRUE(savedMatchesModel());
    m.continueGame();
    const std::string before = savedBytes();
    m.restartRoom();
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_TRUE(savedMatchesModel());
    EXPECT_NE(savedBytes(), before);
    ASSERT_TRUE(m.toast());
    EXPECT_EQ(m.toast()->text, "Room restarted.");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::info);
}

TEST_F(GameModelTest, HandleStylesToastsAndMarksItems) {
    GameModel& m = startIn(1);
    for (const auto& events : {std::vector{ev::sfx(Sfx::wrong), ev::say("No.")},
                               std::vector{ev::say("No."), ev::sfx(Sfx::wrong)}}) {
        sound.played.clear();
        m.handle(events);
        ASSERT_TRUE(m.toast());
        EXPECT_EQ(m.toast()->kind, Toast::Kind::wrong);
        EXPECT_EQ(sound.played, std::vector<Sfx>{Sfx::wrong});
    }
    m.handle({ev::say("first"), ev::say("second")});
    EXPECT_EQ(m.toast()->text, "second");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::info);

    m.handle({ev::gave("key"), ev::say("Got it."), ev::panel("pad")});
    EXPECT_EQ(m.gainedItem(), "key");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::info);
    EXPECT_EQ(m.panelID(), "pad");
    EXPECT_FALSE(std::filesystem::exists(savePath())) << "handle does not save";
}

TEST_F(GameModelTest, RoomOneThroughTheDoor) {
    GameModel& m = startIn(1);
    m.tapProp("door");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::wrong);
    m.tapProp("vase");
    m.tapItem("key");
    m.tapProp("door");
    EXPECT_TRUE(m.state().flags.contains("unlocked"));
    m.tapProp("door");
    ASSERT_TRUE(m.doorOpenStart());
    clock.advance(1.6);
    EXPECT_EQ(m.state(), begin(room(2)));
    EXPECT_EQ(saved(), (SaveFile{begin(room(2)), 2}));
}

TEST_F(GameModelTest, StalePanelSolvesAreDropped) {
    const ostrevan::Level* locked = nullptr;
    for (const auto& level : ostrevan::Levels::all())
        if (!level.panels.empty() && !locked) locked = &level;
    ASSERT_NE(locked, nullptr) << "no room holds a panel";
    const std::string panel = locked->panels.begin()->first;
    const std::string solvedFlag = "solved_" + panel;

    GameModel& m = startIn(locked->id);
    const std::uint64_t before = m.epoch();
    m.restartRoom();
    m.setPanelID(panel);  // the player reopened it in the fresh room
    const std::string file = savedBytes();
    m.solvePanel(panel, before);
    EXPECT_FALSE(m.state().flags.contains(solvedFlag));
    EXPECT_EQ(m.panelID(), panel);
    EXPECT_EQ(savedBytes(), file);

    m.solvePanel(panel, m.epoch());
    EXPECT_TRUE(m.state().flags.contains(solvedFlag));
    EXPECT_FALSE(m.panelID());
    EXPECT_TRUE(savedMatchesModel());

    const std::uint64_t inOldGame = m.epoch();
    m.newGame();
    m.solvePanel(panel, inOldGame);
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_NE(m.epoch(), inOldGame);
}

// ---------------------------------------------------------------------------------------------
// Timed presentation

TEST_F(GameModelTest, ToastLifetimes) {
    EXPECT_DOUBLE_EQ(toastLifetime(QString(22, 'a')), 2.4);
    EXPECT_DOUBLE_EQ(toastLifetime(QString(23, 'a')), 1.4 + 0.045 * 23);
    EXPECT_DOUBLE_EQ(toastLifetime(QString(40, 'a')), 1.4 + 0.045 * 40);
    // An accented letter written as letter + combining mark is one character to the player.
    EXPECT_DOUBLE_EQ(toastLifetime(QString("e\u0301").repeated(30)), 1.4 + 0.045 * 30);
    EXPECT_DOUBLE_EQ(toastLifetime(QString("\U0001F511").repeated(30)), 1.4 + 0.045 * 30);

    GameModel& m = startIn(1);
    m.showToast("ten chars!");
    EXPECT_EQ(lastChange(What::toast), kSpringIn);
    clock.advance(2.39);
    EXPECT_TRUE(m.toast());
    clock.advance(0.01);
    EXPECT_FALSE(m.toast());
    EXPECT_EQ(lastChange(What::toast), kFadeOut03);

    m.showToast(QString(40, 'x'));
    clock.advance(3.19);
    EXPECT_TRUE(m.toast());
    clock.advance(0.01);
    EXPECT_FALSE(m.toast());

    m.hint();  // nine seconds, however short the hint
    clock.advance(8.99);
    ASSERT_TRUE(m.toast());
    EXPECT_EQ(m.toast()->kind, Toast::Kind::hint);
    clock.advance(0.01);
    EXPECT_FALSE(m.toast());
}

TEST_F(GameModelTest, NewerToastReplacesOlderAndResetClearsAtOnce) {
    GameModel& m = startIn(1);
    for (const QString& second : {QString("other"), QString("same")}) {
        m.showToast("same");
        const Toast first = *m.toast();
        clock.advance(1);
        m.showToast(second);
        EXPECT_NE(m.toast(), first);
        clock.advance(2.39);  // past the first's 2.4 s
        ASSERT_TRUE(m.toast()) << second.toStdString();
        EXPECT_EQ(m.toast()->text, second);
        clock.advance(0.01);
        EXPECT_FALSE(m.toast());
    }
    m.showToast("going");
    m.resetTransient();
    EXPECT_FALSE(m.toast());
    EXPECT_EQ(lastChange(What::toast), Transition{});
}

TEST_F(GameModelTest, IntroCardLifetime) {
    GameModel& m = make(env());
    m.newGame();
    ASSERT_TRUE(m.intro());
    EXPECT_EQ(m.intro()->number, 1);
    EXPECT_EQ(m.intro()->name.toStdString(), room(1).name);
    EXPECT_EQ(m.intro()->line.toStdString(), room(1).intro);
    m.resetTransient();  // leaves the card up
    clock.advance(1);
    EXPECT_TRUE(m.intro());
    m.restartRoom();
    const RoomIntro second = *m.intro();
    clock.advance(2.59);
    EXPECT_EQ(m.intro(), second);
    clock.advance(0.01);
    EXPECT_FALSE(m.intro());
    EXPECT_EQ(lastChange(What::intro), (Transition{Transition::Curve::easeOut, 0.5}));
}

TEST_F(GameModelTest, ItemMarkerFollowsTheLatestItem) {
    GameModel& m = startIn(1);
    m.handle({ev::gave("a")});
    clock.advance(0.5);
    m.handle({ev::gave("b")});
    clock.advance(0.4);  // the first marker's time: it no longer owns the marker
    EXPECT_EQ(m.gainedItem(), "b");
    clock.advance(0.5);
    EXPECT_FALSE(m.gainedItem());

    m.handle({ev::gave("c")});
    clock.advance(0.3);
    m.resetTransient();
    EXPECT_FALSE(m.gainedItem());
    const auto changesBefore = changes.size();
    clock.advance(0.6);  // the pending task finds nothing to clear
    EXPECT_EQ(changes.size(), changesBefore);
}

TEST_F(GameModelTest, DoorTimelineFromRoomSeven) {
    GameModel& m = startIn(7);
    m.handle({ev::enter(), ev::enter()});
    EXPECT_EQ(m.doorOpenStart(), 0.0);

    clock.advance(1.0);
    m.tapProp("door");
    m.hint();
    EXPECT_FALSE(std::filesystem::exists(savePath())) << "clicks and hints are refused";
    EXPECT_FALSE(m.toast());

    clock.advance(0.15);
    EXPECT_EQ(m.flash(), 1.0);
    EXPECT_EQ(lastChange(What::flash), (Transition{Transition::Curve::easeIn, 0.35}));
    m.showToast("leaving");
    EXPECT_EQ(m.state().level, 7);

    clock.advance(0.45);
    EXPECT_EQ(m.state(), begin(room(8)));
    EXPECT_FALSE(m.doorOpenStart());
    EXPECT_FALSE(m.toast());
    EXPECT_EQ(lastChange(What::toast), Transition{});
    EXPECT_EQ(m.best(), 8);
    EXPECT_TRUE(m.hasSave());
    ASSERT_TRUE(m.intro());
    EXPECT_EQ(m.intro()->number, 8);
    EXPECT_EQ(saved(), (SaveFile{begin(room(8)), 8}));
    EXPECT_EQ(m.flash(), 1.0);

    clock.advance(0.05);
    m.hint();  // accepted again in the new room
    EXPECT_EQ(m.state().hintCount, 1);
    clock.advance(0.05);
    EXPECT_EQ(m.flash(), 0.0);
    EXPECT_EQ(lastChange(What::flash), (Transition{Transition::Curve::easeOut, 0.6}));
    clock.advance(10);
    EXPECT_EQ(m.state().level, 8) << "a second enter started nothing";

    // A room change never lowers the furthest room.
    writeSave(SaveFile{begin(room(7)), 12});
    GameModel& behind = make(env());
    behind.continueGame();
    behind.handle({ev::enter()});
    clock.advance(1.6);
    EXPECT_EQ(behind.state().level, 8);
    EXPECT_EQ(behind.best(), 12);
}

TEST_F(GameModelTest, DoorAfterTheLastRoomOpensTheEnding) {
    GameModel& m = startIn(50);
    m.handle({ev::enter()});
    clock.advance(1.6);
    EXPECT_EQ(m.screen(), Screen::ending);
    EXPECT_EQ(sound.played, std::vector<Sfx>{Sfx::success});
    EXPECT_FALSE(m.hasSave());
    EXPECT_TRUE(m.state().finished);
    EXPECT_EQ(m.state().level, 50);
    EXPECT_EQ(saved(), (SaveFile{m.state(), 50}));

    m.returnToMenu();
    EXPECT_EQ(m.screen(), Screen::menu);
    EXPECT_FALSE(m.hasSave());
    m.setScreen(Screen::ending);
    m.restartRoom();
    EXPECT_EQ(m.state(), begin(room(50)));
    EXPECT_TRUE(m.hasSave());
    EXPECT_EQ(m.intro()->number, 50);
    EXPECT_EQ(m.screen(), Screen::ending);
}

TEST_F(GameModelTest, RestartAndMenuDoNotStopTheDoor) {
    GameModel& m = startIn(7);
    m.handle({ev::enter()});
    clock.advance(0.5);
    m.restartRoom();
    EXPECT_FALSE(m.doorOpenStart());
    clock.advance(1.1);
    EXPECT_EQ(m.state().level, 8);

    m.handle({ev::enter()});
    clock.advance(0.5);
    m.returnToMenu();
    clock.advance(1.1);
    EXPECT_EQ(m.screen(), Screen::menu);
    EXPECT_EQ(saved(), (SaveFile{begin(room(9)), 9}));
}

TEST_F(GameModelTest, NewGameEndsARunningDoorSequence) {
    GameModel& m = startIn(7);
    m.handle({ev::enter()});
    clock.advance(0.5);
    m.returnToMenu();
    m.newGame();
    clock.advance(3);
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_EQ(saved(), (SaveFile{begin(room(1)), 7}));
    EXPECT_EQ(m.flash(), 0.0);
    EXPECT_FALSE(lastChange(What::flash)) << "the old sequence raised no flash";
}

TEST_F(GameModelTest, PendingTasksOutliveNoModel) {
    GameModel& m = startIn(7);
    m.showToast("bye");
    m.showIntro();
    m.handle({ev::gave("key"), ev::enter()});
    model.reset();
    clock.advance(5);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_FALSE(std::filesystem::exists(savePath()));
}

TEST_F(GameModelTest, MuteReachesThePlayerThenTheCopy) {
    sound.mutedNow = true;
    GameModel& m = startIn(1);
    EXPECT_TRUE(m.muted());
    m.setMuted(false);
    EXPECT_FALSE(sound.mutedNow);
    EXPECT_FALSE(m.muted());
    EXPECT_EQ(lastChange(What::muted), Transition{});
}
