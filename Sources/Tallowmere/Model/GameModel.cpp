#include <Tallowmere/Model/GameModel.hpp>

#include <Ostrevan/Levels.hpp>

#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/SaveWriter.hpp>
#include <Tallowmere/Platform/Runtime.hpp>

#include <QFile>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cassert>
#include <charconv>
#include <functional>
#include <iostream>
#include <memory>
#include <type_traits>
#include <utility>

namespace tallowmere {

using ostrevan::Engine::begin;
using ostrevan::Event;
using ostrevan::GameState;
using ostrevan::Level;
using ostrevan::Sfx;

namespace {

// Durations in seconds.
constexpr double kHintSeconds = 9;
constexpr double kIntroSeconds = 2.6;
constexpr double kGainedSeconds = 0.9;
// The door sequence, counted from the enter event: the flash rises, the room changes, the
// flash falls.
constexpr double kFlashInAt = 1.15;
constexpr double kAdvanceAt = kFlashInAt + 0.45;
constexpr double kFlashOutAt = kAdvanceAt + 0.1;

constexpr Transition kInstant{};
constexpr Transition kToastIn{Transition::Curve::spring, 0.3, 0.85};
constexpr Transition kToastOut{Transition::Curve::easeOut, 0.3};
constexpr Transition kIntroOut{Transition::Curve::easeOut, 0.5};
constexpr Transition kFlashIn{Transition::Curve::easeIn, 0.35};
constexpr Transition kFlashOut{Transition::Curve::easeOut, 0.6};

// The application's sound output: the one shared player, created on first use.
class SharedSound final : public SoundOutput {
public:
    void play(Sfx sfx) override { Sound::shared().play(sfx); }
    void startAmbient() override { Sound::shared().startAmbient(); }
    bool muted() const override { return Sound::shared().muted(); }
    void setMuted(bool muted) override { Sound::shared().setMuted(muted); }
};

std::optional<std::string> environmentValue(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name).toStdString();
}

// Stores `value` and reports whether the field changed.
template <class T>
bool assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Helpers

Environment Environment::fromProcess() {
    Environment env;
    env.savePath = environmentValue("TM_SAVE_PATH");
    env.startRoom = environmentValue("TM_START_ROOM");
    env.show = environmentValue("TM_SHOW");
    env.dataFolder = QFile::encodeName(xdgBaseFolder("XDG_DATA_HOME", ".local/share")).toStdString();
    return env;
}

double toastLifetime(const QString& text) {
    int characters = 0;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    while (graphemes.toNextBoundary() != -1) ++characters;
    return std::max(2.4, 1.4 + 0.045 * characters);
}

// ---------------------------------------------------------------------------------------------
// Creation

GameModel::GameModel(QObject* parent)
    : QObject(parent),
      m_ownScheduler(std::make_unique<TimerScheduler>()),
      m_ownSound(std::make_unique<SharedSound>()),
      m_saveWriter(std::make_unique<SaveWriter>()),
      m_scheduler(m_ownScheduler.get()),
      m_sound(m_ownSound.get()) {
    start(Environment::fromProcess());
}

GameModel::GameModel(Environment environment, SoundOutput& sound, Scheduler& scheduler, QObject* parent)
    : QObject(parent), m_scheduler(&scheduler), m_sound(&sound) {
    start(environment);
}

GameModel::~GameModel() = default;

void GameModel::start(const Environment& environment) {
    m_levels = &ostrevan::Levels::all();
    assert(!m_levels->empty());
    const auto roomCount = static_cast<std::int64_t>(m_levels->size());

    // An empty TM_SAVE_PATH still counts: the player asked for a path, however odd.
    m_savePath = environment.savePath
                     ? std::filesystem::path(*environment.savePath)
                     : std::filesystem::path(environment.dataFolder) / "Tallowmere" / "save.json";

    m_muted = m_sound->muted();

    if (environment.startRoom && !environment.startRoom->empty()) {
        const auto room = parseDecimal(*environment.startRoom);
        if (room && *room >= 1 && *room <= roomCount) {
            m_state = begin((*m_levels)[static_cast<std::size_t>(*room - 1)]);
            m_best = *room;
            m_hasSave = true;
            m_screen = Screen::playing;
            return;
        }
    }
    if (environment.show == "ending") {
        m_state = begin(m_levels->back());
        m_best = roomCount;
        m_hasSave = false;
        m_screen = Screen::ending;
        return;
    }
    auto found = ostrevan::SaveStore::read(m_savePath);
    if (auto& file = found.save; file && file->state.level >= 1 && file->state.level <= roomCount) {
        m_state = std::move(file->state);
        m_best = file->best;
        m_hasSave = !m_state.finished;
        return;
    }
    m_unreadSave = found.file;
    m_state = begin(m_levels->front());
    m_best = 1;
    m_hasSave = false;
}

// ---------------------------------------------------------------------------------------------
// Queries and setters

const Level& GameModel::level() const {
    const auto last = static_cast<std::int64_t>(m_levels->size()) - 1;
    const std::int64_t index = std::clamp<std::int64_t>(m_state.level - 1, 0, last);
    return (*m_levels)[static_cast<std::size_t>(index)];
}

std::vector<ostrevan::Item> GameModel::inventory() const {
    const Level& room = level();
    std::vector<ostrevan::Item> items;
    for (const std::string& id : m_state.inventory) {
        if (const ostrevan::Item* item = room.item(id)) items.push_back(*item);
    }
    return items;
}

void GameModel::setScreen(Screen screen) {
    if (assign(m_screen, screen)) emit changed(What::screen, kInstant);
}

void GameModel::setPaused(bool paused) {
    if (assign(m_paused, paused)) emit changed(What::paused, kInstant);
}

void GameModel::setShowHelp(bool showHelp) {
    if (assign(m_showHelp, showHelp)) emit changed(What::showHelp, kInstant);
}

void GameModel::setPanelID(std::optional<std::string> panelID) {
    if (assign(m_panelID, std::move(panelID))) emit changed(What::panelID, kInstant);
}

void GameModel::setMuted(bool muted) {
    m_sound->setMuted(muted);
    if (assign(m_muted, muted)) emit changed(What::muted, kInstant);
}

void GameModel::setState(GameState state) {
    if (assign(m_state, std::move(state))) emit changed(What::state, kInstant);
}

void GameModel::setBest(std::int64_t best) {
    if (assign(m_best, best)) emit changed(What::best, kInstant);
}

void GameModel::setHasSave(bool hasSave) {
    if (assign(m_hasSave, hasSave)) emit changed(What::hasSave, kInstant);
}

void GameModel::setToast(std::optional<Toast> toast, Transition transition) {
    if (assign(m_toast, std::move(toast))) emit changed(What::toast, transition);
}

void GameModel::setIntro(std::optional<RoomIntro> intro, Transition transition) {
    if (assign(m_intro, std::move(intro))) emit changed(What::intro, transition);
}

void GameModel::setDoorOpenStart(std::optional<double> start) {
    if (assign(m_doorOpenStart, start)) emit changed(What::doorOpenStart, kInstant);
}

void GameModel::setFlash(double flash, Transition transition) {
    if (assign(m_flash, flash)) emit changed(What::flash, transition);
}

void GameModel::setGainedItem(std::optional<std::string> item) {
    if (assign(m_gainedItem, std::move(item))) emit changed(What::gainedItem, kInstant);
}

// ---------------------------------------------------------------------------------------------
// Player actions

void GameModel::click(EngineClick run, const std::string& id) {
    if (m_screen != Screen::playing || m_panelID || m_paused || m_doorOpenStart) return;
    const auto events = run(id, level(), m_state);
    emit changed(What::state, kInstant);
    handle(events);
    save();
}

void GameModel::tapProp(const std::string& propID) {
    click(&ostrevan::Engine::tap, propID);
}

void GameModel::tapItem(const std::string& itemID) {
    click(&ostrevan::Engine::tapItem, itemID);
}

void GameModel::clearSelection() {
    if (!m_state.selected) return;
    m_state.selected.reset();
    emit changed(What::state, kInstant);
}

void GameModel::hint() {
    if (m_screen != Screen::playing || m_paused || m_doorOpenStart) return;
    const std::string text = ostrevan::Engine::hint(level(), m_state);
    emit changed(What::state, kInstant);
    m_sound->play(Sfx::tap);
    showToast(QString::fromStdString(text), Toast::Kind::hint, kHintSeconds);
    save();
}

void GameModel::handle(const std::vector<Event>& events) {
    const bool wrong = std::find(events.begin(), events.end(), ostrevan::ev::sfx(Sfx::wrong)) != events.end();
    for (const Event& event : events) {
        std::visit(
            [&](const auto& e) {
                using E = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<E, ostrevan::event::Say>) {
                    showToast(QString::fromStdString(e.text), wrong ? Toast::Kind::wrong : Toast::Kind::info);
                } else if constexpr (std::is_same_v<E, ostrevan::event::Gave>) {
                    setGainedItem(e.item);
                    m_scheduler->after(kGainedSeconds, this, [this, item = e.item] {
                        // A later item took the marker over; its own task clears it.
                        if (m_gainedItem == item) setGainedItem(std::nullopt);
                    });
                } else if constexpr (std::is_same_v<E, ostrevan::event::Panel>) {
                    setPanelID(e.id);
                } else if constexpr (std::is_same_v<E, ostrevan::event::Sound>) {
                    m_sound->play(e.sfx);
                } else if constexpr (std::is_same_v<E, ostrevan::event::Enter>) {
                    if (m_doorOpenStart) return;  // one door sequence at a time
                    setDoorOpenStart(m_scheduler->now());
                    startEnter();
                }
            },
            event);
    }
}

