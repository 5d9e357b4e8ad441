// What every screen around the stage shares: the application palette, the picture of an
// inventory item, animated values, and the glass button.
//
// [SECTION] Palette: UI::bg() ... UI::good().
// [SECTION] Shadows: a card's or frame's shadow radius as the blur it takes.
// [SECTION] Text helpers: widths, wrapping and tracked lines drawn through Canvas.
// [SECTION] ItemIcon: an item's picture inset by 6 % of its square.
// [SECTION] Easing: the curves of our fades and springs, and AnimatedValue that runs them.
// [SECTION] GlassButton: the rounded, shaded button of the game's own screens.
#pragma once

#include <Tallowmere/Canvas.hpp>
#include <Tallowmere/GameModel.hpp>

#include <Ostrevan/Model.hpp>

#include <QAbstractButton>
#include <QColor>
#include <QObject>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QVariantAnimation;

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// [SECTION] Palette
//
// The eight fixed colours of the screens, bars, cards and buttons (the room art keeps its own).

namespace UI {

inline constexpr std::uint32_t kBg = 0x0E0C0B;         // window background behind the screens
inline constexpr std::uint32_t kPanel = 0x1B1815;      // lower stop of plain buttons
inline constexpr std::uint32_t kPanelHi = 0x2A251F;    // upper stop of plain buttons
inline constexpr std::uint32_t kText = 0xF3ECE0;       // main text, plain button labels
inline constexpr std::uint32_t kDim = 0xB9AE9C;        // secondary text, captions
inline constexpr std::uint32_t kAmber = 0xF2B544;      // accent; upper stop of prominent buttons
inline constexpr std::uint32_t kAmberDeep = 0xC98A1E;  // lower stop of prominent buttons
inline constexpr std::uint32_t kGood = 0x4FE08A;       // success glow, the unlocked lamp's green

QColor bg();
QColor panel();
QColor panelHi();
QColor text();
QColor dim();
QColor amber();
QColor amberDeep();
QColor good();

}  // namespace UI

// ---------------------------------------------------------------------------------------------
// [SECTION] Shadows

// The blur (Canvas::addBlur's standard deviation) of a shadow given by its radius round a card,
// a frame, a tile or a title: half the radius. The blur filters inside the room art take their
// radius as the deviation itself.
constexpr double shadowBlur(double radius) { return radius / 2; }

// ---------------------------------------------------------------------------------------------
// [SECTION] Text helpers over Canvas::drawText, for the texts of cards and bars.

// Width of one line with `tracking` extra units after every character but the last.
double textWidth(const QString& text, const Font& font, double tracking = 0);
// Line height of the font (its line box).
double lineHeight(const Font& font);
// The text broken at spaces (and at "\n") into lines no wider than maxWidth; a single word
// wider than that stands on a line of its own.
std::vector<QString> wrapText(const QString& text, const Font& font, double maxWidth);
// One line whose box starts at `left` and is vertically centred on `centerY`; tracking spreads
// the characters apart.
void drawTextLine(const Canvas& canvas, const QString& text, double left, double centerY, const Font& font,
                  const Paint& paint, double tracking = 0);
// The same line centred on `center`.
void drawTextCentered(const Canvas& canvas, const QString& text, QPointF center, const Font& font,
                      const Paint& paint, double tracking = 0);

// ---------------------------------------------------------------------------------------------
// [SECTION] ItemIcon

// The square an item's picture is drawn into inside a frame: inset by 6 % of the width on the
// left and right and 6 % of the height at the top and bottom.
Rect itemIconRect(const Rect& frame);
// The item's picture in `frame`; no background, border or shadow of its own.
void drawItemIcon(Canvas canvas, const ostrevan::Item& item, const Rect& frame);

// A transparent widget that shows one item's picture at whatever size it is given.
class ItemIcon final : public QWidget {
    Q_OBJECT
public:
    explicit ItemIcon(QWidget* parent = nullptr);

    void setItem(std::optional<ostrevan::Item> item);
    const std::optional<ostrevan::Item>& item() const { return m_item; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<ostrevan::Item> m_item;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] Easing

namespace easing {
// The platform's standard cubic curves, p in [0, 1].
double easeOut(double p);
double easeIn(double p);
double easeInOut(double p);
// A spring released from 0 towards 1 at `seconds` after the start; `response` is the period of
// the undamped spring and `damping` its damping fraction (below 1 overshoots).
double spring(double seconds, double response, double damping);
// How long a spring takes to settle within a thousandth of its target.
double springSettleSeconds(double response, double damping);
}  // namespace easing

// How a value moves to a new target: a curve and its duration (for a spring, its response).
struct Motion {
    enum class Curve { none, easeIn, easeOut, easeInOut, spring };

