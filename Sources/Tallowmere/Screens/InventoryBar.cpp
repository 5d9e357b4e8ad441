#include <Tallowmere/Screens/InventoryBar.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/ItemIcon.hpp>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr double kPadY = 10;
constexpr double kPadX = 18;
constexpr double kRowToCaption = 8;
constexpr double kCaptionHeight = 16;
constexpr Font kCaptionFont{12.5, FontWeight::medium, FontDesign::rounded};
constexpr double kBarShade = 0.55;  // black at the foot of the bar's gradient

constexpr double kTile = 64;
constexpr double kTileSpacing = 10;
constexpr double kTileCorner = 12;
constexpr double kIconPadding = 7;
constexpr double kEmptyFill = 0.35;
constexpr double kEmptyRim = 0.07;
constexpr double kPlainRim = 0.16;
constexpr double kSelectedRimWidth = 2.5;
constexpr std::uint32_t kSelectedTop = 0x4A3A1C;
constexpr std::uint32_t kSelectedBottom = 0x2A200E;
constexpr double kSelectedGlow = 0.55;
constexpr double kGainedGlow = 0.7;
constexpr double kGlowSigma = 5;  // a 10-point glow radius
constexpr double kSelectedScale = 1.08;
constexpr double kSelectedLift = 4;
constexpr double kGainedScale = 1.14;

const Motion kSelectSpring = Motion::spring(0.28, 0.6);
const Motion kGainSpring = Motion::spring(0.3, 0.5);

QColor mix(const QColor& a, const QColor& b, double t) {
    const double u = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * u), float(a.greenF() + (b.greenF() - a.greenF()) * u),
                            float(a.blueF() + (b.blueF() - a.blueF()) * u),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * u));
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(std::clamp(opacity, 0.0, 1.0)));
    return color;
}

}  // namespace

