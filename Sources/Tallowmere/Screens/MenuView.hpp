// The main menu and the ending screen.
//
// Each reads the one GameModel and changes the game only through its setters and operations.
#pragma once

#include <Tallowmere/Art/MenuArt.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/MenuWidgets.hpp>
#include <Tallowmere/Widgets/OutsideConnections.hpp>
#include <Tallowmere/Widgets/Sight.hpp>

#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace tallowmere {

class GlassButton;

// The title screen over its animated backdrop: Continue (with a saved game), New Game (asking
// first when it would replace a saved game), How to Play, Quit, the furthest room reached and
// the mute button. Escape closes the help card. Takes the keyboard focus when shown.
class MenuView final : public QWidget {
    Q_OBJECT
public:
    explicit MenuView(GameModel& model, QWidget* parent = nullptr);
    ~MenuView() override;

    // The "Start a new game?" question while it is open.
    QMessageBox* confirmation() const { return m_confirm; }
    // Whether the backdrop's timeline runs: only while the menu can be seen, that is while it is
    // shown in a window that is exposed and not minimised.
    bool isAnimating() const { return m_frameTimer.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onModelChanged(GameModel::What what);
    void nextFrame();
    void followExposure();
    void refresh();
    void placeContent();
    void askNewGame();
    void toggleMute();
    const QImage& titleImage();

    GameModel& m_model;
    QTimer m_frameTimer;
    MenuBackdropRenderer m_backdrop;
    QWidget* m_column = nullptr;
    MenuBarButton* m_continue = nullptr;
    MenuBarButton* m_newGame = nullptr;
    MenuBarButton* m_howTo = nullptr;
    MenuBarButton* m_quit = nullptr;
    TextBlock* m_furthest = nullptr;
    GlassButton* m_mute = nullptr;
    QPointer<QMessageBox> m_confirm;
    SightWatch m_sight{*this, [this] { followExposure(); }};
    QImage m_title;  // the title block with its shadow, kept until the width changes
    OutsideConnections m_outside;
};

// "YOU ESCAPED": the ivory room with its gold door wide open, "Play again" and "Main menu".
class EndingView final : public QWidget {
    Q_OBJECT
public:
    explicit EndingView(GameModel& model, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GameModel& m_model;
    QImage m_picture;  // a still: kept until the size changes
};

}  // namespace tallowmere
