// The rounded, shaded button of the game's own screens.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace tallowmere {

class AnimatedValue;

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

    // How many times the button's look has been drawn anew. It is kept while the size, the
    // density, the hover progress, the pressed state and the label stay as they are, so a repaint
    // of a sliver beneath costs only a copy.
    std::uint64_t looksDrawn() const { return m_looksDrawn; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Everything the look depends on that may change without a setter saying so.
    struct LookState {
        QSize size;
        double dpr = 0;
        double hover = 0;
        bool pressed = false;
        QString text;
        bool operator==(const LookState&) const = default;
    };

    Font labelFont() const;
    QSizeF labelSize() const;
    void setHovering(bool hovering);
    // Drops the kept look and asks for a repaint.
    void restyle();
    // The slab and the label, brightened, drawn for `state`.
    QImage drawLook(const LookState& state) const;

    bool m_prominent = false;
    bool m_compact = false;
    std::string m_symbol;
    double m_symbolWidth = 0;
    std::optional<Font> m_labelFont;
    QSizeF m_labelMinimum;
    LabelAlignment m_alignment = LabelAlignment::center;
    bool m_hovering = false;
    AnimatedValue* m_hover = nullptr;
    QImage m_look;
    LookState m_lookState;
    std::uint64_t m_looksDrawn = 0;
};

}  // namespace tallowmere
