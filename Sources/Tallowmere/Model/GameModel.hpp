// The one game model: owner of the game state, the room list, the furthest room reached, the save
// file and everything the screens show for a while (toast, intro card, flash, door, marker).
//
// Screens read the getters and listen to changed(): every field change is announced once with
// the transition the screens should animate it with. Screens write only through the setters and
// the operations; everything runs on the main thread.
#pragma once

#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Model.hpp>

#include <Tallowmere/Platform/Decimal.hpp>
#include <Tallowmere/Platform/Scheduler.hpp>

#include <QObject>
#include <QString>
#include <QUuid>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

class SaveWriter;

// A transient message over the stage.
struct Toast {
    enum class Kind { info, hint, wrong };

    QUuid id;  // fresh for every toast, so the same text shown twice is a new toast
    QString text;
    Kind kind = Kind::info;
    bool operator==(const Toast&) const = default;
};

// The card shown when a room begins.
struct RoomIntro {
    QUuid id;  // fresh for every card
    int number = 0;
    QString name;
    QString line;
    bool operator==(const RoomIntro&) const = default;
};

// How a screen should animate a change it is told about.
struct Transition {
    enum class Curve { none, spring, easeIn, easeOut };

    Curve curve = Curve::none;
    double seconds = 0;  // duration; for a spring, its response
    double damping = 1;  // spring damping fraction; 1 for the other curves
    bool operator==(const Transition&) const = default;
};

// What the model reads from the process environment at creation.
struct Environment {
    std::optional<std::string> savePath;   // TM_SAVE_PATH (present even when empty)
    std::optional<std::string> startRoom;  // TM_START_ROOM
    std::optional<std::string> show;       // TM_SHOW
    std::string dataFolder;                // the user's writable data folder (XDG data home)

    static Environment fromProcess();
};

// The sounds the model plays; the application routes this to Sound::shared(), tests record it.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void play(ostrevan::Sfx sfx) = 0;
    virtual void startAmbient() = 0;
    virtual bool muted() const = 0;
    virtual void setMuted(bool muted) = 0;
};


// Seconds a toast stays when no lifetime is given: max(2.4, 1.4 + 0.045 per user-perceived
// character).
double toastLifetime(const QString& text);

class GameModel final : public QObject {
    Q_OBJECT

public:
    enum class Screen { menu, playing, ending };
    Q_ENUM(Screen)

    // One per field a screen can observe.
    enum class What {
        screen, state, best, hasSave, toast, panelID, paused, showHelp, intro, doorOpenStart, flash,
        gainedItem, muted
    };
    Q_ENUM(What)

    // The application's model: the process environment, Sound::shared() and QTimer; it saves on
    // a worker thread, and its destruction waits for the last save.
    explicit GameModel(QObject* parent = nullptr);
    // For tests: the given environment, sound output and scheduler, which must outlive the model.
    GameModel(Environment environment, SoundOutput& sound, Scheduler& scheduler,
              QObject* parent = nullptr);
    ~GameModel() override;

    // ---- Observed fields
    Screen screen() const { return m_screen; }
    const ostrevan::GameState& state() const { return m_state; }
    std::int64_t best() const { return m_best; }
    bool hasSave() const { return m_hasSave; }
    const std::optional<Toast>& toast() const { return m_toast; }
    const std::optional<std::string>& panelID() const { return m_panelID; }
    bool paused() const { return m_paused; }
    bool showHelp() const { return m_showHelp; }
    const std::optional<RoomIntro>& intro() const { return m_intro; }
    // When the door began to open, in seconds of scheduler().now(); set while the door sequence
    // runs up to the room change.
    std::optional<double> doorOpenStart() const { return m_doorOpenStart; }
    // Opacity of the white flash over the game screen, 0 to 1 (the target of its transition).
    double flash() const { return m_flash; }
    const std::optional<std::string>& gainedItem() const { return m_gainedItem; }
    // The model's copy of the sound player's mute setting.
    bool muted() const { return m_muted; }

    // ---- Queries
    // The current room: index state().level - 1, clamped to the room list.
    const ostrevan::Level& level() const;
    // The inventory's items in order of gain; ids the current room does not know are skipped.
    std::vector<ostrevan::Item> inventory() const;
    const std::vector<ostrevan::Level>& levels() const { return *m_levels; }
    const std::filesystem::path& savePath() const { return m_savePath; }
    // Bumped by every fresh room state (new game, restart, room change). A panel takes it when
    // its attempt is accepted and hands it to solvePanel(), which drops solves of an older epoch.
    std::uint64_t epoch() const { return m_epoch; }
    // The clock and delays of the model; panels schedule their own delays on it too.
    Scheduler& scheduler() const { return *m_scheduler; }
    // The sound output of the model; the panels play their own feedback through it too.
    SoundOutput& sound() const { return *m_sound; }

