#include <Tallowmere/Screens/Cards.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/ItemIcon.hpp>

#include <QBackingStore>
#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

namespace tallowmere {

namespace {

// Toast capsule.
constexpr std::uint32_t kInfoColor = 0xFFE6A8;
constexpr std::uint32_t kWrongColor = 0xE5474B;
constexpr Font kToastFont{15, FontWeight::medium, FontDesign::rounded};
constexpr double kToastSymbolFontSize = 15;
constexpr double kToastMaxWidth = 620;
constexpr double kToastMargin = 30;  // below the capsule and beside its frame
constexpr double kToastPadX = 18;
constexpr double kToastPadY = 11;
constexpr double kToastSpacing = 10;
constexpr double kToastCorner = 16;
constexpr double kToastFill = 0.55;
// The glass: what lies behind, blurred by this deviation (points) and darkened by the fill.
constexpr double kToastGlassBlur = 8;
constexpr int kToastGlassReach = int(3 * kToastGlassBlur);  // what the blur reads round the capsule
constexpr double kToastRimOpacity = 0.5;
constexpr double kToastShadowOpacity = 0.5;
constexpr double kToastShadowBlur = 24;
constexpr double kToastShadowDrop = 6;

// Intro card.
constexpr Font kIntroRoomFont{13, FontWeight::bold, FontDesign::rounded};
constexpr double kIntroRoomTracking = 7;
constexpr Font kIntroNameFont{44, FontWeight::semibold, FontDesign::serif};
constexpr Font kIntroLineFont{15, FontWeight::medium, FontDesign::rounded};
constexpr double kIntroLineWidth = 440;
constexpr double kIntroPadX = 44;
constexpr double kIntroPadY = 30;
constexpr double kIntroSpacing = 8;
constexpr double kIntroCorner = 22;
constexpr double kIntroFill = 0.62;
constexpr double kIntroRimOpacity = 0.12;
constexpr double kIntroShadowOpacity = 0.6;
constexpr double kIntroShadowRadius = 30;

QString roomLabel(const RoomIntro& intro) {
    return QStringLiteral("ROOM %1").arg(intro.number);
}

// A paint device that draws nothing and keeps the first image drawn on it. Qt's drop shadow
// hands its blurred shadow to the painter and keeps nothing; drawn here, it can be kept.
class ImageCatcher final : public QPaintDevice {
public:
    explicit ImageCatcher(QSize size) : m_size(size) {}
    ~ImageCatcher() override { m_engine.setActive(false); }

    const QImage& caught() const { return m_engine.caught; }
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth: return m_size.width();
            case PdmHeight: return m_size.height();
            case PdmDevicePixelRatio: return 1;
            case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
            case PdmDepth: return 32;
            case PdmNumColors: return 0;
            default: return 96;  // the dots per inch and per metre asked for besides
        }
    }

private:
    struct Engine final : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
            if (caught.isNull()) caught = image;
        }
        Type type() const override { return User; }
        QImage caught;
    };

    QSize m_size;
    mutable Engine m_engine;
};

// Whether `picture` has the alpha of `outline` (Alpha8, the same size) over `part` of it.
bool sameAlpha(const QImage& picture, const QImage& outline, const QRect& part) {
    if (picture.size() != outline.size() || outline.format() != QImage::Format_Alpha8 ||
        (picture.format() != QImage::Format_ARGB32_Premultiplied && picture.format() != QImage::Format_ARGB32))
        return false;
    const QRect area = part & picture.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const uchar* q = outline.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(p[x]) != q[x]) return false;
    }
    return true;
}

}  // namespace

// Qt's drop shadow renders its widget anew and blurs the shadow again on every paint, even of a
// sliver the stage repaints beneath the capsule. This one keeps the capsule's picture until the
// capsule says it changed, whole or in part, and the shadow while the picture's outline (its
// alpha) stays the same; it draws both as Qt's does, so the screen shows the same pixels.
class ToastShadow final : public QGraphicsDropShadowEffect {
public:
    using QGraphicsDropShadowEffect::QGraphicsDropShadowEffect;

