// The main menu and the ending screen; the pause menu and the help card are in MenuCards.cpp.
#include <Tallowmere/Screens/MenuView.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/MenuArt.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Screens/MenuCards.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <Ostrevan/Engine.hpp>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

// At most 20 frames a second.
constexpr int kBackdropFrameMs = 50;

// Main menu layout, as fractions of the screen or in points.
constexpr double kTitleCenterY = 0.185;
constexpr int kColumnWidth = 330;
constexpr int kColumnSpacing = 10;
constexpr double kColumnCenterYWithSave = 0.795;
constexpr double kColumnCenterYWithout = 0.75;
constexpr Font kFurthestFont{12.5, FontWeight::medium, FontDesign::rounded};
constexpr int kFurthestAbove = 6;
constexpr double kMuteFromRight = 40;
constexpr double kMuteCenterY = 34;

// Ending screen.
constexpr Font kEndingTitleFont{54, FontWeight::light, FontDesign::serif};
constexpr double kEndingTitleTracking = 12;
constexpr Font kEndingLineFont{18, FontWeight::medium, FontDesign::rounded};
constexpr int kEndingSpacing = 14;
constexpr int kEndingButtonsAbove = 10;
constexpr int kEndingFoot = 60;

Rect rectOf(const QRectF& r) { return Rect{r.x(), r.y(), r.width(), r.height()}; }

