// The game model: start cases, guards, save points, toasts, the intro card, the item marker and
// the door sequence, all on a manual clock with recorded sounds and a private save file.
//
// Room content is changing while the catalogue is written; these tests rely only on room 1
// (the vase gives the key) and otherwise on room numbers.
#include "GameScreenFixture.hpp"
#include "PaintProbe.hpp"

#include <Tallowmere/Platform/BackgroundWriter.hpp>

#include <QDir>

#include <algorithm>

using namespace tallowmere;
using tallowmere::testing::GameScreenTest;
using tallowmere::testing::room;
using ostrevan::Engine::begin;
using ostrevan::GameState;
using ostrevan::SaveFile;
using ostrevan::Sfx;
namespace ev = ostrevan::ev;
using Screen = GameModel::Screen;
using What = GameModel::What;

namespace {

// What a start case decides.
struct Start {
    Screen screen;
    std::int64_t level, best;
    bool hasSave;
    bool operator==(const Start&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Start& s) {
        return out << int(s.screen) << " room " << s.level << " best " << s.best << " save " << s.hasSave;
    }
};
Start startOf(const GameModel& m) { return {m.screen(), m.state().level, m.best(), m.hasSave()}; }

class GameModelTest : public GameScreenTest {
protected:
    // The environment with TM_START_ROOM exactly as written.
    Environment envText(std::optional<std::string> startRoom, std::optional<std::string> show = std::nullopt) const {
        Environment environment = env(std::nullopt, std::move(show));
        environment.startRoom = std::move(startRoom);
        return environment;
    }
    GameModel& make(Environment environment) {
        start(std::move(environment));
        QObject::connect(model.get(), &GameModel::changed,
                         [this](What what, Transition how) { changes.emplace_back(what, how); });
        return *model;
    }
    GameModel& startIn(std::int64_t number) { return make(env(number)); }

    bool saveExists() const { return std::filesystem::exists(savePath()); }
    void writeSave(const std::string& text) const { std::ofstream(savePath()) << text; }
    void writeSave(const SaveFile& file) const { writeSave(ostrevan::SaveStore::encode(file)); }
    std::optional<SaveFile> saved() const { return ostrevan::SaveStore::load(savePath()); }
    std::optional<Transition> lastChange(What what) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->first == what) return it->second;
        return std::nullopt;
    }

    std::vector<std::pair<What, Transition>> changes;
};

}  // namespace

// ## Start-up

TEST_F(GameModelTest, StartRoomOverridesTheSaveOnlyWhenUsableAndShowEndingIsExact) {
    const SaveFile stored{begin(room(12)), 20};
    const std::vector<std::pair<std::string, std::int64_t>> usable = {{"7", 7}, {"+7", 7}, {"07", 7}, {"50", 50}};
    for (const auto& [value, number] : usable) {
        writeSave(stored);
        const GameModel& m = make(envText(value, "ending"));
        EXPECT_EQ(m.state(), begin(room(number))) << value;
        EXPECT_EQ(startOf(m), (Start{Screen::playing, number, number, true}));
        EXPECT_FALSE(m.intro());
        EXPECT_EQ(saved(), stored) << "nothing is written at start";
    }
    for (const std::string value : {"0", "51", "-3", " 7", "7 ", "7a", "+", "+-7", "0x7", "", "99999999999999999999"}) {
        writeSave(stored);
        EXPECT_EQ(startOf(make(envText(value))), (Start{Screen::menu, 12, 20, true})) << '"' << value << '"';
    }
    const GameModel& ending = make(env(std::nullopt, "ending"));
    EXPECT_EQ(ending.state(), begin(room(50)));
    EXPECT_EQ(startOf(ending), (Start{Screen::ending, 50, 50, false}));
    for (const std::string value : {"Ending", "ending ", "ENDING", ""})
        EXPECT_EQ(startOf(make(envText("0", value))), (Start{Screen::menu, 12, 20, true})) << value;
}

TEST_F(GameModelTest, SaveFileCases) {
    const auto file = [](std::int64_t level, std::int64_t best, bool finished) {
        GameState state = begin(room(std::clamp<std::int64_t>(level, 1, 50)));
        state.level = level;
        state.finished = finished;
        return ostrevan::SaveStore::encode({state, best});
    };
    const Start fresh{Screen::menu, 1, 1, false};
    const std::vector<std::pair<std::optional<std::string>, Start>> cases = {  // nullopt: no file
        {std::nullopt, fresh},
        {"", fresh},
        {"{\"state\": {\"level\": 4", fresh},
        {file(50, 50, true), {Screen::menu, 50, 50, false}},
        {file(5, 12, false), {Screen::menu, 5, 12, true}},
        // Room numbers outside the list start fresh, whatever the stored best.
        {file(0, 30, false), fresh},
        {file(51, 30, false), fresh},
        {file(-1, 30, false), fresh},
    };
    for (const auto& [text, start] : cases) {
        std::filesystem::remove(savePath());
        if (text) writeSave(*text);
        EXPECT_EQ(startOf(make(env())), start) << text.value_or("(no file)");
    }
}

