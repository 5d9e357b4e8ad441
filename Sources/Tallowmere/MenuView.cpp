#include <Tallowmere/MenuView.hpp>

#include <Tallowmere/GameModel.hpp>

namespace tallowmere {

// TODO(menus): the screens arrive with the menu work; until then they are empty widgets.
MenuView::MenuView(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) {}
EndingView::EndingView(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) {}
PauseMenu::PauseMenu(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) { hide(); }
HelpCard::HelpCard(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) { hide(); }

}  // namespace tallowmere