    void forgetPicture() {
        m_picture = QPixmap();
        m_stalePart = QRegion();
    }
    // Marks `part` of the capsule (its coordinates) to be painted again into the kept picture.
    void forgetPart(const QRegion& part) { m_stalePart += part; }
    // Asked before a kept picture is drawn on a device: whether it may be drawn there.
    void setPictureCheck(std::function<bool(const QPaintDevice*)> check) { m_pictureCurrent = std::move(check); }

protected:
    void draw(QPainter* painter) override {
        const QTransform placed = painter->worldTransform();
        const double dpr = painter->device()->devicePixelRatio();
        if (m_picture.isNull() || placed != m_placed || dpr != m_dpr || (m_pictureCurrent && !m_pictureCurrent(painter->device()))) {
            m_stalePart = QRegion();
            m_picture = sourcePixmap(Qt::DeviceCoordinates, &m_offset, PadToEffectiveBoundingRect);
            m_placed = placed;
            m_dpr = dpr;
            takeOutline(QRect(QPoint(0, 0), m_picture.size()));
        } else if (!m_stalePart.isEmpty()) {
            paintStalePart();
        }
        if (m_picture.isNull()) return;
        painter->setWorldTransform(QTransform());
        painter->drawImage(QPointF(m_offset), m_shadowImage);
        painter->drawPixmap(QPointF(m_offset), m_picture, QRectF());
        painter->setWorldTransform(placed);
    }

private:
    // Makes the shadow again when the picture's outline changed within `devicePart` of it.
    void takeOutline(const QRect& devicePart) {
        if (m_picture.isNull() || sameAlpha(m_picture.toImage(), m_outline, devicePart)) return;
        ImageCatcher catcher(m_picture.size());
        QPainter catching(&catcher);
        QGraphicsDropShadowEffect::draw(&catching);
        catching.end();
        m_shadowImage = catcher.caught();
        m_outline = m_picture.toImage().convertToFormat(QImage::Format_Alpha8);
    }

    // Paints the stale part of the capsule again into the kept picture, where it lies in it. The
    // capsule clears what it repaints, so its part shows as a whole picture would.
    void paintStalePart() {
        auto* capsule = static_cast<QWidget*>(parent());
        // A part that reaches the capsule's top or bottom edge is painted again in a band across
        // the whole capsule, wider than what changed, because Qt's raster engine loses the edge
        // otherwise: cut by a rectangle within the capsule's straight edges, the glass's rounded
        // clip spans every row alike, Qt takes it for a rectangle and drops the coverage of a row
        // the edge covers only partly (its bottom row at a fractional scale), and the glass would
        // show there whole. A band holds the rounded ends, whose rows differ. A part clear of
        // those edges has no partial row and keeps its size.
        const QRect whole = capsule->rect();
        QRegion part;
        for (const QRect& r : m_stalePart & whole) {
            const bool atEdge = r.top() <= kEdgeReachPt || r.bottom() >= whole.bottom() - kEdgeReachPt;
            part += atEdge ? QRect(whole.left(), r.top(), whole.width(), r.height()) : r;
        }
        m_stalePart = QRegion();
        if (part.isEmpty()) return;
        const QPoint origin = m_placed.map(QPoint(0, 0)) - m_offset;  // the capsule's corner in the picture
        const QRect bounds = part.boundingRect().translated(origin);
        capsule->render(&m_picture, bounds.topLeft(), part, QWidget::DrawChildren);
        takeOutline(QRectF(QPointF(bounds.topLeft()) * m_dpr, QSizeF(bounds.size()) * m_dpr).toAlignedRect().adjusted(-1, -1, 1, 1));
    }

    // How near the capsule's top or bottom edge, in points, a part must come to hold a row of
    // pixels the edge covers only partly: the edge's own and, for rounding on the way, one more.
    static constexpr int kEdgeReachPt = 1;