    // ---- Written by the screens
    void setScreen(Screen screen);
    void setPaused(bool paused);
    void setShowHelp(bool showHelp);
    void setPanelID(std::optional<std::string> panelID);
    // Sets the sound player's mute setting, then this copy.
    void setMuted(bool muted);

    // ---- Player actions
    // Refused (nothing changes, nothing is saved) unless playing with no panel open, not paused
    // and no door opening; otherwise the engine's tap, handle() and save().
    void tapProp(const std::string& propID);
    void tapItem(const std::string& itemID);
    // Drops the selected item; never saves.
    void clearSelection();
    // Refused unless playing, not paused and no door opening (an open panel does not refuse it).
    void hint();
    // Turns engine events into toasts, the item-gained marker, the open panel, sounds and the
    // door sequence. Does not save.
    void handle(const std::vector<ostrevan::Event>& events);
    // Closes the panel, applies its solve and saves; dropped entirely when `epoch` is not the
    // current epoch (the room was restarted or changed since the attempt).
    void solvePanel(const std::string& panelID, std::uint64_t epoch);
    void restartRoom();
    void returnToMenu();
    void newGame();
    // Resumes the stored game, or starts a new one when there is none.
    void continueGame();

    // ---- Presentation
    // Clears pause, panel, door time, flash, toast, marker and help at once; the intro card stays.
    void resetTransient();
    // Updates hasSave and writes the save file; a failed write logs one line and play goes on.
    void save();
    // `seconds` absent: toastLifetime(text). A newer toast replaces this one and its removal.
    void showToast(const QString& text, Toast::Kind kind = Toast::Kind::info,
                   std::optional<double> seconds = std::nullopt);
    // The intro card of the current room, for 2.6 seconds.
    void showIntro();

signals:
    void changed(tallowmere::GameModel::What what, tallowmere::Transition transition);

private:
    using EngineClick = std::vector<ostrevan::Event> (*)(const std::string&, const ostrevan::Level&,
                                                         ostrevan::GameState&);

    void start(const Environment& environment);
    void click(EngineClick run, const std::string& id);
    void startEnter();
    void advance();
    void beginRoom(const ostrevan::Level& room);
    void setState(ostrevan::GameState state);
    void setBest(std::int64_t best);
    void setHasSave(bool hasSave);
    void setToast(std::optional<Toast> toast, Transition transition);
    void setIntro(std::optional<RoomIntro> intro, Transition transition);
    void setDoorOpenStart(std::optional<double> start);
    void setFlash(double flash, Transition transition);
    void setGainedItem(std::optional<std::string> item);

    // Owned only by the application's model; tests pass their own.
    std::unique_ptr<Scheduler> m_ownScheduler;
    std::unique_ptr<SoundOutput> m_ownSound;
    std::unique_ptr<SaveWriter> m_saveWriter;  // null: tests' models save inline
    Scheduler* m_scheduler = nullptr;
    SoundOutput* m_sound = nullptr;

    Screen m_screen = Screen::menu;
    ostrevan::GameState m_state;
    std::int64_t m_best = 1;
    bool m_hasSave = false;
    std::optional<Toast> m_toast;
    std::optional<std::string> m_panelID;
    bool m_paused = false;
    bool m_showHelp = false;
    std::optional<RoomIntro> m_intro;
    std::optional<double> m_doorOpenStart;
    double m_flash = 0;
    std::optional<std::string> m_gainedItem;
    bool m_muted = false;

    const std::vector<ostrevan::Level>* m_levels = nullptr;
    std::filesystem::path m_savePath;
    // The file at the save path that gave no save the game took. Every save names it, and the
    // first to reach the disk keeps it aside before replacing it.
    std::optional<ostrevan::FileIdentity> m_unreadSave;
    Scheduler::TaskID m_toastTask = Scheduler::kNoTask;
    Scheduler::TaskID m_introTask = Scheduler::kNoTask;
    std::vector<Scheduler::TaskID> m_doorTasks;
    std::uint64_t m_epoch = 0;
};

}  // namespace tallowmere
