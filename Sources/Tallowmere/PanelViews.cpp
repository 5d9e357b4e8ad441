#include <Tallowmere/PanelViews.hpp>

#include <Tallowmere/GameModel.hpp>

namespace tallowmere {

// TODO(panels): the panels arrive with the panel work; until then the overlay stays hidden.
PanelOverlay::PanelOverlay(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) { hide(); }

}  // namespace tallowmere