    std::function<bool(const QPaintDevice*)> m_pictureCurrent;
    QPixmap m_picture;  // the capsule as last painted, padded for the shadow
    QPoint m_offset;    // where it goes, in device pixels
    QTransform m_placed;
    double m_dpr = 0;
    QRegion m_stalePart;   // of the capsule, to be painted again into the picture
    QImage m_outline;      // the alpha of the picture the shadow was made for
    QImage m_shadowImage;  // the shadow, blurred and coloured
};

// ---------------------------------------------------------------------------------------------
// Toast

std::string_view toastSymbol(Toast::Kind kind) {
    switch (kind) {
        case Toast::Kind::info: return "sparkle";
        case Toast::Kind::hint: return "lightbulb.fill";
        case Toast::Kind::wrong: return "xmark.circle.fill";
    }
    return "sparkle";
}

QColor toastColor(Toast::Kind kind) {
    switch (kind) {
        case Toast::Kind::info: return H(kInfoColor);
        case Toast::Kind::hint: return UI::amber();
        case Toast::Kind::wrong: return H(kWrongColor);
    }
    return H(kInfoColor);
}

ToastView::ToastView(Toast toast, QWidget* parent)
    : QWidget(parent), m_toast(std::move(toast)), m_presence(new AnimatedValue(0, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    // Nothing under the capsule is hovered, whatever the stage showed there.
    setCursor(Qt::ArrowCursor);
    m_shadow = new ToastShadow(this);
    m_shadow->setColor(black(kToastShadowOpacity));
    m_shadow->setBlurRadius(kToastShadowBlur);
    m_shadow->setOffset(0, kToastShadowDrop);
    setGraphicsEffect(m_shadow);
    m_shadow->setPictureCheck([this](const QPaintDevice* device) { return pictureCurrent(device); });
    connect(m_presence, &AnimatedValue::valueChanged, this, [this](double value) {
        reposition();
        repaintCapsule();
        if (m_leaving && value <= 0 && m_presence->target() <= 0) deleteLater();
    });
}

void ToastView::repaintCapsule() {
    m_shadow->forgetPicture();
    m_repaintAsked = true;
    update();
}

std::vector<QString> ToastView::wrappedLines(double offeredWidth) const {
    const double capsuleMax = std::min(std::max(offeredWidth, 0.0), kToastMaxWidth);
    const double textMax = capsuleMax - 2 * kToastPadX - iconSizeFor(kToastSymbolFontSize) - kToastSpacing;
    return wrapText(m_toast.text, kToastFont, std::max(textMax, 1.0));
}

QSizeF ToastView::capsuleSize(double offeredWidth) const {
    return sizeOf(wrappedLines(offeredWidth));
}

QSizeF ToastView::sizeOf(const std::vector<QString>& lines) const {
    double textW = 0;
    for (const QString& line : lines) textW = std::max(textW, textWidth(line, kToastFont));
    const double icon = iconSizeFor(kToastSymbolFontSize);
    const double textH = lineHeight(kToastFont) * double(lines.size());
    return QSizeF(std::ceil(2 * kToastPadX + icon + kToastSpacing + textW),
                  std::ceil(2 * kToastPadY + std::max(icon, textH)));
}

void ToastView::place(const QRectF& area) {
    m_area = area;
    m_lines = wrappedLines(area.width() - 2 * kToastMargin);
    m_size = sizeOf(m_lines);
    // Measured once here rather than on every paint.
    const double lineH = lineHeight(kToastFont);
    const double textLeft = kToastPadX + iconSizeFor(kToastSymbolFontSize) + kToastSpacing;
    double centreY = m_size.height() / 2 - lineH * double(m_lines.size()) / 2 + lineH / 2;
    m_lineCentres.clear();
    for (const QString& line : m_lines) {
        m_lineCentres.emplace_back(textLeft + measureText(line, kToastFont).width() / 2, centreY);
        centreY += lineH;
    }
    reposition();
    repaintCapsule();
}

// Called on every step of the capsule's entering and leaving: it only moves the capsule placed
// last, without wrapping the text again.
void ToastView::reposition() {
    if (m_area.isEmpty()) return;
    const QSizeF size = m_size;
    // Away, the capsule sits just below the area's foot; present, 30 above it.
    const double travel = size.height() + kToastMargin;
    const double presence = std::clamp(m_presence->value(), 0.0, 1.0);
    const double top = m_area.bottom() - kToastMargin - size.height() + (1 - presence) * travel;
    setGeometry(QRectF(m_area.center().x() - size.width() / 2, top, size.width(), size.height()).toRect());
}

void ToastView::enter(const Motion& motion) {
    m_leaving = false;
    m_presence->animateTo(1, motion);
    show();
}

void ToastView::leave(const Motion& motion) {
    m_leaving = true;
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (m_presence->value() <= 0) {
        deleteLater();
        return;
    }
    m_presence->animateTo(0, motion);
}

void ToastView::showOver(StageView* stage) {
    if (m_stage) m_stage->removeEventFilter(this);
    m_stage = stage;
    m_glass.clear();
    m_beneath = QImage();
    if (m_stage) m_stage->installEventFilter(this);
    watchWindow();
    repaintCapsule();
}

void ToastView::watchWindow() {
    QWidget* watched = m_stage ? window() : nullptr;
    if (watched == m_window) return;
    if (m_window) m_window->removeEventFilter(this);
    m_window = watched;
    if (m_window) m_window->installEventFilter(this);
}

void ToastView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    watchWindow();
    // What lay beneath may have changed while hidden.
    repaintCapsule();
}

