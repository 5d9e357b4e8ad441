// The colours panel: progress dots, a grid of glowing balls and its instruction. Every press is
// judged at once against the answer; a wrong one locks the balls until the attempt is thrown away.
#include <Tallowmere/Panels/Panels.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Model/GameModel.hpp>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr double kStackGap = 18;  // dots, balls and instruction

constexpr double kDotSide = 22;
constexpr double kDotGap = 8;
constexpr double kDotBorder = 1.5;

constexpr double kColumnW = 64;
constexpr double kGridGap = 14;  // between columns and between rows
constexpr int kOneRowMax = 4;
constexpr double kBallSide = 58;
constexpr double kBallLightX = 0.35;  // centre of the shading, in units of the ball's frame
constexpr double kBallLightY = 0.3;
constexpr double kBallShadeStart = 2;
constexpr double kBallShadeEnd = 46;
constexpr double kGlowBlur = 8;
constexpr double kGlowOpacity = 0.5;

const Font kTextFont{12, FontWeight::regular, FontDesign::rounded};
const QString kInstruction = QStringLiteral("Press the colours in the right order.");

}  // namespace

int colorColumns(std::size_t paletteSize) {
    return paletteSize <= std::size_t(kOneRowMax) ? int(paletteSize) : int((paletteSize + 1) / 2);
}

// ---------------------------------------------------------------------------------------------
// ColorBall

ColorBall::ColorBall(ostrevan::Tone tone, QWidget* parent) : QAbstractButton(parent), m_tone(tone) {
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

QSize ColorBall::sizeHint() const {
    return QSize(int(kBallSide) + 2 * kGlowRoom, int(kBallSide) + 2 * kGlowRoom);
}

bool ColorBall::hitButton(const QPoint& pos) const {
    const QPointF d = QPointF(pos) - QPointF(width() / 2.0, height() / 2.0);
    return std::hypot(d.x(), d.y()) <= kBallSide / 2;
}

void ColorBall::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas canvas(painter);
    const std::uint32_t c = hexOf(m_tone);
    const Rect ball{double(kGlowRoom), double(kGlowRoom), kBallSide, kBallSide};
    Canvas glow = canvas;
    glow.addBlur(kGlowBlur);
    glow.fill(shape::ellipse(ball), H(c, 0, kGlowOpacity));
    const QPointF light(ball.x + kBallLightX * ball.w, ball.y + kBallLightY * ball.h);
    canvas.fill(shape::ellipse(ball), radial(light, kBallShadeStart, kBallShadeEnd, {H(c, 0.45), H(c), H(c, -0.4)}));
}

// ---------------------------------------------------------------------------------------------
// ColorsPanel

ColorsPanel::ColorsPanel(GameModel& model, ostrevan::Panel panel, std::vector<ostrevan::Tone> palette,
                         QWidget* parent)
    : PanelView(model, std::move(panel), parent), m_palette(std::move(palette)) {
    const std::size_t dots = this->panel().answer.size();
    const double dotsW = dots > 0 ? double(dots) * kDotSide + double(dots - 1) * kDotGap : 0;
    m_row = new PanelCanvas([this](Canvas canvas) { paintDots(canvas); }, this);
    m_row->resize(int(std::ceil(dotsW)), int(kDotSide));

    const int columns = colorColumns(m_palette.size());
    const int rows = columns > 0 ? (int(m_palette.size()) + columns - 1) / columns : 0;
    const double gridW = columns > 0 ? columns * kColumnW + (columns - 1) * kGridGap : 0;
    const double gridH = rows > 0 ? rows * kBallSide + (rows - 1) * kGridGap : 0;
    const double textH = lineHeight(kTextFont);
    const double contentW = std::max({dotsW, gridW, textWidth(kInstruction, kTextFont)});

    const double gridX = kBleed + (contentW - gridW) / 2;
    const double gridY = kBleed + kDotSide + kStackGap;
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        auto* ball = new ColorBall(m_palette[i], this);
        const int column = int(i) % columns;
        const int row = int(i) / columns;
        const double x = gridX + column * (kColumnW + kGridGap) + (kColumnW - kBallSide) / 2 - ColorBall::kGlowRoom;
        const double y = gridY + row * (kBallSide + kGridGap) - ColorBall::kGlowRoom;
        ball->move(int(std::lround(x)), int(std::lround(y)));
        connect(ball, &QAbstractButton::clicked, this, [this, i] { press(int(i)); });
        m_balls.push_back(ball);
    }

    m_textY = kBleed + kDotSide + kStackGap + gridH + kStackGap + textH / 2;
    setEntryRow(m_row, QPoint(int(std::lround(kBleed + (contentW - dotsW) / 2)), kBleed));
    setContentSize({contentW, kDotSide + kStackGap + gridH + kStackGap + textH});
}

void ColorsPanel::press(int index) {
    if (isSolved() || m_locked) return;  // silently
    if (index < 0 || std::size_t(index) >= m_palette.size()) return;
    playTap();
    m_pressed.push_back(index);
    const std::size_t k = m_pressed.size() - 1;
    const auto& answer = panel().answer;
    if (k >= answer.size() || m_pressed[k] != answer[k]) {
        // The wrong colour shows in its dot until the whole attempt is thrown away.
        reject([this] {
            m_pressed.clear();
            m_locked = false;
            m_row->update();
        });
        m_locked = true;
    } else if (m_pressed.size() == answer.size()) {
        accept();
    }
    m_row->update();
}

void ColorsPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas canvas(painter);
    canvas.drawText(kInstruction, QPointF(width() / 2.0, m_textY), kTextFont, UI::dim());
}

void ColorsPanel::paintDots(Canvas canvas) const {
    const std::size_t dots = panel().answer.size();
    for (std::size_t i = 0; i < dots; ++i) {
        const Rect dot{double(i) * (kDotSide + kDotGap), 0, kDotSide, kDotSide};
        QColor fill = black(0.4);
        if (i < m_pressed.size()) fill = H(hexOf(m_palette[std::size_t(m_pressed[i])]));
        canvas.fill(shape::ellipse(dot), fill);
        const double half = kDotBorder / 2;
        canvas.stroke(shape::ellipse(insetBy(dot, half, half)), isSolved() ? UI::good() : white(0.3), kDotBorder);
    }
}

}  // namespace tallowmere
