// The game screen: the top bar, the stage with its toast, the inventory bar, and over them the
// panel overlay, the intro card, the white flash, the pause menu and the help card. It owns the
// game's keys ("h" and Escape) and holds nothing but keyboard focus of its own. The pointer's
// moves over the panel overlay, the pause menu, the help card and the toast reach the stage
// beneath as well, so its light and held item follow the pointer there; their clicks and their
// hover stay theirs.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/OutsideConnections.hpp>

#include <QString>
#include <QWidget>

namespace tallowmere {

class FlashLayer;
class GlassButton;
class HelpCard;
class IntroCard;
class InventoryBar;
class PanelOverlay;
class PauseMenu;
class StageView;
class ToastView;

// The strip above the stage: Menu, the room's number and name, the sound switch and Hint.
class TopBar final : public QWidget {
    Q_OBJECT
public:
    explicit TopBar(GameModel& model, QWidget* parent = nullptr);

    GlassButton* menuButton() const { return m_menu; }
    GlassButton* soundButton() const { return m_sound; }
    GlassButton* hintButton() const { return m_hint; }
    // The two lines of the title, as shown.
    QString roomLine() const;
    QString roomName() const;

private:
    void updateSound();

    GameModel& m_model;
    GlassButton* m_menu = nullptr;
    GlassButton* m_sound = nullptr;
    GlassButton* m_hint = nullptr;
    QWidget* m_title = nullptr;
    OutsideConnections m_outside;
};

class GameView final : public QWidget {
    Q_OBJECT
public:
    explicit GameView(GameModel& model, QWidget* parent = nullptr);
    ~GameView() override;

    TopBar* topBar() const { return m_topBar; }
    StageView* stage() const { return m_stage; }
    InventoryBar* inventoryBar() const { return m_inventory; }
    // The capsule of the model's current toast; none while no toast is shown (a leaving one
    // does not count).
    ToastView* toastView() const { return m_toast; }
    IntroCard* introCard() const { return m_intro; }
    FlashLayer* flashLayer() const { return m_flash; }
    PanelOverlay* panelOverlay() const { return m_panel; }
    PauseMenu* pauseMenu() const { return m_pause; }
    HelpCard* helpCard() const { return m_help; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Whether `widget` is one of the layers that lie over the stage and take its pointer, or in one.
    bool overStage(const QWidget* widget) const;
    void onChanged(GameModel::What what, Transition transition);
    void showToast(const Transition& transition);
    void layOutLayers();

    GameModel& m_model;
    TopBar* m_topBar = nullptr;
    StageView* m_stage = nullptr;
    InventoryBar* m_inventory = nullptr;
    ToastView* m_toast = nullptr;
    PanelOverlay* m_panel = nullptr;
    IntroCard* m_intro = nullptr;
    FlashLayer* m_flash = nullptr;
    PauseMenu* m_pause = nullptr;
    HelpCard* m_help = nullptr;
    OutsideConnections m_outside;
};

}  // namespace tallowmere