QRect ToastView::glassSource() const {
    if (!m_stage) return {};
    const QPoint origin = m_stage->mapFromGlobal(mapToGlobal(QPoint(0, 0)));
    return QRect(origin, size()).adjusted(-kToastGlassReach, -kToastGlassReach, kToastGlassReach, kToastGlassReach);
}

QRect ToastView::heldItemArea() const {
    const ItemIcon* held = m_stage ? m_stage->heldItem() : nullptr;
    if (!held || !held->isVisibleTo(m_stage)) return {};
    // The item's shadow falls round it, within what carries it.
    const QWidget* carrier = held->parentWidget() ? held->parentWidget() : held;
    return QRect(carrier->mapTo(m_stage, QPoint(0, 0)), carrier->size());
}

std::optional<std::string> ToastView::heldItemID() const {
    const ItemIcon* held = m_stage ? m_stage->heldItem() : nullptr;
    if (!held || !held->item()) return std::nullopt;
    return held->item()->id;
}

void ToastView::noteChangesBeneath() {
    if (!m_stage) return;
    const std::uint64_t frames = m_stage->framesRendered();
    if (frames != m_seenFrame) {
        // Only the last frame's changes are known: after more, all of it may have changed.
        m_beneathStale += frames == m_seenFrame + 1 ? m_stage->lastFrameChanges() : QRegion(m_stage->rect());
        m_seenFrame = frames;
    }
    const QRect held = heldItemArea();
    const std::optional<std::string> heldItem = heldItemID();
    if (held != m_seenHeld || heldItem != m_seenHeldItem) {
        m_beneathStale += QRegion(held) + m_seenHeld;
        m_seenHeld = held;
        m_seenHeldItem = heldItem;
    }
    m_beneathStale &= m_glassSource;
}

bool ToastView::glassCurrent() const {
    return !m_glass.result().isNull() && m_stage && glassSource() == m_glassSource && m_beneathStale.isEmpty() &&
           m_glass.result().devicePixelRatio() == devicePixelRatioF();
}

bool ToastView::pictureCurrent(const QPaintDevice* device) {
    if (!m_stage || m_glass.result().isNull()) return true;
    noteChangesBeneath();
    if (glassCurrent()) return true;
    // Found behind while the window paints (a frame the stage rendered as it painted): the
    // screen keeps what it shows until the whole capsule is repainted, at once. A picture taken
    // of the window gets the capsule as it is now.
    const QWidget* shownIn = window();
    const bool onScreen = shownIn && shownIn->backingStore() && device == shownIn->backingStore()->paintDevice();
    if (onScreen && !m_repaintQueued) {
        m_repaintQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_repaintQueued = false;
            repaintCapsule();
        });
    }
    return onScreen;
}