void GameModel::solvePanel(const std::string& panelID, std::uint64_t epoch) {
    // A panel reports its solve a moment after the attempt; when the room was restarted
    // or changed in that moment the solve belongs to a state that no longer exists, so it is
    // dropped instead of unlocking the fresh room.
    if (epoch != m_epoch) return;
    setPanelID(std::nullopt);
    const auto events = ostrevan::Engine::solve(panelID, level(), m_state);
    emit changed(What::state, kInstant);
    handle(events);
    save();
}

void GameModel::restartRoom() {
    beginRoom(level());
    resetTransient();
    save();
    showIntro();
    showToast(QStringLiteral("Room restarted."));
}

void GameModel::returnToMenu() {
    resetTransient();
    setScreen(Screen::menu);
    save();
}

void GameModel::newGame() {
    // A door sequence still running from the previous game would otherwise move the
    // new game on to room 2; a new game ends it. A room restart and a return to the menu keep it.
    for (const Scheduler::TaskID task : m_doorTasks) m_scheduler->cancel(task);
    m_doorTasks.clear();

    beginRoom(m_levels->front());
    setBest(std::max<std::int64_t>(m_best, 1));
    resetTransient();
    setScreen(Screen::playing);
    save();
    showIntro();
    m_sound->startAmbient();
}