TEST_F(GameModelTest, FinishedSaveContinuesAsNewGameAndBestIsKept) {
    GameState finished = begin(room(50));
    finished.finished = true;
    writeSave(SaveFile{finished, 50});
    GameModel& m = make(env());
    m.continueGame();
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_EQ(startOf(m), (Start{Screen::playing, 1, 50, true}));
    EXPECT_TRUE(savedMatchesModel());
    EXPECT_EQ(sound.ambientStarts, 1);

    writeSave(SaveFile{begin(room(5)), 12});
    GameModel& resumed = make(env());
    resumed.continueGame();  // resumes without saving
    EXPECT_EQ(resumed.state().level, 5);
    EXPECT_EQ(resumed.intro().value().number, 5);
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
    // A relative data home is ignored, as the XDG rules say, whatever the working folder.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(Environment::fromProcess().dataFolder, (QDir::homePath() + "/.local/share").toStdString());
    qputenv("XDG_DATA_HOME", dataHome);

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
    writeSave("a file, not a folder");
    // Each failed save says so in one line; an empty TM_SAVE_PATH is named as such.
    const std::pair<std::string, std::string> paths[] = {
        {(savePath() / "save.json").string(), ""},
        {"", "Tallowmere: could not save progress: TM_SAVE_PATH is empty\n"},
    };
    for (const auto& [path, line] : paths) {
        Environment blocked = env(1);
        blocked.savePath = path;
        GameModel& m = make(blocked);
        ::testing::internal::CaptureStderr();
        m.tapProp("vase");
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(log.rfind("Tallowmere: could not save progress: ", 0), 0u) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
        if (!line.empty()) {
            EXPECT_EQ(log, line);
        }
        EXPECT_EQ(m.state().inventory, std::vector<std::string>{"key"});
        EXPECT_TRUE(m.hasSave());
    }
}

TEST_F(GameModelTest, AFileThatGaveNoSaveIsKeptBesideByTheFirstSave) {
    const std::filesystem::path kept = savePath().string() + ".unreadable";
    GameState roomZero = begin(room(1));
    roomZero.level = 0;
    struct Case { std::string text; bool startRoom, keeps; };
    for (const auto& [text, startRoom, keeps] :
         {Case{"my notes", false, true}, Case{ostrevan::SaveStore::encode({roomZero, 3}), false, true},
          Case{"", false, false}, Case{ostrevan::SaveStore::encode({begin(room(2)), 2}), false, false},
          Case{"my notes", true, false}}) {
        std::filesystem::remove(kept);
        writeSave(text);
        GameModel& m = make(startRoom ? env(1) : env());
        EXPECT_TRUE(!keeps || !m.hasSave());
        ::testing::internal::CaptureStderr();
        if (!startRoom) m.newGame();
        m.tapProp("vase");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  keeps ? "Tallowmere: " + savePath().string() + " could not be read; it is kept as " + kept.string() + "\n"
                        : "") << text;
        EXPECT_TRUE(savedMatchesModel());
        EXPECT_EQ(bytesAt(kept), keeps ? text : "");
    }
}

// Until it can be kept aside, no save replaces it, and each one tries again: through the
// writer the game saves with, where a quick action overtakes the request before it, as inline.
TEST_F(GameModelTest, AFileThatCannotBeKeptAsideYetIsNeverReplaced) {
    const auto kept = [&](int turn) {
        return savePath().string() + ".unreadable" + (turn > 1 ? "-" + std::to_string(turn) : "");
    };
    const QByteArray processSavePath = qgetenv("TM_SAVE_PATH");
    qputenv("TM_SAVE_PATH", QFile::encodeName(QString::fromStdString(savePath().string())));
    for (const bool throughWriter : {false, true}) {
        writeSave("my notes");
        for (int turn = 1; turn <= ostrevan::SaveStore::kMaxKeptFiles; ++turn) std::ofstream{kept(turn)};
        const std::unique_ptr<GameModel> saving = throughWriter ? std::make_unique<GameModel>() : nullptr;
        GameModel& m = saving ? *saving : make(env());
        ::testing::internal::CaptureStderr();
        m.newGame();
        m.tapProp("vase");
        BackgroundWriter::flushAll();
        const std::string refused = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(refused.find(savePath().string() + " could not be read, nor kept aside"), std::string::npos) << refused;
        EXPECT_EQ(savedBytes(), "my notes") << throughWriter;

        std::filesystem::remove(kept(7));
        ::testing::internal::CaptureStderr();
        m.tapProp("vase");
        BackgroundWriter::flushAll();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "Tallowmere: " + savePath().string() + " could not be read; it is kept as " + kept(7) + "\n");
        EXPECT_EQ(bytesAt(kept(7)), "my notes") << throughWriter;
        EXPECT_EQ(saved(), (SaveFile{m.state(), m.best()}));
        for (int turn = 1; turn <= ostrevan::SaveStore::kMaxKeptFiles; ++turn) std::filesystem::remove(kept(turn));
    }
    qputenv("TM_SAVE_PATH", processSavePath);
}

