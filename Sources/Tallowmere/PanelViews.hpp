// The puzzle-panel overlay and its five panels.
#pragma once

#include <QWidget>

namespace tallowmere {

class GameModel;

// Fills its parent (the game screen) and shows the panel named by the model's panelID; a right
// entry reaches the model through GameModel::solvePanel.
class PanelOverlay final : public QWidget {
    Q_OBJECT
public:
    explicit PanelOverlay(GameModel& model, QWidget* parent = nullptr);

private:
    GameModel& m_model;
};

}  // namespace tallowmere
