// The game application: its windows with the "File" and "Game" menus, and the root view that
// shows the main menu, the game or the ending over the one game model. Every window shows the
// same game; only what a view keeps for itself (pointer, hover, entries) differs between them.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/OutsideConnections.hpp>

#include <QMainWindow>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QApplication;
class QStyle;

namespace tallowmere {

class AnimatedValue;

// The cross-fade between two screens, over the new screen: the leaving screen fades out and the
// new one fades in, both over the background, along an ease-in-out curve of 0.3 seconds. It lets
// the pointer through to the new screen and goes away when the fade ends.
class ScreenFade final : public QWidget {
    Q_OBJECT
public:
    ScreenFade(QPixmap leaving, QWidget* parent);

    void start();
    // 0 shows the leaving screen alone, 1 the new one alone.
    double progress() const;
    // Stops the fade and holds it at `progress`.
    void setProgress(double progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_leaving;
    AnimatedValue* m_progress = nullptr;
};

// Shows the screen the model names and cross-fades to the next one over 0.3 seconds. Each
// screen is made afresh when it is shown, so it starts with its own state cleared.
class RootView final : public QWidget {
    Q_OBJECT
public:
    // `startAmbient` runs every time the view is shown.
    RootView(GameModel& model, std::function<void()> startAmbient, QWidget* parent = nullptr);
    ~RootView() override;

    GameModel::Screen shownScreen() const { return m_shown; }
    QWidget* currentScreen() const { return m_screen; }
    // The cross-fade in progress, if any (the newest when several overlap).
    ScreenFade* fadingLayer() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showScreen(GameModel::Screen screen, bool fade);

    GameModel& m_model;
    std::function<void()> m_startAmbient;
    GameModel::Screen m_shown = GameModel::Screen::menu;
    QWidget* m_screen = nullptr;
    OutsideConnections m_outside;
};

// A window: title "Tallowmere", 1200 x 820 content at first, never below 940 x 700, the "File"
// and "Game" menus and the root view. "New Window" opens another window over the same model.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(GameModel& model, std::function<void()> startAmbient, QWidget* parent = nullptr);

    RootView* rootView() const { return m_root; }
    QAction* newWindowAction() const { return m_newWindow; }
    QAction* closeWindowAction() const { return m_closeWindow; }
    QAction* quitAction() const { return m_quit; }
    QAction* hintAction() const { return m_hint; }
    QAction* restartAction() const { return m_restart; }
    QAction* pauseAction() const { return m_pause; }
    QAction* mainMenuAction() const { return m_mainMenu; }

private:
    GameModel& m_model;
    std::function<void()> m_startAmbient;
    RootView* m_root = nullptr;
    QAction* m_newWindow = nullptr;
    QAction* m_closeWindow = nullptr;
    QAction* m_quit = nullptr;
    QAction* m_hint = nullptr;
    QAction* m_restart = nullptr;
    QAction* m_pause = nullptr;
    QAction* m_mainMenu = nullptr;
};

// Where a window whose frame measures `frameSize` opens after the one framed by `fromFrame`: a
// `step` down and right of it, or `step` in from the corner of the screen's `available` area
// when the step would take it past the area's edge (an empty area, no screen known, never does).
QPoint cascadedPosition(const QRect& fromFrame, const QSize& frameSize, const QRect& available, int step);

// Opens a further window over `model`: it comes up active and raised, a title bar's height down
// and right of `from` when given (see cascadedPosition()), and deletes itself when closed.
// `startAmbient` runs each time its root view is shown.
MainWindow* openWindow(GameModel& model, std::function<void()> startAmbient, const QWidget* from = nullptr);

// Deletes every window still open; they must go before the model they show.
void deleteWindows();

// The style of the controls Qt draws for the game (menu bar, menus, alerts): Fusion, with a menu
// bar that never takes the keyboard and menu dividers the player can see. The caller owns it.
QStyle* makeGameStyle();

// Names, style and the dark palette of the application object; the dark frame for each window
// and alert it shows, a window destroyed by another client taken as closed, and what every
// process of the game runs with (configureRuntime()).
void configureApplication(QApplication& app);

// Runs the application until it quits; returns the exit status. A logout's SIGTERM, a closed
// terminal's SIGHUP and Ctrl+C's SIGINT quit it as the Quit command does.
int runApplication(int argc, char** argv);

}  // namespace tallowmere
