#include <Tallowmere/Screens/GameView.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Panels/PanelViews.hpp>
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/MenuCards.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace tallowmere {

namespace {

// Top bar.
constexpr int kBarPadX = 18;
constexpr int kBarPadTop = 12;
constexpr int kBarPadBottom = 4;
constexpr int kBarSpacing = 10;
constexpr Font kRoomLineFont{11, FontWeight::bold, FontDesign::rounded};
constexpr double kRoomLineTracking = 3;
constexpr Font kRoomNameFont{17, FontWeight::semibold, FontDesign::serif};
constexpr double kTitleSpacing = 1;

// Game screen.
constexpr std::uint32_t kBackgroundTop = 0x14110F;
constexpr std::uint32_t kBackgroundBottom = 0x08070A;
constexpr QMarginsF kStagePadding{18, 6, 18, 6};
constexpr int kInventorySlots = 6;

// The screen's background: a dark vertical gradient over `all`. It is filled a point past every
// edge: at a fractional scale the widget's first and last rows and columns of device pixels lie
// partly outside it. Nothing else paints the window's last ones, and the first, under the menu
// bar, would otherwise take a little more of the gradient with every repaint.
void paintBackground(QPainter& painter, const QRectF& all) {
    const Rect r{all.x(), all.y(), all.width(), all.height()};
    Canvas(painter).fill(shape::rect(Rect{r.x - 1, r.y - 1, r.w + 2, r.h + 2}), vertical(r, {H(kBackgroundTop), H(kBackgroundBottom)}));
}

// The room's number and name, centred on two lines.
class RoomTitle final : public QWidget {
public:
    explicit RoomTitle(const TopBar& bar, QWidget* parent) : QWidget(parent), m_bar(bar) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    QSize sizeHint() const override {
        const double w = std::max(textWidth(m_bar.roomLine(), kRoomLineFont, kRoomLineTracking),
                                  textWidth(m_bar.roomName(), kRoomNameFont));
        const double h = lineHeight(kRoomLineFont) + kTitleSpacing + lineHeight(kRoomNameFont);
        return QSize(int(std::ceil(w)), int(std::ceil(h)));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const Canvas canvas(painter);
        const double lineH = lineHeight(kRoomLineFont);
        const double nameH = lineHeight(kRoomNameFont);
        const double top = (height() - (lineH + kTitleSpacing + nameH)) / 2;
        const double midX = width() / 2.0;
        drawTextCentered(canvas, m_bar.roomLine(), QPointF(midX, top + lineH / 2), kRoomLineFont, UI::amber(),
                         kRoomLineTracking);
        drawTextCentered(canvas, m_bar.roomName(), QPointF(midX, top + lineH + kTitleSpacing + nameH / 2), kRoomNameFont,
                         UI::text());
    }

private:
    const TopBar& m_bar;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TopBar

TopBar::TopBar(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    m_menu = new GlassButton(QStringLiteral("Menu"), false, true, this);
    m_menu->setSymbol("line.3.horizontal");
    m_menu->setToolTip(QStringLiteral("Pause menu (Esc)"));
    connect(m_menu, &GlassButton::clicked, this, [this] { m_model.setPaused(true); });

    m_title = new RoomTitle(*this, this);

    m_sound = new GlassButton(false, true, this);
    // Flip the player's setting; the model keeps the copy the icon follows.
    connect(m_sound, &GlassButton::clicked, this, [this] { m_model.setMuted(!m_model.muted()); });

    m_hint = new GlassButton(QStringLiteral("Hint"), true, true, this);
    m_hint->setSymbol("lightbulb.fill");
    m_hint->setToolTip(QStringLiteral("Get a hint for what you're stuck on (H). Press again for a stronger hint."));
    connect(m_hint, &GlassButton::clicked, this, [this] { m_model.hint(); });

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kBarPadX, kBarPadTop, kBarPadX, kBarPadBottom);
    row->setSpacing(kBarSpacing);
    row->addWidget(m_menu, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_title, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_sound, 0, Qt::AlignVCenter);
    row->addWidget(m_hint, 0, Qt::AlignVCenter);

    updateSound();
    m_outside.connect(&m_model, &GameModel::changed, this, [this](GameModel::What what, Transition) {
        if (what == GameModel::What::muted) updateSound();
        if (what == GameModel::What::state) {
            m_title->updateGeometry();
            m_title->update();
        }
    });
}

QString TopBar::roomLine() const {
    return QStringLiteral("ROOM %1 OF %2").arg(m_model.level().id).arg(ostrevan::Engine::lastLevel);
}

QString TopBar::roomName() const {
    return QString::fromStdString(m_model.level().name);
}

void TopBar::updateSound() {
    const bool muted = m_model.muted();
    m_sound->setSymbol(muted ? "speaker.slash.fill" : "speaker.wave.2.fill");
    // The tooltip names the present state, not what a click will do.
    m_sound->setToolTip(muted ? QStringLiteral("Sound off") : QStringLiteral("Sound on"));
}

// ---------------------------------------------------------------------------------------------
// GameView

GameView::GameView(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // Connected before the overlays exist, so a panel that takes the focus when it opens does so
    // after this screen has taken it back.
    m_outside.connect(&m_model, &GameModel::changed, this, &GameView::onChanged);

    m_topBar = new TopBar(model, this);
    m_stage = new StageView(model, kStagePadding, this);
    // The stage paints the part of the background it covers, so its frames need not repaint
    // this screen.
    m_stage->setBackdrop(paintBackground);
    m_inventory = new InventoryBar(model, kInventorySlots, this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_topBar);
    column->addWidget(m_stage, 1);
    column->addWidget(m_inventory);

    // Back to front over the column; each fills the screen.
    m_panel = new PanelOverlay(model, this);
    m_intro = new IntroCard(this);
    m_flash = new FlashLayer(this);
    m_pause = new PauseMenu(model, this);
    m_help = new HelpCard(model, this);
    for (QWidget* layer : std::initializer_list<QWidget*>{m_panel, m_intro, m_flash, m_pause, m_help}) layer->raise();

    m_intro->setIntro(m_model.intro(), Motion::instant());
    m_flash->setFlash(m_model.flash(), Motion::instant());
    showToast(Transition{});

    // Watched at the application: a move over a card's label or button that does not track the
    // pointer is dropped before any of the card's own widgets sees it.
    qApp->installEventFilter(this);
}

GameView::~GameView() {
    // The layers and the stage go before the application stops asking this screen about events.
    qApp->removeEventFilter(this);
}

void GameView::onChanged(GameModel::What what, Transition transition) {
    switch (what) {
        case GameModel::What::toast: showToast(transition); break;
        case GameModel::What::intro: m_intro->setIntro(m_model.intro(), Motion::of(transition)); break;
        case GameModel::What::flash: m_flash->setFlash(m_model.flash(), Motion::of(transition)); break;
        case GameModel::What::panelID:
            // After every panel change the screen holds the keys again.
            if (isVisible()) setFocus(Qt::OtherFocusReason);
            break;
        default: break;
    }
}

void GameView::showToast(const Transition& transition) {
    const std::optional<Toast>& toast = m_model.toast();
    if (m_toast && toast && m_toast->toast().id == toast->id) return;
    const Motion motion = Motion::of(transition);
    if (m_toast) {
        m_toast->leave(motion);
        m_toast = nullptr;
    }
    if (!toast) return;
    m_toast = new ToastView(*toast, this);
    m_toast->showOver(m_stage);
    m_toast->stackUnder(m_panel);
    m_toast->place(m_stage->geometry());
    m_toast->enter(motion);
}

bool GameView::overStage(const QWidget* widget) const {
    for (const QWidget* layer : std::initializer_list<const QWidget*>{m_panel, m_pause, m_help})
        if (widget == layer || layer->isAncestorOf(widget)) return true;
    return false;
}

bool GameView::eventFilter(QObject* watched, QEvent* event) {
    // Only watched, never taken: the layer itself still gets the move for its buttons' hover.
    // The layers take the hover as they take the clicks: nothing beneath them is ringed, so the
    // ring never shows where the cursor stays an arrow.
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove && watched->isWidgetType() && overStage(static_cast<QWidget*>(watched))) {
        const auto* move = static_cast<QMouseEvent*>(event);
        m_stage->followPointer(m_stage->mapFromGlobal(move->globalPosition()), false);
    } else if ((type == QEvent::MouseMove || type == QEvent::Enter) && m_toast && watched == m_toast) {
        // The capsule covers a strip of the stage, which saw the pointer leave for it (or the
        // capsule rise under a pointer at rest): the light and the held item go on following.
        // An Enter sent by hand may be a bare event that says nothing of where.
        if (const auto* point = dynamic_cast<const QSinglePointEvent*>(event))
            m_stage->followPointer(m_stage->mapFromGlobal(point->globalPosition()), false);
    } else if (type == QEvent::Leave && watched->parent() == this && qobject_cast<ToastView*>(watched)) {
        // Off the capsule in one jump the pointer may be on a bar, or back on the stage: the
        // stage is told of neither, so it looks where the pointer is.
        m_stage->followRealPointer();
    }
    return QWidget::eventFilter(watched, event);
}

void GameView::leaveEvent(QEvent* event) {
    // The pointer left the window: under a layer that took its moves the stage never saw it go.
    m_stage->losePointer();
    QWidget::leaveEvent(event);
}

void GameView::layOutLayers() {
    for (QWidget* layer : std::initializer_list<QWidget*>{m_panel, m_intro, m_flash, m_pause, m_help})
        layer->setGeometry(rect());
    for (auto* toast : findChildren<ToastView*>(Qt::FindDirectChildrenOnly)) toast->place(m_stage->geometry());
}

void GameView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The column lays itself out first so the toasts follow the stage's new place.
    if (layout()) layout()->activate();
    layOutLayers();
}

void GameView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

void GameView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter, QRectF(rect()));
}

void GameView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers chords = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        if (m_model.showHelp()) m_model.setShowHelp(false);
        else if (m_model.panelID()) m_model.setPanelID(std::nullopt);
        else m_model.setPaused(!m_model.paused());
        return;
    }
    // A capital H (Caps Lock or Shift) asks for a hint too, as the help card's "(or H)" promises.
    if (chords == Qt::NoModifier && event->text().compare(QStringLiteral("h"), Qt::CaseInsensitive) == 0) {
        event->accept();
        if (!m_model.panelID() && !m_model.paused() && !m_model.showHelp()) m_model.hint();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tallowmere
