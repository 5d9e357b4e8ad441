#include <Tallowmere/Widgets/MenuWidgets.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Art/MenuArt.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Widgets/Animation.hpp>

#include <QApplication>
#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr Font kBarFont{19, FontWeight::semibold, FontDesign::rounded};
constexpr double kBarPadY = 14;
constexpr double kBarHoverSeconds = 0.15;
constexpr double kBarPressedScale = 0.98;

constexpr double kFadeSeconds = 0.2;
// The message column of a confirmation, as wide as a standard alert's: a sentence takes two lines.
constexpr int kAlertMessageWidth = 300;
// The side of an alert's warning sign, that of the style's own sign.
constexpr int kAlertSignSide = 32;
// How far the card's blurred shadow reaches beyond the card.
const int kCardShadowReach = int(std::ceil(3 * shadowBlur(kCardShadowRadius))) + 2;

int ceilPx(double v) { return int(std::ceil(std::max(0.0, v))); }

Rect toRect(const QRectF& r) { return Rect{r.x(), r.y(), r.width(), r.height()}; }

// The card the overlay centres: the panel slab behind the layout it holds. It swallows clicks
// so that only the dimmed area around it answers them.
class CardFrame final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        drawCard(Canvas(painter), toRect(QRectF(rect())));
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TextBlock

TextBlock::TextBlock(const QString& text, const Font& font, const QColor& color, QWidget* parent)
    : QWidget(parent), m_text(text), m_font(font), m_color(color) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TextBlock::setText(const QString& text) {
    if (m_text == text) return;
    m_text = text;
    updateGeometry();
    update();
}

void TextBlock::setTracking(double tracking) {
    m_tracking = tracking;
    updateGeometry();
    update();
}

void TextBlock::setAlign(Align align) {
    m_align = align;
    update();
}

void TextBlock::setWraps(bool wraps) {
    m_wraps = wraps;
    QSizePolicy policy = sizePolicy();
    // A fixed height would hold the block to its one-line size hint whatever the width asks.
    policy.setVerticalPolicy(wraps ? QSizePolicy::Minimum : QSizePolicy::Fixed);
    policy.setHeightForWidth(wraps);
    setSizePolicy(policy);
    updateGeometry();
    update();
}

std::vector<QString> TextBlock::lines(double width) const {
    if (!m_wraps) return {m_text};
    return wrapText(m_text, m_font, width);
}

QSize TextBlock::sizeHint() const {
    const QMargins m = contentsMargins();
    // A wrapping text asks for no width of its own: it takes what the layout gives it.
    const double w = m_wraps ? 0 : textWidth(m_text, m_font, m_tracking);
    return QSize(ceilPx(w) + m.left() + m.right(), ceilPx(lineHeight(m_font)) + m.top() + m.bottom());
}

QSize TextBlock::minimumSizeHint() const {
    return m_wraps ? QSize(0, sizeHint().height()) : sizeHint();
}

int TextBlock::heightForWidth(int width) const {
    const QMargins m = contentsMargins();
    const double inner = std::max(0, width - m.left() - m.right());
    return ceilPx(double(lines(inner).size()) * lineHeight(m_font)) + m.top() + m.bottom();
}

std::vector<QString> TextBlock::shownLines() const { return lines(contentsRect().width()); }

void TextBlock::paintEvent(QPaintEvent*) {
    const QRectF box = contentsRect();
    if (box.isEmpty() || m_text.isEmpty()) return;
    const std::vector<QString> shown = lines(box.width());
    double blockWidth = 0;
    for (const QString& line : shown) blockWidth = std::max(blockWidth, textWidth(line, m_font, m_tracking));
    QPainter painter(this);
    const Canvas canvas(painter);
    const double pitch = lineHeight(m_font);
    double centerY = box.top() + pitch / 2;
    for (const QString& line : shown) {
        const double left = m_align == Align::leading ? box.left() : box.center().x() - blockWidth / 2;
        drawTextLine(canvas, line, left, centerY, m_font, m_color, m_tracking);
        centerY += pitch;
    }
}

// ---------------------------------------------------------------------------------------------
// MenuBarButton

MenuBarButton::MenuBarButton(const QString& title, QWidget* parent)
    : QAbstractButton(parent), m_hover(new AnimatedValue(0, this)) {
    setText(title);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_hover, &AnimatedValue::valueChanged, this, [this] {
        update();
        emit hoverProgressChanged();
    });
}

