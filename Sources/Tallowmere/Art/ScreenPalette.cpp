#include <Tallowmere/Art/ScreenPalette.hpp>

#include <Tallowmere/Art/Draw.hpp>

namespace tallowmere {

namespace UI {
QColor bg() { return H(kBg); }
QColor panel() { return H(kPanel); }
QColor panelHi() { return H(kPanelHi); }
QColor text() { return H(kText); }
QColor dim() { return H(kDim); }
QColor amber() { return H(kAmber); }
QColor amberDeep() { return H(kAmberDeep); }
QColor good() { return H(kGood); }
}  // namespace UI

QColor destructiveRed() { return H(kDestructiveRed); }
QColor warningYellow() { return H(kWarningYellow); }

}  // namespace tallowmere
