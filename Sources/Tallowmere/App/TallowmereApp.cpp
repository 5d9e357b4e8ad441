#include <Tallowmere/App/TallowmereApp.hpp>

#include <Tallowmere/App/AlertFocus.hpp>
#include <Tallowmere/App/AppIcon.hpp>
#include <Tallowmere/App/DarkFrame.hpp>
#include <Tallowmere/App/DestroyedWindows.hpp>
#include <Tallowmere/App/SessionEnd.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Platform/Runtime.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/MenuView.hpp>
#include <Tallowmere/Widgets/Animation.hpp>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace tallowmere {

namespace {

constexpr double kFadeSeconds = 0.3;
constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 820;
constexpr int kMinimumWidth = 940;
constexpr int kMinimumHeight = 700;
// How far a new window steps down and right of the one it came from, when the desktop draws no
// title bar to measure: about the height of one.
constexpr int kCascadeStep = 30;
constexpr const char* kName = "Tallowmere";

QWidget* makeScreen(GameModel::Screen screen, GameModel& model, QWidget* parent) {
    switch (screen) {
        case GameModel::Screen::menu: return new MenuView(model, parent);
        case GameModel::Screen::playing: return new GameView(model, parent);
        case GameModel::Screen::ending: return new EndingView(model, parent);
    }
    return new MenuView(model, parent);
}

// How far a menu's divider stops short of the menu's sides, and how strongly its line shows
// the menu's text colour over the menu: a faint light line on the dark menus.
constexpr int kMenuDividerInset = 5;
constexpr double kMenuDividerOpacity = 0.16;

// Fusion, with a menu bar that never takes the keyboard for itself. Qt's would, on Alt alone and
// when Escape closes a menu opened from it, keeping every key until one more Escape with nothing
// on screen to say so; the game's Escape and H act again as soon as a menu closes. The menus
// still open with the mouse, and their commands keep their shortcuts. A menu's divider is a line
// the player can see: Fusion's is a shade of the menu's own colour, a few grey levels off it
// on the dark menus.
class GameStyle final : public QProxyStyle {
public:
    GameStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuItem && item && item->menuItemType == QStyleOptionMenuItem::Separator &&
            item->text.isEmpty()) {
            drawMenuDivider(*item, *painter);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    // One device pixel high across the item, on whole device pixels at any scale, so it stays
    // crisp where a line of one point would blur over two rows of pixels.
    static void drawMenuDivider(const QStyleOptionMenuItem& item, QPainter& painter) {
        const QRectF span = QRectF(item.rect).adjusted(kMenuDividerInset, 0, -kMenuDividerInset, 0);
        if (span.width() <= 0) return;
        const QTransform toDevice = painter.deviceTransform();
        bool invertible = false;
        const QTransform fromDevice = toDevice.inverted(&invertible);
        if (!invertible) return;
        const QRectF inPixels = toDevice.mapRect(span);
        const QRectF line(std::round(inPixels.left()), std::floor(inPixels.center().y()),
                          std::round(inPixels.right()) - std::round(inPixels.left()), 1);
        QColor colour = item.palette.color(QPalette::Text);
        colour.setAlphaF(float(kMenuDividerOpacity));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(fromDevice.mapRect(line), colour);
        painter.restore();
    }
};

}  // namespace

QStyle* makeGameStyle() {
    return new GameStyle;
}

// ---------------------------------------------------------------------------------------------
// ScreenFade

