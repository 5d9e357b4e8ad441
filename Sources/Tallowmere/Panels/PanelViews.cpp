// The panel overlay: the dimmed backdrop, the card with its title and close button, and the
// fades as panels open and close.
#include <Tallowmere/Panels/PanelViews.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Panels/Panels.hpp>
#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr double kBackdropOpacity = 0.62;
constexpr double kFadeSeconds = 0.2;

constexpr double kCardW = 380;
constexpr double kCardPad = 24;
constexpr double kCardGap = 18;  // header to panel
constexpr double kCardRadius = 24;
constexpr std::uint32_t kCardTop = 0x2B2824;
constexpr std::uint32_t kCardBottom = 0x171513;
constexpr double kCardRimOpacity = 0.16;
constexpr double kShadowOpacity = 0.7;
constexpr double kShadowRadius = 40;
constexpr double kShadowDrop = 16;
constexpr double kShadowReach = 3 * shadowBlur(kShadowRadius);  // where the blur has faded out

const Font kTitleFont{12, FontWeight::bold, FontDesign::rounded};
constexpr double kTitleTracking = 5;
constexpr double kHeaderSpacing = 8;  // between the title and the close button

// The title broken at spaces into lines no wider than maxWidth, letter tracking included; a word
// wider than that stands on a line of its own.
std::vector<QString> wrapTitle(const QString& title, double maxWidth) {
    std::vector<QString> lines;
    QString line;
    for (const QString& word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && textWidth(longer, kTitleFont, kTitleTracking) > maxWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines.push_back(line);
    return lines;
}

}  // namespace

PanelOverlay::PanelOverlay(GameModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_fade(new AnimatedValue(0, this)), m_effect(new QGraphicsOpacityEffect(this)) {
    setFocusPolicy(Qt::NoFocus);
    m_effect->setOpacity(0);
    setGraphicsEffect(m_effect);

    m_close = new GlassButton(false, true, this);
    m_close->setSymbol("xmark");
    m_close->setToolTip(QStringLiteral("Close (Esc)"));
    m_close->resize(m_close->sizeHint());
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_model.setPanelID(std::nullopt); });

    connect(m_fade, &AnimatedValue::valueChanged, this, [this](double value) { setFade(value); });
    m_outside.connect(&m_model, &GameModel::changed, this, [this](GameModel::What what) {
        if (what == GameModel::What::panelID || what == GameModel::What::state) sync();
    });
    // The open panel gives up the focus as it goes, after this overlay's own destructor has run.
    m_outside.connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { takeFocusBack(now); });

    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
    hide();
    sync();
}

PanelOverlay::~PanelOverlay() = default;

PanelView* PanelOverlay::panelView() const {
    return m_closing ? nullptr : m_view;
}

bool PanelOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

void PanelOverlay::sync() {
    const auto& id = m_model.panelID();
    const ostrevan::Panel* panel = id ? m_model.level().panel(*id) : nullptr;
    if (panel) {
        if (!m_view || m_closing || m_view->panel() != *panel) open(*panel);
    } else if (m_view && !m_closing) {
        beginClose();
    }
}

void PanelOverlay::open(const ostrevan::Panel& panel) {
    if (m_view) {
        m_view->hide();
        m_view->deleteLater();
    }
    m_view = makePanelView(m_model, panel, this);
    const double titleW = kCardW - 2 * kCardPad - m_close->width() - kHeaderSpacing;
    m_titleLines = wrapTitle(QString::fromStdString(panel.title).toUpper(), titleW);
    m_closing = false;
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    layoutCard();
    m_view->show();
    show();
    m_fade->animateTo(1, Motion::easeOut(kFadeSeconds));
    if (m_view->takesKeys()) m_view->setFocus(Qt::OtherFocusReason);
    update();
}

void PanelOverlay::beginClose() {
    m_closing = true;
    m_backdropPressed = false;
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    // Keys typed while the card fades go to the game screen, never to the closed panel.
    m_view->setFocusPolicy(Qt::NoFocus);
    if (m_view->hasFocus()) {
        if (parentWidget()) {
            parentWidget()->setFocus(Qt::OtherFocusReason);
        } else {
            m_view->clearFocus();
        }
    }
    m_fade->animateTo(0, Motion::easeOut(kFadeSeconds));
}

void PanelOverlay::finishClose() {
    hide();
    if (m_view) m_view->deleteLater();
    m_view = nullptr;
    m_closing = false;
}

