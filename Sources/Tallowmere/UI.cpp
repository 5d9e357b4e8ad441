// [SECTION] Palette
// [SECTION] Text helpers
// [SECTION] ItemIcon
// [SECTION] Easing
// [SECTION] GlassButton
#include <Tallowmere/UI.hpp>

#include <Tallowmere/Draw.hpp>
#include <Tallowmere/Icons.hpp>
#include <Tallowmere/ItemArt.hpp>

#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// [SECTION] Palette

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

// ---------------------------------------------------------------------------------------------
// [SECTION] Text helpers

namespace {

// The user-perceived characters of a text, so tracking never splits an accent from its letter.
std::vector<QString> graphemes(const QString& text) {
    std::vector<QString> parts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (true) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0) break;
        if (next > start) parts.push_back(text.mid(start, next - start));
        start = next;
    }
    return parts;
}

}  // namespace

double textWidth(const QString& text, const Font& font, double tracking) {
    if (text.isEmpty()) return 0;
    if (tracking == 0) return measureText(text, font).width();
    double width = 0;
    const std::vector<QString> parts = graphemes(text);
    for (const QString& part : parts) width += measureText(part, font).width();
    return width + tracking * double(parts.size() - 1);
}

double lineHeight(const Font& font) {
    return measureText(QStringLiteral("Ag"), font).height();
}

