// The five puzzle panels shown inside the panel overlay, and what they share: the view base with
// the one rule for judging an attempt, the shake of a rejected attempt and the delayed report of
// a solve.
//
// [SECTION] Shared measures and drawing
// [SECTION] PanelView: entry state, submission, shake
// [SECTION] KeypadPanel, SwitchesPanel, LettersPanel, DialsPanel, ColorsPanel
//
// Every panel keeps the player's entry as its own state, which starts afresh on each showing;
// it changes nothing in the game model but reports a right entry through
// GameModel::solvePanel() 0.45 s later. Sizes are in logical pixels (points).
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QAbstractButton>
#include <QPointF>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QVariantAnimation;

namespace tallowmere {

class GameModel;
class AnimatedValue;
class GlassButton;

// ---------------------------------------------------------------------------------------------
// [SECTION] Shared measures and drawing

inline constexpr double kShakeTravel = 10;     // amplitude of the swing
inline constexpr double kShakeHalfSwings = 4;  // half swings per rejected attempt
inline constexpr double kShakeSeconds = 0.4;
inline constexpr double kPanelDelaySeconds = 0.45;  // from an attempt to its solve or reset
inline constexpr double kPanelRowGap = 16;          // between a panel's rows
inline constexpr std::uint32_t kPanelInk = 0x2A2418;  // letters and words on the pale cells

// Horizontal offset of a shaken row when the shake counter stands at `shake`: 0 at every whole
// value, two full swings (right first) between consecutive ones.
double shakeOffset(double shake);

// The rounded rect's border stroked inside its edge.
void strokeInside(const Canvas& canvas, const Rect& r, double radius, const Paint& paint, double width);

// A child widget that a panel paints and whose clicks it handles (on release inside it). Without
// a click handler it lets presses through to its parent.
class PanelCanvas final : public QWidget {
    Q_OBJECT
public:
    using PaintFn = std::function<void(Canvas)>;
    using ClickFn = std::function<void(QPointF)>;

    explicit PanelCanvas(PaintFn paint, QWidget* parent, ClickFn click = {});

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PaintFn m_paint;
    ClickFn m_click;
    bool m_pressed = false;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] PanelView

// Base of the five panels. Its content sits inside a margin of kBleed on every side, so the
// shaken row and the glows are not cut off; the overlay places the content box, not the widget.
class PanelView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBleed = 16;

    PanelView(GameModel& model, ostrevan::Panel panel, QWidget* parent);
    ~PanelView() override;

    const ostrevan::Panel& panel() const { return m_panel; }
    // A right entry was made; the panel then refuses what its kind refuses.
    bool isSolved() const { return m_ok; }
    // Rejected attempts so far (the shake counter's target).
    int rejections() const { return m_rejections; }
    // The entry row's horizontal offset now, in points.
    double rowOffset() const { return shakeOffset(m_shake); }
    // Panels that take typed keys ask for the keyboard focus when shown.
    virtual bool takesKeys() const { return false; }
    // Size of the content without the bleed.
    QSize contentSize() const { return size() - QSize(2 * kBleed, 2 * kBleed); }

protected:
    // Content-box coordinates start at (kBleed, kBleed); panels lay out in them and then call
    // this with the content's size.
    void setContentSize(QSizeF size);
    // The row that shakes and its resting place in the panel's own coordinates.
    void setEntryRow(QWidget* row, QPoint origin);

    void playTap();
    // The one rule for a whole attempt: right marks the panel solved and reports it 0.45 s later;
    // wrong plays the wrong sound, shakes the row and runs `reset` 0.45 s later.
    void submit(const std::vector<int>& attempt, std::function<void()> reset);
    // Its two halves, for the colours panel, which judges every press itself.
    void accept();
    void reject(std::function<void()> reset);

    GameModel& m_model;

private:
    void placeRow();

    ostrevan::Panel m_panel;
    bool m_ok = false;
    int m_rejections = 0;
    double m_shake = 0;
    QVariantAnimation* m_shakeAnimation = nullptr;
    QWidget* m_entryRow = nullptr;
    QPoint m_rowOrigin;
};

// The panel view for the panel's kind, with its initial entry.
PanelView* makePanelView(GameModel& model, const ostrevan::Panel& panel, QWidget* parent);

// ---------------------------------------------------------------------------------------------
// [SECTION] KeypadPanel
//
// A row of digit boxes over a twelve-key pad; the entry is judged when its last box fills.

class KeypadPanel final : public PanelView {
    Q_OBJECT
public:
    KeypadPanel(GameModel& model, ostrevan::Panel panel, int length, QWidget* parent);

    bool takesKeys() const override { return true; }
    const std::vector<int>& digits() const { return m_digits; }
    // Keys in pad order: "1" ... "9", "⌫", "0", "C".
    const std::vector<GlassButton*>& keys() const { return m_keys; }

    void press(int digit);
    void deleteLast();
    void clearEntry();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintDigits(Canvas canvas) const;

    int m_length = 0;
    std::vector<int> m_digits;
    std::vector<GlassButton*> m_keys;
    PanelCanvas* m_row = nullptr;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] SwitchesPanel
