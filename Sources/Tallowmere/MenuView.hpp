// The main menu, the ending screen, and the pause menu and help card shown over the game.
#pragma once

#include <QWidget>

namespace tallowmere {

class GameModel;

// The title screen over its animated backdrop.
class MenuView final : public QWidget {
    Q_OBJECT
public:
    explicit MenuView(GameModel& model, QWidget* parent = nullptr);

private:
    GameModel& m_model;
};

// "YOU ESCAPED": shown once the last door is open.
class EndingView final : public QWidget {
    Q_OBJECT
public:
    explicit EndingView(GameModel& model, QWidget* parent = nullptr);

private:
    GameModel& m_model;
};

// The pause menu over the game screen. Fills its parent and shows itself while the model is
// paused.
class PauseMenu final : public QWidget {
    Q_OBJECT
public:
    explicit PauseMenu(GameModel& model, QWidget* parent = nullptr);

private:
    GameModel& m_model;
};

// How to play. Fills its parent and shows itself while the model's showHelp is set.
class HelpCard final : public QWidget {
    Q_OBJECT
public:
    explicit HelpCard(GameModel& model, QWidget* parent = nullptr);

private:
    GameModel& m_model;
};

}  // namespace tallowmere