// ## Actions

TEST_F(GameModelTest, ClickGuardsRefuseWithoutSaving) {
    const std::vector<std::pair<std::string, void (*)(GameModel&)>> refused = {
        {"panel open", [](GameModel& m) { m.setPanelID("pad"); }},
        {"paused", [](GameModel& m) { m.setPaused(true); }},
        {"door opening", [](GameModel& m) { m.handle({ev::enter()}); }},
        {"menu", [](GameModel& m) { m.setScreen(Screen::menu); }},
        {"ending", [](GameModel& m) { m.setScreen(Screen::ending); }},
    };
    for (const auto& [name, setUp] : refused) {
        std::filesystem::remove(savePath());
        GameModel& m = startIn(1);
        setUp(m);
        m.tapProp("vase");
        m.tapItem("key");
        EXPECT_EQ(m.state(), begin(room(1))) << name;
        EXPECT_FALSE(saveExists()) << name;
        m.hint();
        const bool hintServed = name == "panel open";  // an open panel does not stop a hint
        EXPECT_EQ(m.state().hintCount, hintServed ? 1 : 0) << name;
        EXPECT_EQ(saveExists(), hintServed) << name;
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
    EXPECT_TRUE(m.state().flags.contains("took_key"));
    EXPECT_TRUE(savedMatchesModel());

    m.tapItem("key");
    EXPECT_EQ(saved()->state.selected, "key");
    m.clearSelection();  // not saved: the file keeps the selection
    EXPECT_FALSE(m.state().selected);
    EXPECT_EQ(saved()->state.selected, "key");

    m.hint();
    EXPECT_EQ(saved()->state.hintCount, 1);
    EXPECT_EQ(sound.played.back(), Sfx::tap);
    EXPECT_EQ(m.toast().value().kind, Toast::Kind::hint);

    m.returnToMenu();
    EXPECT_EQ(m.screen(), Screen::menu);
    EXPECT_TRUE(savedMatchesModel());
    m.continueGame();
    m.restartRoom();
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_TRUE(savedMatchesModel());
    EXPECT_EQ(m.toast().value().text, "Room restarted.");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::info);
}

TEST_F(GameModelTest, HandleStylesToastsAndMarksItems) {
    GameModel& m = startIn(1);
    for (const auto& events : {std::vector{ev::sfx(Sfx::wrong), ev::say("No.")},
                               std::vector{ev::say("No."), ev::sfx(Sfx::wrong)}}) {
        sound.played.clear();
        m.handle(events);
        EXPECT_EQ(m.toast().value().kind, Toast::Kind::wrong);
        EXPECT_EQ(sound.played, std::vector<Sfx>{Sfx::wrong});
    }
    m.handle({ev::say("first"), ev::say("second")});
    EXPECT_EQ(m.toast().value().text, "second");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::info);

    m.handle({ev::gave("key"), ev::say("Got it."), ev::panel("pad")});
    EXPECT_EQ(m.gainedItem(), "key");
    EXPECT_EQ(m.toast()->kind, Toast::Kind::info);
    EXPECT_EQ(m.panelID(), "pad");
    EXPECT_FALSE(saveExists()) << "handle does not save";
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
    std::filesystem::remove(savePath());
    m.solvePanel(panel, before);
    EXPECT_FALSE(m.state().flags.contains(solvedFlag));
    EXPECT_EQ(m.panelID(), panel);
    EXPECT_FALSE(saveExists());

    m.solvePanel(panel, m.epoch());
    EXPECT_TRUE(m.state().flags.contains(solvedFlag));
    EXPECT_FALSE(m.panelID());
    EXPECT_TRUE(savedMatchesModel());

    const std::uint64_t inOldGame = m.epoch();
    m.newGame();
    m.solvePanel(panel, inOldGame);
    EXPECT_EQ(m.state(), begin(room(1)));
}

// ## Timed presentation