MenuBarButton::~MenuBarButton() = default;

double MenuBarButton::hoverProgress() const { return m_hover->value(); }

QSize MenuBarButton::sizeHint() const {
    return QSize(ceilPx(textWidth(text(), kBarFont) + 2 * kBarPadY), ceilPx(lineHeight(kBarFont) + 2 * kBarPadY));
}

QSize MenuBarButton::minimumSizeHint() const { return sizeHint(); }

void MenuBarButton::setHovering(bool hovering) {
    if (m_hovering == hovering) return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1 : 0, Motion::easeOut(kBarHoverSeconds));
}

void MenuBarButton::enterEvent(QEnterEvent* event) {
    setHovering(true);
    QAbstractButton::enterEvent(event);
}

void MenuBarButton::leaveEvent(QEvent* event) {
    setHovering(false);
    QAbstractButton::leaveEvent(event);
}

void MenuBarButton::paintEvent(QPaintEvent*) {
    const double w = width();
    const double h = height();
    if (w <= 0 || h <= 0) return;
    const PictureKey key{size(), devicePixelRatioF(), hoverProgress(), isDown(), text()};
    if (m_picture.isNull() || !(key == m_pictureKey)) {
        m_pictureKey = key;
        m_picture = QImage((QSizeF(size()) * key.devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
        m_picture.setDevicePixelRatio(key.devicePixelRatio);
        m_picture.fill(Qt::transparent);
        QPainter painter(&m_picture);
        Canvas canvas(painter);
        if (key.down) {
            canvas.translate(w / 2, h / 2);
            canvas.scale(kBarPressedScale, kBarPressedScale);
            canvas.translate(-w / 2, -h / 2);
        }
        drawMenuBar(canvas, Rect{0, 0, w, h}, key.hover);
        drawTextCentered(canvas, key.title, QPointF(w / 2, h / 2), kBarFont, white());
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
}

// ---------------------------------------------------------------------------------------------
// CardOverlay

CardOverlay::CardOverlay(double dimOpacity, int cardWidth, int cardPadding, int cardSpacing, QWidget* parent)
    : QWidget(parent),
      m_dimOpacity(dimOpacity),
      m_cardWidth(cardWidth),
      m_card(new CardFrame(this)),
      m_layout(new QVBoxLayout(m_card)),
      m_fade(new AnimatedValue(0, this)),
      m_effect(new QGraphicsOpacityEffect(this)) {
    m_layout->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    m_layout->setSpacing(cardSpacing);
    m_card->installEventFilter(this);
    m_effect->setOpacity(0);
    setGraphicsEffect(m_effect);
    connect(m_fade, &AnimatedValue::valueChanged, this, &CardOverlay::setOpacity);
    if (parent) parent->installEventFilter(this);
    hide();
}

CardOverlay::~CardOverlay() = default;

double CardOverlay::opacity() const { return m_fade->value(); }

QRect CardOverlay::cardGeometry() const { return m_card->geometry(); }

void CardOverlay::present(bool shown) {
    if (m_presented == shown) return;
    m_presented = shown;
    if (shown) {
        setAttribute(Qt::WA_TransparentForMouseEvents, false);
        fillParent();
        show();
    } else {
        // While it fades out, clicks go to what lies beneath.
        setAttribute(Qt::WA_TransparentForMouseEvents, true);
        m_pressedOnBackdrop = false;
        if (isAncestorOf(QApplication::focusWidget()) && parentWidget()) parentWidget()->setFocus();
        dismissing();
    }
    // Dismissed before it began to fade in: there is nothing to fade out.
    if (!shown && m_fade->value() <= 0) {
        m_fade->setValue(0);
        hide();
        return;
    }
    m_fade->animateTo(shown ? 1 : 0, Motion::easeOut(kFadeSeconds));
}

void CardOverlay::setOpacity(double opacity) {
    m_effect->setOpacity(std::clamp(opacity, 0.0, 1.0));
    // Shown whole, the overlay paints as it is. An effect would have Qt paint it afresh over the
    // whole bounds of whatever changes beneath it, the card's text and buttons with it, on every
    // frame of the room.
    m_effect->setEnabled(opacity < 1);
    if (!m_presented && opacity <= 0) hide();
}

bool CardOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) fillParent();
    if (watched == m_card && event->type() == QEvent::LayoutRequest) placeCard();
    return QWidget::eventFilter(watched, event);
}

void CardOverlay::fillParent() {
    if (parentWidget()) setGeometry(parentWidget()->rect());
}

void CardOverlay::placeCard() {
    const int h = m_card->hasHeightForWidth() ? m_card->heightForWidth(m_cardWidth) : m_card->sizeHint().height();
    const QRect card((width() - m_cardWidth) / 2, (height() - h) / 2, m_cardWidth, h);
    if (card != m_card->geometry()) {
        m_card->setGeometry(card);
        update();
    }
}

void CardOverlay::resizeEvent(QResizeEvent*) { placeCard(); }

// The shadow is a wide blur; the screen beneath may redraw many times a second while the card
// stands still.
const QImage& CardOverlay::cardShadow() {
    const double dpr = devicePixelRatioF();
    const QSizeF size = QSizeF(m_card->size()) + QSizeF(2 * kCardShadowReach, 2 * kCardShadowReach);
    if (m_shadow.isNull() || m_shadow.size() != (size * dpr).toSize() || m_shadow.devicePixelRatio() != dpr) {
        m_shadow = QImage((size * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        m_shadow.setDevicePixelRatio(dpr);
        m_shadow.fill(Qt::transparent);
        QPainter painter(&m_shadow);
        drawCardShadow(Canvas(painter), Rect{double(kCardShadowReach), double(kCardShadowReach),
                                             double(m_card->width()), double(m_card->height())});
    }
    return m_shadow;
}

void CardOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Canvas(painter).fill(shape::rect(toRect(QRectF(rect()))), black(m_dimOpacity));
    painter.setClipping(false);
    painter.drawImage(QPointF(m_card->pos() - QPoint(kCardShadowReach, kCardShadowReach)), cardShadow());
}

// A tap on the dimmed area: pressed and released there.
void CardOverlay::mousePressEvent(QMouseEvent* event) {
    m_pressedOnBackdrop = event->button() == Qt::LeftButton && !m_card->geometry().contains(event->position().toPoint());
    event->accept();
}

void CardOverlay::mouseReleaseEvent(QMouseEvent* event) {
    const bool tap = m_pressedOnBackdrop && event->button() == Qt::LeftButton &&
                     rect().contains(event->position().toPoint()) &&
                     !m_card->geometry().contains(event->position().toPoint());
    m_pressedOnBackdrop = false;
    event->accept();
    if (tap) backdropClicked();
}

// ---------------------------------------------------------------------------------------------
// Confirmation

namespace {

// The warning sign drawn for the box's own pixel density: the style's sign is a small bitmap
// that a denser screen blows up, stair-stepped and soft beside the text. Ours is as large.
void drawWarningSign(QMessageBox& box) {
    const double dpr = box.devicePixelRatioF();
    if (!box.iconPixmap().isNull() && box.iconPixmap().devicePixelRatio() == dpr) return;
    box.setIconPixmap(iconPixmap("exclamationmark.triangle.fill", kAlertSignSide, warningYellow(), dpr));
}

}  // namespace

QMessageBox* openConfirmation(QWidget* parent, const QString& title, const QString& message, const QString& action,
                              std::function<void()> onConfirm) {
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    drawWarningSign(*box);
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(message);
    // A box sized to its short title squeezes the message into a narrow column; a standard
    // alert keeps a fixed width for it and sets the title in bold above it.
    if (auto* titleLabel = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = titleLabel->font();
        bold.setBold(true);
        titleLabel->setFont(bold);
    }
    if (auto* messageLabel = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        messageLabel->setMinimumWidth(kAlertMessageWidth);
    QPushButton* confirm = box->addButton(action, QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    // The style draws every push button alike; a destructive one says so by its red title.
    QPalette destructive = confirm->palette();
    destructive.setColor(QPalette::ButtonText, destructiveRed());
    confirm->setPalette(destructive);
    // The safe answer is the one Return and Escape give.
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    // Acted on once the box has closed, so the action may close or hide whatever showed it.
    QObject::connect(box, &QDialog::finished, box, [box, confirm, onConfirm = std::move(onConfirm)] {
        if (box->clickedButton() == confirm && onConfirm) onConfirm();
    });
    box->setWindowModality(Qt::WindowModal);
    box->show();
    // Shown, the box knows its screen, which may differ from its parent's, and may yet move.
    drawWarningSign(*box);
    if (QWindow* window = box->windowHandle())
        QObject::connect(window, &QWindow::screenChanged, box, [box] { drawWarningSign(*box); });
    return box;
}

}  // namespace tallowmere