QImage blankImage(QSizeF logical, double dpr) {
    QImage image((logical * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

const char* muteSymbol(bool muted) { return muted ? "speaker.slash.fill" : "speaker.wave.2.fill"; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// MenuView

MenuView::MenuView(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    // Escape reaches the menu only while it, or something in it, holds the focus.
    setFocusPolicy(Qt::StrongFocus);

    m_column = new QWidget(this);
    m_column->setFixedWidth(kColumnWidth);
    auto* column = new QVBoxLayout(m_column);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kColumnSpacing);
    m_continue = new MenuBarButton(QString(), m_column);
    m_newGame = new MenuBarButton(QStringLiteral("New Game"), m_column);
    m_howTo = new MenuBarButton(QStringLiteral("How to Play"), m_column);
    m_quit = new MenuBarButton(QStringLiteral("Quit"), m_column);
    m_furthest = new TextBlock(QString(), kFurthestFont, UI::dim(), m_column);
    m_furthest->setContentsMargins(0, kFurthestAbove, 0, 0);
    for (QWidget* row : std::initializer_list<QWidget*>{m_continue, m_newGame, m_howTo, m_quit, m_furthest})
        column->addWidget(row);
    for (MenuBarButton* bar : {m_continue, m_newGame, m_howTo, m_quit}) {
        // The glow falls outside the bar; this view paints it.
        connect(bar, &MenuBarButton::hoverProgressChanged, this, [this, bar] {
            const QRect at(bar->mapTo(this, QPoint(0, 0)), bar->size());
            const int reach = int(std::ceil(3 * kMenuBarGlowRadius)) + 1;
            update(at.adjusted(-reach, -reach, reach, reach));
        });
    }
    connect(m_continue, &QAbstractButton::clicked, this, [this] { m_model.continueGame(); });
    connect(m_newGame, &QAbstractButton::clicked, this, [this] {
        if (m_model.hasSave()) askNewGame();
        else m_model.newGame();
    });
    connect(m_howTo, &QAbstractButton::clicked, this, [this] { m_model.setShowHelp(true); });
    connect(m_quit, &QAbstractButton::clicked, this, [] { QCoreApplication::quit(); });

    m_mute = new GlassButton(false, true, this);
    connect(m_mute, &QAbstractButton::clicked, this, [this] { toggleMute(); });

    // Created last, so it lies above everything else.
    new HelpCard(model, this);

    connect(&m_frameTimer, &QTimer::timeout, this, [this] { nextFrame(); });
    m_frameTimer.setInterval(kBackdropFrameMs);

    m_outside.connect(&model, &GameModel::changed, this, [this](GameModel::What what) { onModelChanged(what); });
    refresh();
}

MenuView::~MenuView() {
    if (m_confirm) m_confirm->close();
}

void MenuView::onModelChanged(GameModel::What what) {
    using What = GameModel::What;
    if (what == What::hasSave || what == What::state || what == What::best || what == What::muted) refresh();
}

void MenuView::refresh() {
    const bool hasSave = m_model.hasSave();
    m_continue->setText(QStringLiteral("Continue  \u00B7  Room %1").arg(m_model.state().level));
    m_continue->setVisible(hasSave);
    m_furthest->setText(QStringLiteral("Furthest room: %1 of %2").arg(m_model.best()).arg(ostrevan::Engine::lastLevel));
    m_furthest->setVisible(m_model.best() >= 2);
    m_mute->setSymbol(muteSymbol(m_model.muted()));
    placeContent();
    update();
}

void MenuView::placeContent() {
    const double w = width();
    const double h = height();
    m_column->layout()->activate();
    const int columnH = m_column->layout()->sizeHint().height();
    const double centerY = (m_model.hasSave() ? kColumnCenterYWithSave : kColumnCenterYWithout) * h;
    m_column->setGeometry(int(std::lround(w / 2 - kColumnWidth / 2.0)), int(std::lround(centerY - columnH / 2.0)),
                          kColumnWidth, columnH);
    const QSize mute = m_mute->sizeHint();
    m_mute->setGeometry(int(std::lround(w - kMuteFromRight - mute.width() / 2.0)),
                        int(std::lround(kMuteCenterY - mute.height() / 2.0)), mute.width(), mute.height());
}

void MenuView::askNewGame() {
    if (m_confirm) return;
    m_confirm = openConfirmation(
        this, QStringLiteral("Start a new game?"),
        QStringLiteral("This replaces your saved progress (Room %1).").arg(m_model.state().level),
        QStringLiteral("Start over"), [this] { m_model.newGame(); });
}

void MenuView::toggleMute() { m_model.setMuted(!m_model.muted()); }

const QImage& MenuView::titleImage() {
    const double dpr = devicePixelRatioF();
    const double reach = menuTitleShadowReach();
    const QSizeF size(width(), menuTitleBlockHeight(width()) + 2 * reach);
    if (m_title.isNull() || m_title.size() != (size * dpr).toSize() || m_title.devicePixelRatio() != dpr) {
        m_title = blankImage(size, dpr);
        QPainter painter(&m_title);
        drawMenuTitle(Canvas(painter), QPointF(size.width() / 2, size.height() / 2), width());
    }
    return m_title;
}

void MenuView::nextFrame() {
    const QRegion changed = m_backdrop.advance(size(), devicePixelRatioF(), artTimeNow());
    if (!changed.isEmpty()) update(changed);
}

// The timeline runs while the menu can be seen; shown again, the backdrop catches up at once.
void MenuView::followExposure() {
    const bool seen = canBeSeen(*this);
    if (seen == m_frameTimer.isActive()) return;
    if (seen) {
        nextFrame();
        m_frameTimer.start();
    } else {
        m_frameTimer.stop();
    }
}

void MenuView::paintEvent(QPaintEvent* event) {
    const double dpr = devicePixelRatioF();
    if (!m_backdrop.fits(size(), dpr)) m_backdrop.advance(size(), dpr, artTimeNow());
    QPainter painter(this);
    // Rectangle by rectangle, so each is a plain copy of the kept picture.
    for (const QRect& part : event->region()) {
        painter.setClipRect(part);
        painter.drawImage(QPointF(0, 0), m_backdrop.picture());
    }
    painter.setClipping(false);
    {
        const Canvas screen(painter);
        for (const MenuBarButton* bar : {m_continue, m_newGame, m_howTo, m_quit}) {
            if (bar->isHidden() || bar->hoverProgress() <= 0) continue;
            drawMenuBarGlow(screen, rectOf(QRectF(bar->mapTo(this, QPoint(0, 0)), bar->size())), bar->hoverProgress());
        }
    }
    const QImage& title = titleImage();
    const double titleTop = kTitleCenterY * height() - title.height() / title.devicePixelRatio() / 2;
    painter.setClipping(false);
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(QPointF(0, titleTop), title);
}

void MenuView::resizeEvent(QResizeEvent*) { placeContent(); }

void MenuView::showEvent(QShowEvent*) {
    m_sight.watch();
    followExposure();
    setFocus();
}

void MenuView::hideEvent(QHideEvent*) {
    followExposure();
    if (m_confirm) m_confirm->close();
}

void MenuView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Escape only ever closes the help card.
    m_model.setShowHelp(false);
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// EndingView

EndingView::EndingView(GameModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kEndingSpacing);
    column->addStretch(1);

    auto* title = new TextBlock(QStringLiteral("YOU ESCAPED"), kEndingTitleFont, white(), this);
    title->setTracking(kEndingTitleTracking);
    column->addWidget(title);
    column->addWidget(new TextBlock(QStringLiteral("All tallowmere, open."), kEndingLineFont, UI::dim(), this));

    auto* buttons = new QHBoxLayout();
    buttons->setContentsMargins(0, kEndingButtonsAbove, 0, 0);
    buttons->setSpacing(kEndingSpacing);
    auto* playAgain = new GlassButton(QStringLiteral("Play again"), true, false, this);
    auto* mainMenu = new GlassButton(QStringLiteral("Main menu"), false, false, this);
    buttons->addStretch(1);
    buttons->addWidget(playAgain);
    buttons->addWidget(mainMenu);
    buttons->addStretch(1);
    column->addLayout(buttons);
    // A spacer gets no layout spacing before it, so the column's spacing is added by hand: the
    // buttons stand 74 above the bottom.
    column->addSpacing(kEndingSpacing + kEndingFoot);

    connect(playAgain, &QAbstractButton::clicked, this, [this] { m_model.newGame(); });
    connect(mainMenu, &QAbstractButton::clicked, this, [this] { m_model.returnToMenu(); });
}

void EndingView::paintEvent(QPaintEvent*) {
    const double dpr = devicePixelRatioF();
    if (m_picture.isNull() || m_picture.size() != (QSizeF(size()) * dpr).toSize() ||
        m_picture.devicePixelRatio() != dpr) {
        m_picture = blankImage(size(), dpr);
        QPainter painter(&m_picture);
        const Canvas canvas(painter);
        drawEndingPicture(coveringStage(canvas, size()));
        drawEndingShade(canvas, rectOf(QRectF(rect())));
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
}

}  // namespace tallowmere