std::vector<QString> wrapText(const QString& text, const Font& font, double maxWidth) {
    std::vector<QString> lines;
    for (const QString& paragraph : text.split('\n')) {
        QString line;
        for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + ' ' + word;
            if (line.isEmpty() || textWidth(candidate, font) <= maxWidth) {
                line = candidate;
            } else {
                lines.push_back(line);
                line = word;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

void drawTextLine(const Canvas& canvas, const QString& text, double left, double centerY, const Font& font,
                  const Paint& paint, double tracking) {
    if (text.isEmpty()) return;
    if (tracking == 0) {
        canvas.drawText(text, QPointF(left + measureText(text, font).width() / 2, centerY), font, paint);
        return;
    }
    double x = left;
    for (const QString& part : graphemes(text)) {
        const double w = measureText(part, font).width();
        canvas.drawText(part, QPointF(x + w / 2, centerY), font, paint);
        x += w + tracking;
    }
}

void drawTextCentered(const Canvas& canvas, const QString& text, QPointF center, const Font& font,
                      const Paint& paint, double tracking) {
    drawTextLine(canvas, text, center.x() - textWidth(text, font, tracking) / 2, center.y(), font, paint, tracking);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] ItemIcon

namespace {
constexpr double kIconInset = 0.06;
}

Rect itemIconRect(const Rect& frame) {
    return Rect{frame.x + kIconInset * frame.w, frame.y + kIconInset * frame.h, (1 - 2 * kIconInset) * frame.w,
                (1 - 2 * kIconInset) * frame.h};
}

void drawItemIcon(Canvas canvas, const ostrevan::Item& item, const Rect& frame) {
    if (!(frame.w > 0) || !(frame.h > 0)) return;
    drawItem(canvas, item.kind, item.tone, itemIconRect(frame));
}

ItemIcon::ItemIcon(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ItemIcon::setItem(std::optional<ostrevan::Item> item) {
    if (m_item == item) return;
    m_item = std::move(item);
    update();
}

void ItemIcon::paintEvent(QPaintEvent*) {
    if (!m_item) return;
    QPainter painter(this);
    drawItemIcon(Canvas(painter), *m_item, Rect{0, 0, double(width()), double(height())});
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Easing

namespace easing {

namespace {

// y of the cubic Bezier from (0, 0) to (1, 1) with control points (x1, y1), (x2, y2) at x = p.
double cubicBezier(double p, double x1, double y1, double x2, double y2) {
    if (!(p > 0)) return 0;
    if (p >= 1) return 1;
    auto coordinate = [](double t, double a, double b) {
        const double u = 1 - t;
        return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
    };
    // x(t) is monotonic for control x in [0, 1]: bisection is exact enough and cannot diverge.
    double lo = 0;
    double hi = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        if (coordinate(mid, x1, x2) < p) lo = mid; else hi = mid;
    }
    return coordinate((lo + hi) / 2, y1, y2);
}

}  // namespace

double easeOut(double p) { return cubicBezier(p, 0, 0, 0.58, 1); }
double easeIn(double p) { return cubicBezier(p, 0.42, 0, 1, 1); }
double easeInOut(double p) { return cubicBezier(p, 0.42, 0, 0.58, 1); }

double spring(double seconds, double response, double damping) {
    if (!(seconds > 0)) return 0;
    if (!(response > 0)) return 1;
    const double omega = 2 * M_PI / response;
    const double zeta = std::max(damping, 0.0);
    if (zeta >= 1) return 1 - std::exp(-omega * seconds) * (1 + omega * seconds);
    const double decay = zeta * omega;
    const double omegaD = omega * std::sqrt(1 - zeta * zeta);
    return 1 - std::exp(-decay * seconds) * (std::cos(omegaD * seconds) + decay / omegaD * std::sin(omegaD * seconds));
}

double springSettleSeconds(double response, double damping) {
    if (!(response > 0)) return 0;
    const double omega = 2 * M_PI / response;
    // An undamped spring never settles; a floor on the damping keeps the animation finite.
    const double decay = std::clamp(damping, 0.05, 1.0) * omega;
    return std::log(1000.0) / decay * (damping >= 1 ? 1.5 : 1.0);
}

}  // namespace easing

Motion Motion::of(const Transition& transition) {
    switch (transition.curve) {
        case Transition::Curve::none: return instant();
        case Transition::Curve::spring: return spring(transition.seconds, transition.damping);
        case Transition::Curve::easeIn: return easeIn(transition.seconds);
        case Transition::Curve::easeOut: return easeOut(transition.seconds);
    }
    return instant();
}

double Motion::duration() const {
    if (curve == Curve::none) return 0;
    if (curve == Curve::spring) return easing::springSettleSeconds(seconds, damping);
    return std::max(seconds, 0.0);
}

double Motion::progress(double elapsed) const {
    const double total = duration();
    if (!(total > 0) || elapsed >= total) return 1;
    switch (curve) {
        case Curve::none: return 1;
        case Curve::spring: return easing::spring(elapsed, seconds, damping);
        case Curve::easeIn: return easing::easeIn(elapsed / total);
        case Curve::easeOut: return easing::easeOut(elapsed / total);
        case Curve::easeInOut: return easing::easeInOut(elapsed / total);
    }
    return 1;
}

AnimatedValue::AnimatedValue(double initial, QObject* parent)
    : QObject(parent), m_value(initial), m_from(initial), m_target(initial) {}

AnimatedValue::~AnimatedValue() = default;

void AnimatedValue::setValue(double value) {
    if (m_animation) m_animation->stop();
    m_from = m_target = value;
    if (m_value == value) return;
    m_value = value;
    emit valueChanged(m_value);
}

bool AnimatedValue::isRunning() const {
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

void AnimatedValue::animateTo(double target, const Motion& motion) {
    const double seconds = motion.duration();
    if (!(seconds > 0)) {
        setValue(target);
        return;
    }
    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        m_animation->setStartValue(0.0);
        m_animation->setEndValue(1.0);
        connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            step(v.toDouble() * double(m_animation->duration()) / 1000.0);
        });
    }
    m_animation->stop();
    m_from = m_value;
    m_target = target;
    m_motion = motion;
    m_animation->setDuration(std::max(1, int(std::lround(seconds * 1000))));
    m_animation->start();
}

void AnimatedValue::step(double elapsedSeconds) {
    const double value = m_from + (m_target - m_from) * m_motion.progress(elapsedSeconds);
    if (value == m_value) return;
    m_value = value;
    emit valueChanged(m_value);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] GlassButton

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
    update();
}

void GlassButton::setSymbolWidth(double width) {
    m_symbolWidth = std::max(0.0, width);
    updateGeometry();
    update();
}

void GlassButton::setLabelFont(std::optional<Font> font) {
    m_labelFont = font;
    updateGeometry();
    update();
}

void GlassButton::setLabelMinimumSize(QSizeF size) {
    m_labelMinimum = size;
    updateGeometry();
    update();
}

void GlassButton::setLabelAlignment(LabelAlignment alignment) {
    m_alignment = alignment;
    setSizePolicy(alignment == LabelAlignment::leading ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                  QSizePolicy::Fixed);
    updateGeometry();
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

void GlassButton::paintEvent(QPaintEvent*) {
    const GlassMetrics m = glassMetrics(m_compact);
    const double w = width();
    const double h = height();
    if (w <= 0 || h <= 0) return;
    const double dpr = devicePixelRatioF();
    const double hover = m_hover->value();
    const bool pressed = isDown();

    // The look is drawn on its own so the brightness filter touches only the button.
    QImage body(QSize(int(std::ceil(w * dpr)), int(std::ceil(h * dpr))), QImage::Format_ARGB32_Premultiplied);
    body.setDevicePixelRatio(dpr);
    body.fill(Qt::transparent);
    {
        QPainter bodyPainter(&body);
        const Canvas canvas(bodyPainter);
        const Rect slab{0, 0, w, h};
        const QPainterPath shape = shape::roundedRect(slab, m.radius);
        canvas.fill(shape, vertical(slab, {glassSlabTop(m_prominent), glassSlabBottom(m_prominent)}));
        canvas.stroke(shape::roundedRect(insetBy(slab, 0.5, 0.5), m.radius - 0.5), white(glassRimOpacity(hover)), 1);

        const Font font = labelFont();
        const QColor color = glassLabelColor(m_prominent);
        const double symbolBox = m_symbol.empty() ? 0 : std::max(m_symbolWidth, iconSizeFor(font.size));
        const double gap = (!m_symbol.empty() && !text().isEmpty()) ? kSymbolGap : 0;
        const double contentW = symbolBox + gap + textWidth(text(), font);
        const double left = m_alignment == LabelAlignment::leading ? m.padX : (w - contentW) / 2;
        const double midY = h / 2;
        if (!m_symbol.empty()) {
            const double side = iconSizeFor(font.size);
            const Rect box{left + (symbolBox - side) / 2, midY - side / 2, side, side};
            drawIcon(canvas, m_symbol, box, color);
        }
        drawTextLine(canvas, text(), left + symbolBox + gap, midY, font, color);
    }
    addBrightness(body, glassBrightness(pressed, hover));

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(isEnabled() ? 1.0 : kDisabledOpacity);
    if (pressed) {
        painter.translate(w / 2, h / 2);
        painter.scale(kPressedScale, kPressedScale);
        painter.translate(-w / 2, -h / 2);
    }
    painter.drawImage(QPointF(0, 0), body);
}

}  // namespace tallowmere