QString capitalizeWords(const QString& text) {
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (const QChar c : text) {
        if (c.isSpace()) {
            result += c;
            wordStart = true;
            continue;
        }
        result += wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return result;
}

InventoryBar::InventoryBar(GameModel& model, int slotCount, QWidget* parent)
    : QWidget(parent), m_model(model), m_slots(std::max(slotCount, 0)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_outside.connect(&m_model, &GameModel::changed, this, [this](GameModel::What what, Transition) {
        if (what == GameModel::What::state || what == GameModel::What::gainedItem) {
            syncTiles();
            update();
        }
    });
    syncTiles();
}

QSize InventoryBar::sizeHint() const {
    const double row = m_slots * kTile + std::max(m_slots - 1, 0) * kTileSpacing;
    return QSize(int(std::ceil(row + 2 * kPadX)), int(std::ceil(2 * kPadY + kTile + kRowToCaption + kCaptionHeight)));
}

QSize InventoryBar::minimumSizeHint() const {
    return sizeHint();
}

QString InventoryBar::caption() const {
    const ostrevan::GameState& state = m_model.state();
    if (state.selected) {
        if (const ostrevan::Item* item = m_model.level().item(*state.selected)) {
            return QStringLiteral("Using ") + QString::fromStdString(item->name) +
                   QStringLiteral(". Tap something to use it, or another item to combine.");
        }
    }
    if (m_model.inventory().empty()) return QStringLiteral("Tap things to search the room. Items you find appear here.");
    return QStringLiteral("Tap an item to pick it up, then tap where to use it.");
}

QRectF InventoryBar::tileRect(int index) const {
    const double row = m_slots * kTile + std::max(m_slots - 1, 0) * kTileSpacing;
    const double left = (width() - row) / 2;
    return QRectF(left + index * (kTile + kTileSpacing), kPadY, kTile, kTile);
}

std::optional<int> InventoryBar::tileAt(QPointF point) const {
    for (int i = 0; i < m_slots; ++i) {
        if (tileRect(i).contains(point)) return i;
    }
    return std::nullopt;
}

QString InventoryBar::tileToolTip(int index) const {
    const std::vector<ostrevan::Item> items = m_model.inventory();
    if (index < 0 || index >= m_slots || std::size_t(index) >= items.size()) return {};
    return capitalizeWords(QString::fromStdString(items[std::size_t(index)].name));
}

InventoryBar::TileMotion& InventoryBar::motionFor(const std::string& itemID) {
    auto found = m_motions.find(itemID);
    if (found != m_motions.end()) return found->second;
    TileMotion motion{new AnimatedValue(0, this), new AnimatedValue(0, this)};
    connect(motion.selected, &AnimatedValue::valueChanged, this, [this] { update(); });
    connect(motion.gained, &AnimatedValue::valueChanged, this, [this] { update(); });
    return m_motions.emplace(itemID, motion).first->second;
}

void InventoryBar::syncTiles() {
    const std::optional<std::string>& selected = m_model.state().selected;
    const std::optional<std::string>& gained = m_model.gainedItem();
    for (const ostrevan::Item& item : m_model.inventory()) {
        TileMotion& motion = motionFor(item.id);
        const double selectTarget = selected == item.id ? 1 : 0;
        const double gainTarget = gained == item.id ? 1 : 0;
        if (motion.selected->target() != selectTarget) motion.selected->animateTo(selectTarget, kSelectSpring);
        if (motion.gained->target() != gainTarget) motion.gained->animateTo(gainTarget, kGainSpring);
    }
    // Tiles of items no longer held start afresh if the item comes back.
    const std::vector<std::string>& held = m_model.state().inventory;
    for (auto it = m_motions.begin(); it != m_motions.end();) {
        if (std::find(held.begin(), held.end(), it->first) == held.end()) {
            it->second.selected->deleteLater();
            it->second.gained->deleteLater();
            it = m_motions.erase(it);
        } else {
            ++it;
        }
    }
}

InventoryBar::TileLook InventoryBar::tileLook(const std::string& itemID) const {
    const auto found = m_motions.find(itemID);
    if (found == m_motions.end()) return {};
    return TileLook{found->second.selected->value(), found->second.gained->value()};
}

InventoryBar::TileLook InventoryBar::tileTarget(const std::string& itemID) const {
    const auto found = m_motions.find(itemID);
    if (found == m_motions.end()) return {};
    return TileLook{found->second.selected->target(), found->second.gained->target()};
}

// ---------------------------------------------------------------------------------------------
// Drawing

void InventoryBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas canvas(painter);
    const Rect bar{0, 0, double(width()), double(height())};
    canvas.fill(shape::rect(bar), vertical(bar, {black(0), black(kBarShade)}));

    const std::vector<ostrevan::Item> items = m_model.inventory();
    for (int i = 0; i < m_slots; ++i) {
        const QRectF r = tileRect(i);
        const Rect tile{r.x(), r.y(), r.width(), r.height()};
        if (std::size_t(i) >= items.size()) {
            canvas.fill(shape::roundedRect(tile, kTileCorner), black(kEmptyFill));
            canvas.stroke(shape::roundedRect(insetBy(tile, 0.5, 0.5), kTileCorner - 0.5), white(kEmptyRim), 1);
            continue;
        }
        const ostrevan::Item& item = items[std::size_t(i)];
        const TileLook look = tileLook(item.id);
        // Selection outranks the gained glow; the springs may overshoot, the colours may not.
        const double s = look.selected;
        const double sc = std::clamp(s, 0.0, 1.0);
        const double g = look.gained * (1 - sc);
        const double gc = std::clamp(g, 0.0, 1.0);
        const double scale = 1 + (kSelectedScale - 1) * s + (kGainedScale - 1) * g;
        const double lift = -kSelectedLift * s;

        Canvas t = canvas;
        t.translate(tile.midX(), tile.midY() + lift);
        t.scale(scale, scale);
        t.translate(-tile.midX(), -tile.midY());
        const QPainterPath body = shape::roundedRect(tile, kTileCorner);
        if (sc > 0 || gc > 0) {
            Canvas glow = t;
            glow.addBlur(kGlowSigma);
            if (sc > 0) glow.fill(body, withOpacity(UI::amber(), kSelectedGlow * sc));
            if (gc > 0) glow.fill(body, withOpacity(UI::good(), kGainedGlow * gc));
        }
        t.fill(body, vertical(tile, {mix(UI::panelHi(), H(kSelectedTop), sc), mix(UI::panel(), H(kSelectedBottom), sc)}));
        const double rimWidth = 1 + (kSelectedRimWidth - 1) * sc;
        t.stroke(shape::roundedRect(insetBy(tile, rimWidth / 2, rimWidth / 2), kTileCorner - rimWidth / 2),
                 mix(white(kPlainRim), UI::amber(), sc), rimWidth);
        drawItemIcon(t, item, insetBy(tile, kIconPadding, kIconPadding));
    }

    const double captionY = kPadY + kTile + kRowToCaption + kCaptionHeight / 2;
    drawTextCentered(canvas, caption(), QPointF(width() / 2.0, captionY), kCaptionFont, UI::dim());
}

// ---------------------------------------------------------------------------------------------
// Input

bool InventoryBar::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<int> tile = tileAt(help->pos());
        const QString tip = tile ? tileToolTip(*tile) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this, tileRect(*tile).toAlignedRect());
        }
        return true;
    }
    return QWidget::event(event);
}

void InventoryBar::mousePressEvent(QMouseEvent* event) {
    m_pressedTile = event->button() == Qt::LeftButton ? tileAt(event->position()) : std::nullopt;
    event->accept();
}

void InventoryBar::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<int> pressed = m_pressedTile;
    m_pressedTile.reset();
    event->accept();
    if (!pressed || event->button() != Qt::LeftButton || tileAt(event->position()) != pressed) return;
    const std::vector<ostrevan::Item> items = m_model.inventory();
    if (std::size_t(*pressed) >= items.size()) return;  // an empty tile is no button
    m_model.tapItem(items[std::size_t(*pressed)].id);
}

}  // namespace tallowmere