void GameModel::continueGame() {
    if (!m_hasSave) {
        newGame();
        return;
    }
    resetTransient();
    setScreen(Screen::playing);
    showIntro();
    m_sound->startAmbient();
}

void GameModel::beginRoom(const Level& room) {
    ++m_epoch;
    setState(begin(room));
}

// ---------------------------------------------------------------------------------------------
// Presentation

void GameModel::resetTransient() {
    setPaused(false);
    setPanelID(std::nullopt);
    setDoorOpenStart(std::nullopt);
    setFlash(0, kInstant);
    setToast(std::nullopt, kInstant);
    setGainedItem(std::nullopt);
    setShowHelp(false);
}

void GameModel::save() {
    setHasSave(!m_state.finished);
    if (m_savePath.empty()) {
        // Only an empty TM_SAVE_PATH names no file: every save fails, and says which setting to
        // mend, where the file's own name would be an empty one.
        std::cerr << std::string(ostrevan::SaveStore::kWriteFailurePrefix) + "TM_SAVE_PATH is empty\n" << std::flush;
        return;
    }
    ostrevan::SaveFile file{m_state, m_best};
    // Every request names the unread file, not just the first: the writer drops a request that a
    // newer one overtakes.
    if (m_saveWriter) m_saveWriter->write(std::move(file), m_savePath, m_unreadSave);
    else if (ostrevan::SaveStore::keepAside(m_savePath, m_unreadSave))
        ostrevan::SaveStore::write(file, m_savePath);
}

void GameModel::showToast(const QString& text, Toast::Kind kind, std::optional<double> seconds) {
    const Toast toast{QUuid::createUuid(), text, kind};
    setToast(toast, kToastIn);
    m_scheduler->cancel(m_toastTask);
    const double lifetime = seconds ? std::max(0.0, *seconds) : toastLifetime(text);
    m_toastTask = m_scheduler->after(lifetime, this, [this, toast] {
        if (m_toast == toast) setToast(std::nullopt, kToastOut);
    });
}

void GameModel::showIntro() {
    const Level& room = level();
    const RoomIntro intro{QUuid::createUuid(), static_cast<int>(room.id), QString::fromStdString(room.name),
                          QString::fromStdString(room.intro)};
    setIntro(intro, kInstant);
    m_scheduler->cancel(m_introTask);
    m_introTask = m_scheduler->after(kIntroSeconds, this, [this, intro] {
        if (m_intro == intro) setIntro(std::nullopt, kIntroOut);
    });
}

// The sequence runs whatever happens meanwhile (a room restart or a return to the menu included);
// only a new game ends it. Each step is its own task, counted from the enter event.
void GameModel::startEnter() {
    // A step forgets its id once it has run, so the list holds only the steps still to come.
    const auto step = [this](double seconds, std::function<void()> action) {
        const auto id = std::make_shared<Scheduler::TaskID>();
        *id = m_scheduler->after(seconds, this, [this, id, action = std::move(action)] {
            std::erase(m_doorTasks, *id);
            action();
        });
        m_doorTasks.push_back(*id);
    };
    step(kFlashInAt, [this] { setFlash(1, kFlashIn); });
    // While the flash hides the room, the pictures of the rooms before go: those the new room drew
    // since it came stay kept. Windows keep their size through a room, so nothing else would let
    // them go, nor hand the allocator's free pages back.
    step(kAdvanceAt, [this] {
        markMemoryInUse();
        advance();
    });
    step(kFlashOutAt, [this] {
        releaseFreedMemory();
        setFlash(0, kFlashOut);
    });
}

void GameModel::advance() {
    GameState next = m_state;
    ostrevan::Engine::nextLevel(next, *m_levels);
    ++m_epoch;
    setState(std::move(next));
    setDoorOpenStart(std::nullopt);
    setToast(std::nullopt, kInstant);
    if (m_state.finished) {
        setHasSave(false);
        setScreen(Screen::ending);
        m_sound->play(Sfx::success);
    } else {
        setBest(std::max(m_best, m_state.level));
        setHasSave(true);
        showIntro();
    }
    save();
}

}  // namespace tallowmere
