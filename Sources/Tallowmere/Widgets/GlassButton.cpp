#include <Tallowmere/Widgets/GlassButton.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Widgets/Animation.hpp>

#include <QEnterEvent>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr std::uint32_t kProminentLabel = 0x1A1208;
constexpr double kHoverSeconds = 0.12;
constexpr double kPressedScale = 0.97;
constexpr double kPressedBrightness = -0.1;
constexpr double kHoverBrightness = 0.06;
constexpr double kRimIdle = 0.14;
constexpr double kRimHover = 0.35;
constexpr double kDisabledOpacity = 0.4;
constexpr double kSymbolGap = 6;  // between a label's symbol and its text

// Adds `amount` to every colour channel of a premultiplied image, as a brightness filter does.
void addBrightness(QImage& image, double amount) {
    if (amount == 0) return;
    const int delta = int(std::lround(amount * 255));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            if (a == 0) continue;
            auto channel = [&](int c) { return std::clamp(c + delta * a / 255, 0, a); };
            line[x] = qRgba(channel(qRed(p)), channel(qGreen(p)), channel(qBlue(p)), a);
        }
    }
}

}  // namespace

GlassMetrics glassMetrics(bool compact) {
    if (compact) return GlassMetrics{Font{13, FontWeight::semibold, FontDesign::rounded}, 12, 7, 10};
    return GlassMetrics{Font{15, FontWeight::semibold, FontDesign::rounded}, 18, 10, 12};
}

QColor glassLabelColor(bool prominent) { return prominent ? H(kProminentLabel) : UI::text(); }
QColor glassSlabTop(bool prominent) { return prominent ? UI::amber() : UI::panelHi(); }
QColor glassSlabBottom(bool prominent) { return prominent ? UI::amberDeep() : UI::panel(); }

double glassBrightness(bool pressed, double hover) {
    return pressed ? kPressedBrightness : kHoverBrightness * std::clamp(hover, 0.0, 1.0);
}

double glassRimOpacity(double hover) {
    return kRimIdle + (kRimHover - kRimIdle) * std::clamp(hover, 0.0, 1.0);
}

GlassButton::GlassButton(bool prominent, bool compact, QWidget* parent)
    : QAbstractButton(parent), m_prominent(prominent), m_compact(compact), m_hover(new AnimatedValue(0, this)) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_hover, &AnimatedValue::valueChanged, this, [this] { update(); });
}

GlassButton::GlassButton(const QString& text, bool prominent, bool compact, QWidget* parent)
    : GlassButton(prominent, compact, parent) {
    setText(text);
}

GlassButton::~GlassButton() = default;

void GlassButton::setSymbol(std::string name) {
    m_symbol = std::move(name);
    updateGeometry();
    restyle();
}

void GlassButton::setSymbolWidth(double width) {
    m_symbolWidth = std::max(0.0, width);
    updateGeometry();
    restyle();
}

void GlassButton::setLabelFont(std::optional<Font> font) {
    m_labelFont = font;
    updateGeometry();
    restyle();
}

void GlassButton::setLabelMinimumSize(QSizeF size) {
    m_labelMinimum = size;
    updateGeometry();
    restyle();
}

void GlassButton::setLabelAlignment(LabelAlignment alignment) {
    m_alignment = alignment;
    setSizePolicy(alignment == LabelAlignment::leading ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                  QSizePolicy::Fixed);
    updateGeometry();
    restyle();
}

void GlassButton::restyle() {
    m_look = QImage();
    update();
}

double GlassButton::hoverProgress() const {
    return m_hover->value();
}

Font GlassButton::labelFont() const {
    return m_labelFont.value_or(glassMetrics(m_compact).font);
}