void PanelOverlay::setFade(double opacity) {
    m_effect->setOpacity(opacity);
    // At full opacity the effect would only make every repaint of a child redraw the whole card.
    m_effect->setEnabled(opacity < 1);
    if (m_closing && opacity <= 0) finishClose();
}

// The game screen asks for the keyboard whenever the open panel changes; a panel that types keeps
// it for as long as it is open.
void PanelOverlay::takeFocusBack(QWidget* now) {
    if (!m_view || m_closing || !m_view->takesKeys() || !now || now == m_view) return;
    const auto& id = m_model.panelID();
    if (!id || *id != m_view->panel().id) return;
    if (now->isAncestorOf(this)) m_view->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Layout and drawing

void PanelOverlay::layoutCard() {
    const QSize content = m_view ? m_view->contentSize() : QSize();
    m_headerH = std::max(double(m_titleLines.size()) * lineHeight(kTitleFont), double(m_close->height()));
    const double cardH = 2 * kCardPad + m_headerH + kCardGap + content.height();
    m_card = QRectF(std::floor((width() - kCardW) / 2), std::floor((height() - cardH) / 2), kCardW, cardH);
    m_close->move(int(std::lround(m_card.right() - kCardPad - m_close->width())),
                  int(std::lround(m_card.top() + kCardPad + (m_headerH - m_close->height()) / 2)));
    if (m_view) {
        m_view->move(int(std::lround(m_card.center().x() - content.width() / 2.0)) - PanelView::kBleed,
                     int(std::lround(m_card.top() + kCardPad + m_headerH + kCardGap)) - PanelView::kBleed);
    }
}

void PanelOverlay::resizeEvent(QResizeEvent* event) {
    layoutCard();
    QWidget::resizeEvent(event);
}

const QImage& PanelOverlay::cardShadow(double devicePixelRatio) {
    if (m_shadowCard == m_card.size() && !m_shadow.isNull() && m_shadow.devicePixelRatio() == devicePixelRatio) {
        return m_shadow;
    }
    const QSizeF logical = m_card.size() + QSizeF(2 * kShadowReach, 2 * kShadowReach);
    m_shadow = QImage((logical * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    m_shadow.setDevicePixelRatio(devicePixelRatio);
    m_shadow.fill(Qt::transparent);
    {
        QPainter painter(&m_shadow);
        Canvas canvas(painter);
        canvas.addBlur(shadowBlur(kShadowRadius));
        canvas.fill(shape::roundedRect(Rect{kShadowReach, kShadowReach, m_card.width(), m_card.height()}, kCardRadius),
                    black(kShadowOpacity));
    }
    m_shadowCard = m_card.size();
    return m_shadow;
}

void PanelOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Canvas(painter).fill(shape::rect(Rect{0, 0, double(width()), double(height())}), black(kBackdropOpacity));
    if (!m_view) return;

    // The cached shadow goes straight onto the painter, put back to its plain state first.
    painter.resetTransform();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(m_card.topLeft() + QPointF(-kShadowReach, kShadowDrop - kShadowReach),
                      cardShadow(painter.device()->devicePixelRatioF()));

    const Canvas canvas(painter);
    const Rect card{m_card.x(), m_card.y(), m_card.width(), m_card.height()};
    canvas.fill(shape::roundedRect(card, kCardRadius), vertical(card, {H(kCardTop), H(kCardBottom)}));
    strokeInside(canvas, card, kCardRadius, white(kCardRimOpacity), 1);
    const double lineH = lineHeight(kTitleFont);
    const double titleTop = card.y + kCardPad + (m_headerH - double(m_titleLines.size()) * lineH) / 2;
    for (std::size_t i = 0; i < m_titleLines.size(); ++i) {
        drawTextLine(canvas, m_titleLines[i], card.x + kCardPad, titleTop + (double(i) + 0.5) * lineH, kTitleFont,
                     UI::amber(), kTitleTracking);
    }
}

// ---------------------------------------------------------------------------------------------
// Pointer: a click on the backdrop closes the panel; nothing reaches the game beneath.

void PanelOverlay::mousePressEvent(QMouseEvent* event) {
    m_backdropPressed = event->button() == Qt::LeftButton && !m_card.contains(event->position());
    event->accept();
}

void PanelOverlay::mouseReleaseEvent(QMouseEvent* event) {
    const bool close = m_backdropPressed && event->button() == Qt::LeftButton && !m_card.contains(event->position());
    m_backdropPressed = false;
    event->accept();
    if (close) m_model.setPanelID(std::nullopt);
}

void PanelOverlay::wheelEvent(QWheelEvent* event) {
    event->accept();
}

}  // namespace tallowmere
