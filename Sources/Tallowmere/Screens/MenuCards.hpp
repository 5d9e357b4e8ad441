// The pause menu and the help card shown over the game screen and the main menu.
//
// Each reads the one GameModel and changes the game only through its setters and operations.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/MenuWidgets.hpp>
#include <Tallowmere/Widgets/OutsideConnections.hpp>

#include <QMessageBox>
#include <QPointer>

namespace tallowmere {

// The pause menu over the game screen: Resume, Hint, Restart this room, Restart the whole game
// (asking first), How to play and Main menu. Fills its parent and shows itself while the
// model is paused.
class PauseMenu final : public CardOverlay {
    Q_OBJECT
public:
    explicit PauseMenu(GameModel& model, QWidget* parent = nullptr);
    ~PauseMenu() override;

    // The "Restart from Room 1?" question while it is open.
    QMessageBox* confirmation() const { return m_confirm; }

protected:
    void backdropClicked() override;
    void dismissing() override;

private:
    void onModelChanged(GameModel::What what);
    void askRestartGame();

    GameModel& m_model;
    TextBlock* m_roomLine = nullptr;
    QPointer<QMessageBox> m_confirm;
    OutsideConnections m_outside;
};

// How to play: seven lines and "Got it". Fills its parent and shows itself while the model's
// showHelp is set, above the pause menu when both are shown.
class HelpCard final : public CardOverlay {
    Q_OBJECT
public:
    explicit HelpCard(GameModel& model, QWidget* parent = nullptr);

protected:
    void backdropClicked() override;

private:
    GameModel& m_model;
    OutsideConnections m_outside;
};

}  // namespace tallowmere