TEST_F(GameModelTest, ToastLifetimesAndReplacement) {
    EXPECT_DOUBLE_EQ(toastLifetime(QString(22, 'a')), 2.4);
    EXPECT_DOUBLE_EQ(toastLifetime(QString(23, 'a')), 1.4 + 0.045 * 23);
    // An accented letter written as letter + combining mark is one character to the player.
    EXPECT_DOUBLE_EQ(toastLifetime(QString("e\u0301").repeated(30)), 1.4 + 0.045 * 30);
    EXPECT_DOUBLE_EQ(toastLifetime(QString("\U0001F511").repeated(30)), 1.4 + 0.045 * 30);

    GameModel& m = startIn(1);
    m.showToast("ten chars!");
    EXPECT_EQ(lastChange(What::toast), (Transition{Transition::Curve::spring, 0.3, 0.85}));
    clock.advance(2.39);
    EXPECT_TRUE(m.toast());
    clock.advance(0.01);
    EXPECT_FALSE(m.toast());
    EXPECT_EQ(lastChange(What::toast), (Transition{Transition::Curve::easeOut, 0.3}));

    m.hint();  // nine seconds, however short the hint
    clock.advance(8.99);
    EXPECT_EQ(m.toast().value().kind, Toast::Kind::hint);
    clock.advance(0.01);
    EXPECT_FALSE(m.toast());

    // A newer toast replaces the older one and its removal, even with the same text.
    for (const QString& second : {QString("other"), QString("same")}) {
        m.showToast("same");
        const Toast first = *m.toast();
        clock.advance(1);
        m.showToast(second);
        EXPECT_NE(m.toast(), first);
        clock.advance(2.39);  // past the first's 2.4 s
        EXPECT_EQ(m.toast().value().text, second);
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
    EXPECT_FALSE(saveExists()) << "clicks and hints are refused";
    EXPECT_FALSE(m.toast());

    clock.advance(0.15);
    EXPECT_EQ(m.flash(), 1.0);
    EXPECT_EQ(lastChange(What::flash), (Transition{Transition::Curve::easeIn, 0.35}));
    m.showToast("leaving");
    EXPECT_EQ(m.state().level, 7);

    clock.advance(0.45);
    EXPECT_EQ(m.state(), begin(room(8)));
    EXPECT_EQ(startOf(m), (Start{Screen::playing, 8, 8, true}));
    EXPECT_FALSE(m.doorOpenStart());
    EXPECT_FALSE(m.toast());
    EXPECT_EQ(lastChange(What::toast), Transition{});
    EXPECT_EQ(m.intro().value().number, 8);
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
    EXPECT_EQ(startOf(m), (Start{Screen::ending, 50, 50, false}));
    EXPECT_EQ(sound.played, std::vector<Sfx>{Sfx::success});
    EXPECT_TRUE(m.state().finished);
    EXPECT_EQ(saved(), (SaveFile{m.state(), 50}));

    m.returnToMenu();
    EXPECT_EQ(m.screen(), Screen::menu);
    EXPECT_FALSE(m.hasSave());
    m.setScreen(Screen::ending);
    m.restartRoom();
    EXPECT_EQ(m.state(), begin(room(50)));
    EXPECT_EQ(startOf(m), (Start{Screen::ending, 50, 50, true}));
    EXPECT_EQ(m.intro().value().number, 50);
}

TEST_F(GameModelTest, OnlyANewGameEndsARunningDoorSequence) {
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

    m.handle({ev::enter()});
    clock.advance(0.5);
    changes.clear();
    m.newGame();
    clock.advance(3);
    EXPECT_EQ(m.state(), begin(room(1)));
    EXPECT_EQ(saved(), (SaveFile{begin(room(1)), 9}));
    EXPECT_EQ(m.flash(), 0.0);
    EXPECT_FALSE(lastChange(What::flash)) << "the old sequence raised no flash";
}

TEST_F(GameModelTest, TheDoorsPauseLetsTheEarlierRoomsPicturesGo) {
    const auto drawText = [](const char* text) {
        tallowmere::testing::paintImage(200, 60, [&](Canvas& canvas) {
            canvas.drawText(QString::fromLatin1(text), {100, 30}, Font{14}, QColor(Qt::white));
        });
    };
    forgetUnusedPictures();
    GameModel& m = startIn(7);
    drawText("Room 7");
    m.handle({ev::enter()});
    clock.advance(1.6);
    ASSERT_EQ(m.state().level, 8);
    drawText("Room 8");
    const std::size_t kept = keptTextUse().entries;
    clock.advance(0.1);
    EXPECT_EQ(keptTextUse().entries, 1U) << "of " << kept << " texts kept as the flash fell";
    drawText("Room 8");
    EXPECT_EQ(keptTextUse().entries, 1U) << "the new room's text stays kept";
}

TEST_F(GameModelTest, PendingTasksOutliveNoModel) {
    GameModel& m = startIn(7);
    m.showToast("bye");
    m.showIntro();
    m.handle({ev::gave("key"), ev::enter()});
    model.reset();
    clock.advance(5);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_FALSE(saveExists());
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
