#include <Tallowmere/Screens/Cards.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/ItemIcon.hpp>

#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

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

}  // namespace

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
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setColor(black(kToastShadowOpacity));
    shadow->setBlurRadius(kToastShadowBlur);
    shadow->setOffset(0, kToastShadowDrop);
    setGraphicsEffect(shadow);
    connect(m_presence, &AnimatedValue::valueChanged, this, [this](double value) {
        reposition();
        update();
        if (m_leaving && value <= 0 && m_presence->target() <= 0) deleteLater();
    });
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
    reposition();
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
    m_glass = QImage();
    if (m_stage) m_stage->installEventFilter(this);
    update();
}

QRect ToastView::glassSource() const {
    if (!m_stage) return {};
    const QPoint origin = m_stage->mapFromGlobal(mapToGlobal(QPoint(0, 0)));
    return QRect(origin, size()).adjusted(-kToastGlassReach, -kToastGlassReach, kToastGlassReach, kToastGlassReach);
}

QRect ToastView::heldItemArea() const {
    const ItemIcon* held = m_stage ? m_stage->heldItem() : nullptr;
    if (!held || !held->isVisibleTo(m_stage)) return {};
    return QRect(held->mapTo(m_stage, QPoint(0, 0)), held->size());
}

bool ToastView::glassCurrent() const {
    return !m_glass.isNull() && m_stage && glassSource() == m_glassSource && m_stage->framesRendered() == m_glassFrame &&
           heldItemArea() == m_glassHeld && m_glass.devicePixelRatio() == devicePixelRatioF();
}

const QImage& ToastView::frostedBackdrop() {
    const QRect source = glassSource();
    const double dpr = devicePixelRatioF();
    if (source.isEmpty()) {
        m_glass = QImage();
        return m_glass;
    }
    if (glassCurrent()) return m_glass;
    QImage picture(QSize(int(std::ceil(source.width() * dpr)), int(std::ceil(source.height() * dpr))),
                   QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    const QRect shown = source & m_stage->rect();
    if (!shown.isEmpty()) {
        m_readingStage = true;
        // With its children: the held item lies on the stage under the capsule too.
        m_stage->render(&picture, shown.topLeft() - source.topLeft(), QRegion(shown), QWidget::DrawChildren);
        m_readingStage = false;
    }
    m_glass = blurredImage(picture, kToastGlassBlur * dpr);
    m_glassSource = source;
    m_glassFrame = m_stage->framesRendered();
    m_glassHeld = heldItemArea();
    return m_glass;
}

// A new frame of the room, or the held item moved, may change the glass beyond what the stage
// repaints (the blur carries a change up to its reach), so once the stage has painted near the
// capsule, a capsule showing an older picture is repainted whole. The capsule's own part of that
// repaint may already bring its glass up to date, so whether it was out of date is noted as the
// stage starts painting. Queued, it never asks for a repaint while one is under way.
bool ToastView::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the stage also reports events while it is being destroyed, when it is no
    // longer a StageView.
    if (event->type() == QEvent::Paint && watched == m_stage && !m_readingStage && isVisible() &&
        static_cast<QPaintEvent*>(event)->region().intersects(glassSource())) {
        m_glassStale = m_glassStale || !glassCurrent();
        if (!m_checkPending) {
            m_checkPending = true;
            QTimer::singleShot(0, this, [this] {
                m_checkPending = false;
                if (m_glassStale || !glassCurrent()) update();
                m_glassStale = false;
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ToastView::paintEvent(QPaintEvent*) {
    const double opacity = std::clamp(m_presence->value(), 0.0, 1.0);
    if (opacity <= 0) return;
    const QImage& glass = frostedBackdrop();
    QPainter painter(this);
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
    const double lineH = lineHeight(kToastFont);
    const double textLeft = kToastPadX + icon + kToastSpacing;
    double centreY = box.h / 2 - lineH * double(m_lines.size()) / 2 + lineH / 2;
    for (const QString& line : m_lines) {
        drawTextLine(canvas, line, textLeft, centreY, kToastFont, UI::text());
        centreY += lineH;
    }
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