//
// Labelled toggle switches with a lamp above each, judged by "Try it".

// One switch: a dark track with a knob that springs up (on) or down (off). The panel owns the
// state; a click only reports itself through clicked().
class ToggleSwitch final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent);
    ~ToggleSwitch() override;

    bool isOn() const { return m_on; }
    void setOn(bool on);
    // 0 off ... 1 on along the spring (it may overshoot a little); drives the knob and the lamp.
    double progress() const;

    QSize sizeHint() const override;

signals:
    void progressChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_on = false;
    AnimatedValue* m_progress = nullptr;
};

class SwitchesPanel final : public PanelView {
    Q_OBJECT
public:
    SwitchesPanel(GameModel& model, ostrevan::Panel panel, std::vector<std::string> labels, QWidget* parent);

    const std::vector<bool>& on() const { return m_on; }
    const std::vector<ToggleSwitch*>& switches() const { return m_switches; }
    GlassButton* tryButton() const { return m_try; }

    void flip(std::size_t index);
    void tryIt();

private:
    void paintRow(Canvas canvas) const;

    std::vector<std::string> m_labels;
    std::vector<bool> m_on;
    std::vector<ToggleSwitch*> m_switches;
    std::vector<double> m_columnX;  // centre of each column in the row
    GlassButton* m_try = nullptr;
    PanelCanvas* m_row = nullptr;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] LettersPanel
//
// Letter wheels A to Z turned by chevrons and arrows, written by typing, judged by "Try it" or
// Return.

class LettersPanel final : public PanelView {
    Q_OBJECT
public:
    LettersPanel(GameModel& model, ostrevan::Panel panel, int count, QWidget* parent);

    bool takesKeys() const override { return true; }
    const std::vector<int>& letters() const { return m_letters; }
    int cursor() const { return m_cursor; }
    GlassButton* upButton(std::size_t wheel) const;
    GlassButton* downButton(std::size_t wheel) const;
    GlassButton* tryButton() const { return m_try; }
    // The letter cell of a wheel, in the panel's coordinates.
    QRect cellRect(std::size_t wheel) const;

    void bump(std::size_t wheel, int step);
    void typeLetter(const QString& text);
    void moveCursor(int step);
    void tryIt();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintWheels(Canvas canvas) const;
    Rect cellInRow(std::size_t wheel) const;

    int m_count = 0;
    std::vector<int> m_letters;
    int m_cursor = 0;
    std::vector<GlassButton*> m_up;
    std::vector<GlassButton*> m_down;
    GlassButton* m_try = nullptr;
    PanelCanvas* m_row = nullptr;
    double m_cellW = 0;
    double m_columnW = 0;
    double m_cellY = 0;
    double m_tipY = 0;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] DialsPanel
//
// Picture dials, each turned through its own faces, judged by "Try it".

// The picture of one dial face filling `r`: a known symbol name as that symbol, anything else as
// the word itself.
void drawDialFace(Canvas canvas, const std::string& name, const Rect& r);

class DialsPanel final : public PanelView {
    Q_OBJECT
public:
    DialsPanel(GameModel& model, ostrevan::Panel panel, std::vector<std::vector<std::string>> faces,
               QWidget* parent);

    const std::vector<int>& values() const { return m_values; }
    GlassButton* upButton(std::size_t dial) const;
    GlassButton* downButton(std::size_t dial) const;
    GlassButton* tryButton() const { return m_try; }

    void bump(std::size_t dial, int step);
    void tryIt();

private:
    void paintDials(Canvas canvas) const;

    std::vector<std::vector<std::string>> m_faces;
    std::vector<int> m_values;
    std::vector<GlassButton*> m_up;
    std::vector<GlassButton*> m_down;
    GlassButton* m_try = nullptr;
    PanelCanvas* m_row = nullptr;
    double m_cellW = 0;
    double m_columnW = 0;
    double m_cellY = 0;
};

// ---------------------------------------------------------------------------------------------
// [SECTION] ColorsPanel
//
// Coloured balls pressed in sequence, each press judged at once; a wrong press locks the panel
// for 0.45 s and throws the attempt away.

// One ball: a shaded disc with a soft glow of its own colour; only the disc takes clicks.
class ColorBall final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kGlowRoom = 16;  // the glow's room around the disc

    ColorBall(ostrevan::Tone tone, QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    ostrevan::Tone m_tone;
};

class ColorsPanel final : public PanelView {
    Q_OBJECT
public:
    ColorsPanel(GameModel& model, ostrevan::Panel panel, std::vector<ostrevan::Tone> palette, QWidget* parent);

    const std::vector<int>& pressed() const { return m_pressed; }
    bool isLocked() const { return m_locked; }
    const std::vector<ColorBall*>& balls() const { return m_balls; }

    void press(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintDots(Canvas canvas) const;

    std::vector<ostrevan::Tone> m_palette;
    std::vector<int> m_pressed;
    bool m_locked = false;
    std::vector<ColorBall*> m_balls;
    PanelCanvas* m_row = nullptr;
    double m_textY = 0;
};

// The number of ball columns for a palette: all in one row up to four, else two rows.
int colorColumns(std::size_t paletteSize);

}  // namespace tallowmere
