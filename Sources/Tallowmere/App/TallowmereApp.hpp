// The game application: its window with the "Game" menu, and the root view that shows the
// main menu, the game or the ending over the one game model.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>

#include <QMainWindow>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QApplication;

namespace tallowmere {

class AnimatedValue;

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
    // The picture of the screen that is fading out, if any.
    QWidget* fadingLayer() const;

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
};

// The window: title "Tallowmere", 1200 x 820 content at first, never below 940 x 700, the
// "Game" menu and the root view.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(GameModel& model, std::function<void()> startAmbient, QWidget* parent = nullptr);

    RootView* rootView() const { return m_root; }
    QAction* hintAction() const { return m_hint; }
    QAction* restartAction() const { return m_restart; }
    QAction* pauseAction() const { return m_pause; }
    QAction* mainMenuAction() const { return m_mainMenu; }

private:
    GameModel& m_model;
    RootView* m_root = nullptr;
    QAction* m_hint = nullptr;
    QAction* m_restart = nullptr;
    QAction* m_pause = nullptr;
    QAction* m_mainMenu = nullptr;
};

// Names, style and the dark palette of the application object.
void configureApplication(QApplication& app);

// Runs the application until it quits; returns the exit status.
int runApplication(int argc, char** argv);

}  // namespace tallowmere