ScreenFade::ScreenFade(QPixmap leaving, QWidget* parent)
    : QWidget(parent), m_leaving(std::move(leaving)), m_progress(new AnimatedValue(0, this)) {
    setObjectName(QStringLiteral("screenFade"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(m_progress, &AnimatedValue::valueChanged, this, [this](double value) {
        update();
        if (value >= 1) deleteLater();
    });
}

void ScreenFade::start() {
    m_progress->animateTo(1, Motion::easeInOut(kFadeSeconds));
}

double ScreenFade::progress() const {
    return std::clamp(m_progress->value(), 0.0, 1.0);
}

void ScreenFade::setProgress(double progress) {
    m_progress->setValue(progress);
    update();
}

void ScreenFade::paintEvent(QPaintEvent*) {
    // The frame should be the background, the leaving screen at 1 - p over it and the new screen
    // at p over both: p N + (1 - p)((1 - p) L + p B). The new screen is already drawn at full
    // strength beneath this layer, so the layer lays the rest over it: the background at
    // (1 - p) / (2 - p), then the leaving screen at (1 - p)^2.
    const double p = progress();
    QPainter painter(this);
    painter.setOpacity((1 - p) / (2 - p));
    painter.fillRect(rect(), UI::bg());
    painter.setOpacity((1 - p) * (1 - p));
    painter.drawPixmap(0, 0, m_leaving);
}

// ---------------------------------------------------------------------------------------------
// RootView

RootView::RootView(GameModel& model, std::function<void()> startAmbient, QWidget* parent)
    : QWidget(parent), m_model(model), m_startAmbient(std::move(startAmbient)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    showScreen(m_model.screen(), false);
    m_outside.connect(&m_model, &GameModel::changed, this, [this](GameModel::What what, Transition) {
        if (what == GameModel::What::screen && m_model.screen() != m_shown) showScreen(m_model.screen(), true);
    });
}

RootView::~RootView() = default;

ScreenFade* RootView::fadingLayer() const {
    const QList<ScreenFade*> fades = findChildren<ScreenFade*>(Qt::FindDirectChildrenOnly);
    return fades.isEmpty() ? nullptr : fades.back();
}

void RootView::showScreen(GameModel::Screen screen, bool fade) {
    QWidget* old = m_screen;
    if (old && fade && isVisible() && !old->size().isEmpty()) {
        auto* layer = new ScreenFade(old->grab(), this);
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
    : QMainWindow(parent), m_model(model), m_startAmbient(std::move(startAmbient)) {
    setWindowTitle(QString::fromLatin1(kName));
    m_root = new RootView(model, m_startAmbient, this);
    m_root->setMinimumSize(kMinimumWidth, kMinimumHeight);
    setCentralWidget(m_root);

    // The window commands a desktop application gives every window.
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    m_newWindow = file->addAction(QStringLiteral("New Window"));
    m_newWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_newWindow, &QAction::triggered, this, [this] { openWindow(m_model, m_startAmbient, this); });

    m_closeWindow = file->addAction(QStringLiteral("Close Window"));
    m_closeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(m_closeWindow, &QAction::triggered, this, &QWidget::close);

    file->addSeparator();
    m_quit = file->addAction(QStringLiteral("Quit"));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(m_quit, &QAction::triggered, this, [] { QCoreApplication::quit(); });

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

QPoint cascadedPosition(const QRect& fromFrame, const QSize& frameSize, const QRect& available, int step) {
    const QPoint stepped = fromFrame.topLeft() + QPoint(step, step);
    if (available.isEmpty() || available.contains(QRect(stepped, frameSize))) return stepped;
    return available.topLeft() + QPoint(step, step);
}

MainWindow* openWindow(GameModel& model, std::function<void()> startAmbient, const QWidget* from) {
    auto* window = new MainWindow(model, std::move(startAmbient));
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (from) {
        // Both frames are alike: the new one is as far round its window as the old one.
        const QRect fromFrame = from->frameGeometry();
        const int titleBar = from->geometry().top() - fromFrame.top();
        const QSize frameSize = window->size() + (fromFrame.size() - from->geometry().size());
        const QRect available = from->screen() ? from->screen()->availableGeometry() : QRect();
        window->move(cascadedPosition(fromFrame, frameSize, available, titleBar > 0 ? titleBar : kCascadeStep));
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void deleteWindows() {
    // Listed first: deleting a window changes the list of top-level widgets.
    std::vector<QPointer<MainWindow>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<MainWindow*>(widget)) windows.emplace_back(window);
    for (const QPointer<MainWindow>& window : windows) delete window.data();
}

void configureApplication(QApplication& app) {
    QCoreApplication::setOrganizationName(QString::fromLatin1(kName));
    QCoreApplication::setApplicationName(QString::fromLatin1(kName));
    app.setQuitOnLastWindowClosed(true);
    closeWindowsDestroyedElsewhere(app);
    // Every window and alert, so a desktop that frames dialogs draws them dark too.
    requestDarkFrames(app);
    keepKeysWithAlerts(app);
    app.setStyle(makeGameStyle());
    configureRuntime();
    setWindowIconAfterFirstFrame(app);

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
    // Made before the model, so that it stands while the model goes, waiting for its last save:
    // a signal that comes meanwhile must not end the process either. Going, it waits for every
    // write still under way itself, and a quit that came by a signal ends the process there, by
    // that signal.
    const QuitOnSignals quitOnSignals;
    GameModel model;
    // The sound outlives the application (it is never destroyed), so its output thread and the
    // PulseAudio stream it writes to are stopped here, while everything still stands: PulseAudio
    // asserts when a stream is still running as the process goes. A sound server that stops
    // answering is waited for only a moment; its thread is then left to end on its own.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { Sound::shared().stopOutput(); });
    openWindow(model, [] { Sound::shared().startAmbient(); });
    // Closing the last window quits, however it goes (see configureApplication()); closing any
    // other saves nothing and the game goes on in the rest. Nothing is saved at quit either:
    // every action that matters saved when it happened, and the model waits for that save to
    // be written as it goes, after the windows.
    const int status = app.exec();
    deleteWindows();
    return status;
}

}  // namespace tallowmere
