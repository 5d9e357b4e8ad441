#include <Tallowmere/App/TallowmereApp.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Screens/HUD.hpp>
#include <Tallowmere/Screens/MenuView.hpp>
#include <Tallowmere/Widgets/Animation.hpp>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStyleFactory>

#include <utility>

namespace tallowmere {

namespace {

constexpr double kFadeSeconds = 0.3;
constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 820;
constexpr int kMinimumWidth = 940;
constexpr int kMinimumHeight = 700;
constexpr const char* kName = "Tallowmere";

// The screen that is leaving, as a still picture over the new one, fading out. Together the two
// make the cross-fade; the new screen already takes the pointer underneath.
class FadeLayer final : public QWidget {
public:
    FadeLayer(QPixmap picture, QWidget* parent)
        : QWidget(parent), m_picture(std::move(picture)), m_opacity(new AnimatedValue(1, this)) {
        setObjectName(QStringLiteral("screenFade"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(m_opacity, &AnimatedValue::valueChanged, this, [this](double value) {
            update();
            if (value <= 0) deleteLater();
        });
    }

    void start() { m_opacity->animateTo(0, Motion::easeInOut(kFadeSeconds)); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setOpacity(std::clamp(m_opacity->value(), 0.0, 1.0));
        painter.drawPixmap(0, 0, m_picture);
    }

private:
    QPixmap m_picture;
    AnimatedValue* m_opacity = nullptr;
};

QWidget* makeScreen(GameModel::Screen screen, GameModel& model, QWidget* parent) {
    switch (screen) {
        case GameModel::Screen::menu: return new MenuView(model, parent);
        case GameModel::Screen::playing: return new GameView(model, parent);
        case GameModel::Screen::ending: return new EndingView(model, parent);
    }
    return new MenuView(model, parent);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// RootView

RootView::RootView(GameModel& model, std::function<void()> startAmbient, QWidget* parent)
    : QWidget(parent), m_model(model), m_startAmbient(std::move(startAmbient)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    showScreen(m_model.screen(), false);
    connect(&m_model, &GameModel::changed, this, [this](GameModel::What what, Transition) {
        if (what == GameModel::What::screen && m_model.screen() != m_shown) showScreen(m_model.screen(), true);
    });
}

RootView::~RootView() = default;

QWidget* RootView::fadingLayer() const {
    return findChild<QWidget*>(QStringLiteral("screenFade"), Qt::FindDirectChildrenOnly);
}

void RootView::showScreen(GameModel::Screen screen, bool fade) {
    QWidget* old = m_screen;
    if (old && fade && isVisible() && !old->size().isEmpty()) {
        auto* layer = new FadeLayer(old->grab(), this);
        layer->setGeometry(rect());
        layer->show();
        layer->start();
    }
    if (old) {
        // The old screen may be the one whose button asked for the change: it goes once the
        // event that got us here is over.
        old->hide();
        old->deleteLater();
    }
    m_shown = screen;
    m_screen = makeScreen(screen, m_model, this);
    m_screen->setGeometry(rect());
    m_screen->show();
    m_screen->lower();
}

void RootView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), UI::bg());
}

void RootView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setGeometry(rect());
}

void RootView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_startAmbient) m_startAmbient();
}

// ---------------------------------------------------------------------------------------------
// MainWindow

MainWindow::MainWindow(GameModel& model, std::function<void()> startAmbient, QWidget* parent)
    : QMainWindow(parent), m_model(model) {
    setWindowTitle(QString::fromLatin1(kName));
    m_root = new RootView(model, std::move(startAmbient), this);
    m_root->setMinimumSize(kMinimumWidth, kMinimumHeight);
    setCentralWidget(m_root);

    QMenu* game = menuBar()->addMenu(QStringLiteral("Game"));
    m_hint = game->addAction(QStringLiteral("Hint"));
    m_hint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(m_hint, &QAction::triggered, this, [this] { m_model.hint(); });

    m_restart = game->addAction(QStringLiteral("Restart Room"));
    m_restart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(m_restart, &QAction::triggered, this, [this] { m_model.restartRoom(); });

    m_pause = game->addAction(QStringLiteral("Pause / Resume"));
    m_pause->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_pause, &QAction::triggered, this, [this] {
        if (m_model.screen() == GameModel::Screen::playing) m_model.setPaused(!m_model.paused());
    });

    game->addSeparator();
    m_mainMenu = game->addAction(QStringLiteral("Main Menu"));
    m_mainMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(m_mainMenu, &QAction::triggered, this, [this] { m_model.returnToMenu(); });

    // The default size is the content's; the menu bar comes on top of it.
    resize(kDefaultWidth, kDefaultHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// ---------------------------------------------------------------------------------------------
// Application

void configureApplication(QApplication& app) {
    QCoreApplication::setOrganizationName(QString::fromLatin1(kName));
    QCoreApplication::setApplicationName(QString::fromLatin1(kName));
    app.setQuitOnLastWindowClosed(true);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);

    // The dark scheme for the window's own controls (menu bar, menus, tooltips, alerts).
    QPalette dark;
    dark.setColor(QPalette::Window, UI::panel());
    dark.setColor(QPalette::WindowText, UI::text());
    dark.setColor(QPalette::Base, UI::bg());
    dark.setColor(QPalette::AlternateBase, UI::panelHi());
    dark.setColor(QPalette::ToolTipBase, UI::panelHi());
    dark.setColor(QPalette::ToolTipText, UI::text());
    dark.setColor(QPalette::Text, UI::text());
    dark.setColor(QPalette::Button, UI::panelHi());
    dark.setColor(QPalette::ButtonText, UI::text());
    dark.setColor(QPalette::Highlight, UI::amberDeep());
    dark.setColor(QPalette::HighlightedText, UI::bg());
    dark.setColor(QPalette::PlaceholderText, UI::dim());
    dark.setColor(QPalette::Disabled, QPalette::Text, UI::dim());
    dark.setColor(QPalette::Disabled, QPalette::WindowText, UI::dim());
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, UI::dim());
    app.setPalette(dark);
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    configureApplication(app);
    GameModel model;
    // The audio thread must be stopped and joined while Qt's audio back end still stands;
    // PulseAudio asserts when a stream is still running as it goes.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { Sound::shared().stopOutput(); });
    MainWindow window(model, [] { Sound::shared().startAmbient(); });
    window.show();
    // Nothing is saved at quit: every action that matters saved when it happened.
    return app.exec();
}

}  // namespace tallowmere