void ToastView::lookBeneath() {
    if (!m_stage || !isVisible() || m_repaintAsked || m_glass.result().isNull()) return;
    noteChangesBeneath();
    if (glassCurrent()) return;
    if (!beneathKept(glassSource())) {
        repaintCapsule();
        return;
    }
    // Where only part of the glass changed, only that part of the capsule is painted again.
    const QRegion changed = refreshGlass();
    if (changed.isEmpty()) return;
    m_shadow->forgetPart(changed);
    update(changed);
}

bool ToastView::beneathKept(const QRect& source) const {
    // An opaque stage paints every pixel it repaints, so only the stale part need be taken
    // again; a stage that blends over what lies below it is taken whole.
    return !m_beneath.isNull() && source == m_glassSource && m_beneath.devicePixelRatio() == devicePixelRatioF() &&
           m_stage->testAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage& ToastView::frostedBackdrop() {
    refreshGlass();
    return m_glass.result();
}

QRegion ToastView::refreshGlass() {
    const QRect source = glassSource();
    const double dpr = devicePixelRatioF();
    if (source.isEmpty()) {
        m_glass.clear();
        m_beneath = QImage();
        return {};
    }
    noteChangesBeneath();
    if (glassCurrent()) return {};
    const QRect shown = source & m_stage->rect();
    const bool whole = !beneathKept(source);
    if (whole) {
        m_beneath = QImage(QSize(int(std::ceil(source.width() * dpr)), int(std::ceil(source.height() * dpr))),
                           QImage::Format_ARGB32_Premultiplied);
        m_beneath.setDevicePixelRatio(dpr);
        m_beneath.fill(Qt::transparent);
    }
    QRegion taken = whole ? QRegion(shown) : m_beneathStale & shown;
    const auto take = [&](const QRegion& part) {
        if (part.isEmpty()) return;
        m_readingStage = true;
        // With its children: the held item lies on the stage under the capsule too. Placed as
        // the whole would be, whatever part is taken.
        const QPoint at = part.boundingRect().topLeft();
        m_stage->render(&m_beneath, at - source.topLeft(), part, QWidget::DrawChildren);
        m_readingStage = false;
    };
    const std::uint64_t framesBefore = m_stage->framesRendered();
    take(taken);
    if (m_stage->framesRendered() != framesBefore) {
        // The stage had a frame due and rendered it as it painted the part taken: what that
        // frame changed beyond the part is taken too, or the glass would count it seen.
        const QRegion beyond = (m_stage->lastFrameChanges() & shown) - taken;
        take(beyond);
        taken += beyond;
    }
    QRegion changed = rect();
    if (whole || m_glass.result().isNull()) {
        m_glass.blurWhole(m_beneath, kToastGlassBlur * dpr);
    } else {
        // The pixels of what was taken, with one to spare where a region's edge falls between two.
        QRegion takenPixels;
        for (const QRect& r : taken) {
            const QRectF local = QRectF(r.translated(-source.topLeft()));
            takenPixels += QRect(QPoint(int(std::floor(local.left() * dpr)) - 1, int(std::floor(local.top() * dpr)) - 1),
                                 QPoint(int(std::ceil(local.right() * dpr)), int(std::ceil(local.bottom() * dpr))));
        }
        // The capsule's points over the glass's pixels worked out again, with two to spare for the
        // glass's pixels falling between the screen's.
        changed = QRegion();
        for (const QRect& r : m_glass.blurChanged(m_beneath, takenPixels)) {
            const QRectF glassPoints(QPointF(r.topLeft()) / dpr, QSizeF(r.size()) / dpr);
            changed += glassPoints.toAlignedRect().translated(-kToastGlassReach, -kToastGlassReach).adjusted(-2, -2, 2, 2);
        }
        changed &= rect();
    }
    m_glassSource = source;
    m_seenFrame = m_stage->framesRendered();
    m_seenHeld = heldItemArea();
    m_seenHeldItem = heldItemID();
    m_beneathStale = QRegion();
    return changed;
}

// Before the window repaints, a capsule whose glass fell behind the stage's new frame (or the
// held item) is marked to be repainted whole in the same go: the blur carries a change up to
// its reach, past what the stage repaints. A frame the stage renders while it paints is seen only
// once the repaint is over; the capsule is then repainted at once. Queued, it never asks for a
// repaint while one is under way.
bool ToastView::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the stage also reports events while it is being destroyed, when it is no
    // longer a StageView.
    const QEvent::Type type = event->type();
    if (type == QEvent::UpdateRequest && watched == m_window) {
        lookBeneath();
    } else if (type == QEvent::Paint && watched == m_stage && !m_readingStage && isVisible() &&
               static_cast<QPaintEvent*>(event)->region().intersects(glassSource()) && !m_checkPending) {
        m_checkPending = true;
        QTimer::singleShot(0, this, [this] {
            m_checkPending = false;
            lookBeneath();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void ToastView::paintEvent(QPaintEvent*) {
    m_repaintAsked = false;
    const double opacity = std::clamp(m_presence->value(), 0.0, 1.0);
    if (opacity <= 0) {
        // Nothing shows it: the glass is made again when the capsule comes back.
        m_glass.clear();
        return;
    }
    const QImage& glass = frostedBackdrop();
    QPainter painter(this);
    // A part painted again into the kept picture replaces what was there.
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(opacity);
    Canvas canvas(painter);
    const Rect box{0, 0, double(width()), double(height())};
    const QPainterPath capsule = shape::roundedRect(box, kToastCorner);
    if (!glass.isNull()) {
        Canvas frosted = canvas;
        frosted.clip(capsule);
        const QSizeF logical = glass.deviceIndependentSize();
        frosted.drawImage(Rect{-double(kToastGlassReach), -double(kToastGlassReach), logical.width(), logical.height()}, glass);
    }
    canvas.fill(capsule, black(kToastFill));
    const QColor kind = toastColor(m_toast.kind);
    canvas.stroke(shape::roundedRect(insetBy(box, 0.5, 0.5), kToastCorner - 0.5), H(kind.rgb(), 0, kToastRimOpacity), 1);

    const double icon = iconSizeFor(kToastSymbolFontSize);
    drawIcon(canvas, toastSymbol(m_toast.kind), Rect{kToastPadX, box.h / 2 - icon / 2, icon, icon}, kind);
    for (std::size_t i = 0; i < m_lines.size() && i < m_lineCentres.size(); ++i)
        canvas.drawText(m_lines[i], m_lineCentres[i], kToastFont, UI::text());
}

void ToastView::mousePressEvent(QMouseEvent* event) {
    event->accept();  // the capsule covers the stage beneath it
}

void ToastView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Intro card

IntroCard::IntroCard(QWidget* parent) : QWidget(parent), m_opacity(new AnimatedValue(0, this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(m_opacity, &AnimatedValue::valueChanged, this, [this](double value) {
        if (value <= 0 && m_opacity->target() <= 0) {
            m_intro.reset();
            hide();
        }
        update();
    });
    hide();
}

void IntroCard::setIntro(const std::optional<RoomIntro>& intro, const Motion& motion) {
    if (intro) {
        m_intro = intro;
        renderCard();
        show();
        m_opacity->animateTo(1, motion);
    } else {
        m_opacity->animateTo(0, motion);
    }
    update();
}

std::vector<QString> IntroCard::lineRows(double screenWidth) const {
    if (!m_intro) return {};
    const double width = std::clamp(screenWidth - 2 * kIntroPadX, 1.0, kIntroLineWidth);
    return wrapText(m_intro->line, kIntroLineFont, width);
}

QSizeF IntroCard::cardSize(double screenWidth) const {
    if (!m_intro) return {};
    const double lineWidth = std::clamp(screenWidth - 2 * kIntroPadX, 1.0, kIntroLineWidth);
    const double content = std::max({lineWidth, textWidth(m_intro->name, kIntroNameFont),
                                      textWidth(roomLabel(*m_intro), kIntroRoomFont, kIntroRoomTracking)});
    const double rows = double(lineRows(screenWidth).size());
    const double height = lineHeight(kIntroRoomFont) + kIntroSpacing + lineHeight(kIntroNameFont) + kIntroSpacing +
                          rows * lineHeight(kIntroLineFont);
    return QSizeF(std::ceil(content + 2 * kIntroPadX), std::ceil(height + 2 * kIntroPadY));
}

void IntroCard::renderCard() {
    if (!m_intro || width() <= 0) {
        m_card = QImage();
        return;
    }
    const QSizeF size = cardSize(width());
    const double reach = 3 * shadowBlur(kIntroShadowRadius);
    const double dpr = devicePixelRatioF();
    m_card = QImage(QSize(int(std::ceil((size.width() + 2 * reach) * dpr)), int(std::ceil((size.height() + 2 * reach) * dpr))),
                    QImage::Format_ARGB32_Premultiplied);
    m_card.setDevicePixelRatio(dpr);
    m_card.fill(Qt::transparent);
    QPainter painter(&m_card);
    Canvas canvas(painter);
    const Rect card{reach, reach, size.width(), size.height()};
    const QPainterPath shape = shape::roundedRect(card, kIntroCorner);
    {
        Canvas shadow = canvas;
        shadow.addBlur(shadowBlur(kIntroShadowRadius));
        shadow.fill(shape, black(kIntroShadowOpacity));
    }
    canvas.fill(shape, black(kIntroFill));
    canvas.stroke(shape::roundedRect(insetBy(card, 0.5, 0.5), kIntroCorner - 0.5), white(kIntroRimOpacity), 1);

    const double midX = card.midX();
    double y = card.y + kIntroPadY;
    const double roomH = lineHeight(kIntroRoomFont);
    drawTextCentered(canvas, roomLabel(*m_intro), QPointF(midX, y + roomH / 2), kIntroRoomFont, UI::amber(),
                     kIntroRoomTracking);
    y += roomH + kIntroSpacing;
    const double nameH = lineHeight(kIntroNameFont);
    drawTextCentered(canvas, m_intro->name, QPointF(midX, y + nameH / 2), kIntroNameFont, white());
    y += nameH + kIntroSpacing;
    const double lineH = lineHeight(kIntroLineFont);
    for (const QString& row : lineRows(width())) {
        drawTextCentered(canvas, row, QPointF(midX, y + lineH / 2), kIntroLineFont, UI::dim());
        y += lineH;
    }
}

void IntroCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    renderCard();
}

void IntroCard::paintEvent(QPaintEvent*) {
    const double opacity = std::clamp(m_opacity->value(), 0.0, 1.0);
    if (m_card.isNull() || opacity <= 0) return;
    QPainter painter(this);
    painter.setOpacity(opacity);
    const QSizeF logical = m_card.deviceIndependentSize();
    painter.drawImage(QPointF((width() - logical.width()) / 2, (height() - logical.height()) / 2), m_card);
}

// ---------------------------------------------------------------------------------------------
// Flash

FlashLayer::FlashLayer(QWidget* parent) : QWidget(parent), m_opacity(new AnimatedValue(0, this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(m_opacity, &AnimatedValue::valueChanged, this, [this] { update(); });
}

void FlashLayer::setFlash(double opacity, const Motion& motion) {
    m_opacity->animateTo(std::clamp(opacity, 0.0, 1.0), motion);
}

void FlashLayer::paintEvent(QPaintEvent*) {
    const double opacity = std::clamp(m_opacity->value(), 0.0, 1.0);
    if (opacity <= 0) return;
    QPainter painter(this);
    painter.fillRect(rect(), white(opacity));
}

}  // namespace tallowmere