    Curve curve = Curve::none;
    double seconds = 0;
    double damping = 1;  // spring damping fraction

    static Motion instant() { return {}; }
    static Motion easeIn(double seconds) { return {Curve::easeIn, seconds, 1}; }
    static Motion easeOut(double seconds) { return {Curve::easeOut, seconds, 1}; }
    static Motion easeInOut(double seconds) { return {Curve::easeInOut, seconds, 1}; }
    static Motion spring(double response, double damping) { return {Curve::spring, response, damping}; }
    // The motion the model asks for with a change.
    static Motion of(const Transition& transition);

    // How long the motion runs.
    double duration() const;
    // Progress 0 ... 1 (a spring may overshoot) `elapsed` seconds after the start.
    double progress(double elapsed) const;
};

// A number that moves to each new target along a Motion (Curve::none jumps). The current value
// is what a widget paints; target() is where it is heading.
class AnimatedValue final : public QObject {
    Q_OBJECT
public:
    explicit AnimatedValue(double initial, QObject* parent = nullptr);
    ~AnimatedValue() override;

    void animateTo(double target, const Motion& motion);
    // Stops any motion and stands at `value`.
    void setValue(double value);

    double value() const { return m_value; }
    double target() const { return m_target; }
    bool isRunning() const;

signals:
    void valueChanged(double value);

private:
    void step(double elapsedSeconds);

    double m_value = 0;
    double m_from = 0;
    double m_target = 0;
    Motion m_motion;
    QVariantAnimation* m_animation = nullptr;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] GlassButton
//
// Plain (dark slab, light label) or prominent (amber slab, dark label), normal or compact. It
// lightens and shows a brighter rim under the pointer (eased over 0.12 s), darkens and shrinks
// to 0.97 while pressed, and fades to 0.4 when disabled. The label is an optional symbol (see
// Icons.hpp) and an optional text, centred, or leading with the rest of the width left empty.

struct GlassMetrics {
    Font font;          // label font
    double padX = 0;    // left and right
    double padY = 0;    // above and below
    double radius = 0;  // corner radius of the slab
};
GlassMetrics glassMetrics(bool compact);

// The label's colour and the slab's top and bottom colours.
QColor glassLabelColor(bool prominent);
QColor glassSlabTop(bool prominent);
QColor glassSlabBottom(bool prominent);

// The brightness added to every colour channel: -0.1 pressed, else +0.06 times the hover
// progress (0 ... 1).
double glassBrightness(bool pressed, double hover);
// Opacity of the rim stroked inside the slab: 0.14, eased to 0.35 under the pointer.
double glassRimOpacity(double hover);

class GlassButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class LabelAlignment { center, leading };

    GlassButton(bool prominent, bool compact, QWidget* parent = nullptr);
    GlassButton(const QString& text, bool prominent, bool compact, QWidget* parent = nullptr);
    ~GlassButton() override;

    bool prominent() const { return m_prominent; }
    bool compact() const { return m_compact; }

    // A symbol before the text (or alone); empty for none.
    void setSymbol(std::string name);
    const std::string& symbol() const { return m_symbol; }
    // The symbol is centred in a box this wide (0: its own width). Rows of buttons use it to
    // line their titles up.
    void setSymbolWidth(double width);
    // A font of the label's own, used in place of the style's.
    void setLabelFont(std::optional<Font> font);
    // The label is laid out in at least this size (before the padding).
    void setLabelMinimumSize(QSizeF size);
    // leading: the label starts at the left padding and the button may stretch.
    void setLabelAlignment(LabelAlignment alignment);

    // 0 ... 1: how far the hover look has come in.
    double hoverProgress() const;
    bool isHovering() const { return m_hovering; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Font labelFont() const;
    QSizeF labelSize() const;
    void setHovering(bool hovering);

    bool m_prominent = false;
    bool m_compact = false;
    std::string m_symbol;
    double m_symbolWidth = 0;
    std::optional<Font> m_labelFont;
    QSizeF m_labelMinimum;
    LabelAlignment m_alignment = LabelAlignment::center;
    bool m_hovering = false;
    AnimatedValue* m_hover = nullptr;
};

}  // namespace tallowmere