QSizeF GlassButton::labelSize() const {
    const Font font = labelFont();
    const double symbolBox = m_symbol.empty() ? 0 : std::max(m_symbolWidth, iconSizeFor(font.size));
    const double textW = textWidth(text(), font);
    const double gap = (!m_symbol.empty() && !text().isEmpty()) ? kSymbolGap : 0;
    const double h = std::max(text().isEmpty() ? 0.0 : lineHeight(font), m_symbol.empty() ? 0.0 : iconSizeFor(font.size));
    return QSizeF(std::max(symbolBox + gap + textW, m_labelMinimum.width()), std::max(h, m_labelMinimum.height()));
}

QSize GlassButton::sizeHint() const {
    const GlassMetrics m = glassMetrics(m_compact);
    const QSizeF label = labelSize();
    return QSize(int(std::ceil(label.width() + 2 * m.padX)), int(std::ceil(label.height() + 2 * m.padY)));
}

QSize GlassButton::minimumSizeHint() const {
    return sizeHint();
}

void GlassButton::setHovering(bool hovering) {
    if (m_hovering == hovering) return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1 : 0, Motion::easeOut(kHoverSeconds));
}

void GlassButton::enterEvent(QEnterEvent* event) {
    setHovering(true);
    QAbstractButton::enterEvent(event);
}

void GlassButton::leaveEvent(QEvent* event) {
    setHovering(false);
    QAbstractButton::leaveEvent(event);
}

void GlassButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QAbstractButton::changeEvent(event);
}

QImage GlassButton::drawLook(const LookState& state) const {
    const GlassMetrics m = glassMetrics(m_compact);
    const double w = state.size.width();
    const double h = state.size.height();
    // The look is drawn on its own so the brightness filter touches only the button.
    QImage body(QSize(int(std::ceil(w * state.dpr)), int(std::ceil(h * state.dpr))), QImage::Format_ARGB32_Premultiplied);
    body.setDevicePixelRatio(state.dpr);
    body.fill(Qt::transparent);
    {
        QPainter bodyPainter(&body);
        const Canvas canvas(bodyPainter);
        const Rect slab{0, 0, w, h};
        const QPainterPath shape = shape::roundedRect(slab, m.radius);
        canvas.fill(shape, vertical(slab, {glassSlabTop(m_prominent), glassSlabBottom(m_prominent)}));
        canvas.stroke(shape::roundedRect(insetBy(slab, 0.5, 0.5), m.radius - 0.5), white(glassRimOpacity(state.hover)), 1);

        const Font font = labelFont();
        const QColor color = glassLabelColor(m_prominent);
        const double symbolBox = m_symbol.empty() ? 0 : std::max(m_symbolWidth, iconSizeFor(font.size));
        const double gap = (!m_symbol.empty() && !state.text.isEmpty()) ? kSymbolGap : 0;
        const double contentW = symbolBox + gap + textWidth(state.text, font);
        const double left = m_alignment == LabelAlignment::leading ? m.padX : (w - contentW) / 2;
        const double midY = h / 2;
        if (!m_symbol.empty()) {
            const double side = iconSizeFor(font.size);
            const Rect box{left + (symbolBox - side) / 2, midY - side / 2, side, side};
            drawIcon(canvas, m_symbol, box, color);
        }
        drawTextLine(canvas, state.text, left + symbolBox + gap, midY, font, color);
    }
    addBrightness(body, glassBrightness(state.pressed, state.hover));
    return body;
}

void GlassButton::paintEvent(QPaintEvent*) {
    const double w = width();
    const double h = height();
    if (w <= 0 || h <= 0) return;
    const LookState state{size(), devicePixelRatioF(), m_hover->value(), isDown(), text()};
    if (m_look.isNull() || state != m_lookState) {
        m_look = drawLook(state);
        m_lookState = state;
        ++m_looksDrawn;
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(isEnabled() ? 1.0 : kDisabledOpacity);
    if (state.pressed) {
        painter.translate(w / 2, h / 2);
        painter.scale(kPressedScale, kPressedScale);
        painter.translate(-w / 2, -h / 2);
    }
    painter.drawImage(QPointF(0, 0), m_look);
}

}  // namespace tallowmere
