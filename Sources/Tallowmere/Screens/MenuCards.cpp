// The two cards over the game screen and the main menu: the pause menu and the help card.
#include <Tallowmere/Screens/MenuCards.hpp>

#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QMessageBox>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace tallowmere {

namespace {

// Pause menu.
constexpr double kPauseDim = 0.55;
constexpr int kPauseWidth = 360;
constexpr int kPausePadding = 28;
constexpr int kPauseSpacing = 12;
constexpr Font kPauseHeadingFont{13, FontWeight::bold, FontDesign::rounded};
constexpr double kPauseHeadingTracking = 8;
constexpr Font kRoomLineFont{22, FontWeight::semibold, FontDesign::serif};
constexpr int kRoomLineBelow = 8;
constexpr double kRowSymbolWidth = 22;

// Help card.
constexpr double kHelpDim = 0.6;
constexpr int kHelpWidth = 520;
constexpr int kHelpPadding = 30;
constexpr int kHelpSpacing = 14;
constexpr Font kHelpTitleFont{13, FontWeight::bold, FontDesign::rounded};
constexpr double kHelpTitleTracking = 7;
constexpr Font kHelpLineFont{14.5, FontWeight::medium, FontDesign::rounded};
// The symbols stand at the size of the default text beside which they were designed.
constexpr double kHelpSymbolFontSize = 13;
constexpr double kHelpSymbolColumn = 24;
constexpr double kHelpSymbolGap = 12;

struct HelpLineText {
    std::string_view symbol;
    const char* text;
};

constexpr std::array<HelpLineText, 7> kHelpLines = {{
    {"hand.tap.fill", "Click things in the room to look closer. Some hide items."},
    {"square.grid.2x2.fill", "Items go into the bar at the bottom. Click one to pick it up, then click where to use it."},
    {"link", "Click one item, then another, to combine them."},
    {"lock.open.fill", "Codes, colours and symbols are always explained somewhere in the same room."},
    {"lightbulb.fill", "Stuck? Press the Hint button (or H). Press again for a stronger hint."},
    {"moon.fill", "In a dark room, move the mouse to shine a light."},
    {"door.left.hand.open", "When the lamp above the door turns green, it's ready to open."},
}};

QString roomLine(const ostrevan::Level& level) {
    return QStringLiteral("Room %1 \u00B7 %2").arg(level.id).arg(QString::fromStdString(level.name));
}

// One instruction: the amber symbol in its column beside the text, which wraps within the
// card; the symbol stays beside the first line.
class HelpLine final : public QWidget {
public:
    HelpLine(std::string_view symbol, const QString& text, QWidget* parent)
        : QWidget(parent), m_symbol(symbol), m_text(text) {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    QSize sizeHint() const override { return QSize(0, heightForWidth(kHelpWidth - 2 * kHelpPadding)); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const double lines = double(wrapText(m_text, kHelpLineFont, textWidthFor(width)).size());
        return int(std::ceil(lines * lineHeight(kHelpLineFont)));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const Canvas canvas(painter);
        const double pitch = lineHeight(kHelpLineFont);
        const double side = iconSizeFor(kHelpSymbolFontSize);
        drawIcon(canvas, m_symbol, Rect{(kHelpSymbolColumn - side) / 2, (pitch - side) / 2, side, side}, UI::amber());
        const double left = kHelpSymbolColumn + kHelpSymbolGap;
        double centerY = pitch / 2;
        for (const QString& line : wrapText(m_text, kHelpLineFont, textWidthFor(width()))) {
            drawTextLine(canvas, line, left, centerY, kHelpLineFont, UI::text());
            centerY += pitch;
        }
    }

private:
    static double textWidthFor(int width) { return std::max(0.0, width - kHelpSymbolColumn - kHelpSymbolGap); }

    std::string_view m_symbol;
    QString m_text;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// PauseMenu

PauseMenu::PauseMenu(GameModel& model, QWidget* parent)
    : CardOverlay(kPauseDim, kPauseWidth, kPausePadding, kPauseSpacing, parent), m_model(model) {
    QVBoxLayout* layout = cardLayout();

    auto* heading = new TextBlock(QStringLiteral("PAUSED"), kPauseHeadingFont, UI::amber(), this);
    heading->setTracking(kPauseHeadingTracking);
    layout->addWidget(heading);

    m_roomLine = new TextBlock(roomLine(model.level()), kRoomLineFont, UI::text(), this);
    // A long room name goes on to a second line rather than past the card's edges.
    m_roomLine->setWraps(true);
    m_roomLine->setContentsMargins(0, 0, 0, kRoomLineBelow);
    layout->addWidget(m_roomLine);

    auto row = [&](std::string symbol, const QString& title, bool prominent, auto action) {
        auto* button = new GlassButton(title, prominent, false, this);
        button->setSymbol(std::move(symbol));
        button->setSymbolWidth(kRowSymbolWidth);
        button->setLabelAlignment(GlassButton::LabelAlignment::leading);
        connect(button, &QAbstractButton::clicked, this, action);
        layout->addWidget(button);
    };
    row("play.fill", QStringLiteral("Resume"), true, [this] { m_model.setPaused(false); });
    row("lightbulb.fill", QStringLiteral("Hint"), false, [this] {
        // The model refuses a hint while paused.
        m_model.setPaused(false);
        m_model.hint();
    });
    row("arrow.counterclockwise", QStringLiteral("Restart this room"), false, [this] { m_model.restartRoom(); });
    row("arrow.triangle.2.circlepath", QStringLiteral("Restart the whole game"), false, [this] { askRestartGame(); });
    row("questionmark.circle", QStringLiteral("How to play"), false, [this] { m_model.setShowHelp(true); });
    row("house.fill", QStringLiteral("Main menu"), false, [this] { m_model.returnToMenu(); });

    m_outside.connect(&model, &GameModel::changed, this, [this](GameModel::What what) { onModelChanged(what); });
    present(model.paused());
}

PauseMenu::~PauseMenu() {
    if (m_confirm) m_confirm->close();
}

void PauseMenu::onModelChanged(GameModel::What what) {
    if (what == GameModel::What::state) m_roomLine->setText(roomLine(m_model.level()));
    if (what == GameModel::What::paused) {
        m_roomLine->setText(roomLine(m_model.level()));
        present(m_model.paused());
    }
}

void PauseMenu::backdropClicked() { m_model.setPaused(false); }

void PauseMenu::dismissing() {
    // The question belongs to this showing of the menu.
    if (m_confirm) m_confirm->close();
}

void PauseMenu::askRestartGame() {
    if (m_confirm) return;
    m_confirm = openConfirmation(this, QStringLiteral("Restart from Room 1?"),
                                 QStringLiteral("Your progress will be erased and you'll begin again at Room 1."),
                                 QStringLiteral("Restart"), [this] { m_model.newGame(); });
}

// ---------------------------------------------------------------------------------------------
// HelpCard

HelpCard::HelpCard(GameModel& model, QWidget* parent)
    : CardOverlay(kHelpDim, kHelpWidth, kHelpPadding, kHelpSpacing, parent), m_model(model) {
    QVBoxLayout* layout = cardLayout();

    auto* title = new TextBlock(QStringLiteral("HOW TO PLAY"), kHelpTitleFont, UI::amber(), this);
    title->setTracking(kHelpTitleTracking);
    title->setAlign(TextBlock::Align::leading);
    layout->addWidget(title);

    for (const HelpLineText& line : kHelpLines) layout->addWidget(new HelpLine(line.symbol, QString::fromUtf8(line.text), this));

    auto* gotIt = new GlassButton(QStringLiteral("Got it"), true, false, this);
    connect(gotIt, &QAbstractButton::clicked, this, [this] { m_model.setShowHelp(false); });
    layout->addWidget(gotIt, 0, Qt::AlignRight);

    m_outside.connect(&model, &GameModel::changed, this, [this](GameModel::What what) {
        if (what == GameModel::What::showHelp) present(m_model.showHelp());
    });
    present(model.showHelp());
}

void HelpCard::backdropClicked() { m_model.setShowHelp(false); }

}  // namespace tallowmere
