// The widgets the menus are built from: canvas-drawn text, the main menu's wide bars, the dimmed
// layer with its centred card that the pause menu and the help card share, and the
// confirmation question.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

class QGraphicsOpacityEffect;
class QMessageBox;
class QVBoxLayout;

namespace tallowmere {

class AnimatedValue;

// ---------------------------------------------------------------------------------------------
// Text

// One text style drawn through the canvas, inside the widget's contents margins: one line, or
// wrapped at spaces to the width it is given. Wrapped and centred, the lines keep one left
// edge and the block they make is centred, as the platform sets a text of several lines.
// Takes no clicks.
class TextBlock final : public QWidget {
    Q_OBJECT
public:
    enum class Align { leading, center };

    TextBlock(const QString& text, const Font& font, const QColor& color, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    const Font& font() const { return m_font; }
    void setText(const QString& text);
    // Extra space after every character but the last.
    void setTracking(double tracking);
    void setAlign(Align align);
    void setWraps(bool wraps);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_wraps; }
    int heightForWidth(int width) const override;
    // The lines as drawn at the widget's present width.
    std::vector<QString> shownLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QString> lines(double width) const;

    QString m_text;
    Font m_font;
    QColor m_color;
    double m_tracking = 0;
    Align m_align = Align::center;
    bool m_wraps = false;
};

// ---------------------------------------------------------------------------------------------
// Menu bar

// A wide, dark bar with a large white title: lighter, with an amber rim, under the pointer
// (eased over 0.15 s), and shrunk to 98 % while pressed. Its amber glow falls outside the bar,
// so the widget that holds the bars paints it beneath them (drawMenuBarGlow).
class MenuBarButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit MenuBarButton(const QString& title, QWidget* parent = nullptr);
    ~MenuBarButton() override;

    // 0 ... 1: how far the hover look has come in.
    double hoverProgress() const;
    bool isHovering() const { return m_hovering; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void hoverProgressChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // What the bar's picture was drawn for.
    struct PictureKey {
        QSize size;
        double devicePixelRatio = 0;
        double hover = -1;
        bool down = false;
        QString title;
        bool operator==(const PictureKey&) const = default;
    };
    void setHovering(bool hovering);

    bool m_hovering = false;
    AnimatedValue* m_hover = nullptr;
    // The slab and its title, kept while the bar looks the same: the menu's backdrop repaints
    // beneath the bars many times a second.
    QImage m_picture;
    PictureKey m_pictureKey;
};

// ---------------------------------------------------------------------------------------------
// Card overlay

// A dimmed layer over the whole of its parent with one card centred on it. It fades in and out
// over 0.2 s (ease-out); its parent stacks it among its siblings. A click on the dimmed area
// outside the card calls backdropClicked(); a click on the card outside its buttons does
// nothing.
class CardOverlay : public QWidget {
    Q_OBJECT
public:
    ~CardOverlay() override;

    // Shown or on its way in; false while it fades out and once it is hidden.
    bool isPresented() const { return m_presented; }
    // 0 (hidden) ... 1 (shown) along the fade.
    double opacity() const;
    // The card in this widget's coordinates.
    QRect cardGeometry() const;

protected:
    CardOverlay(double dimOpacity, int cardWidth, int cardPadding, int cardSpacing, QWidget* parent);

    QVBoxLayout* cardLayout() const { return m_layout; }
    // Starts the fade towards shown or hidden; does nothing when already heading there.
    void present(bool shown);
    virtual void backdropClicked() = 0;
    // Called as the overlay starts to fade out.
    virtual void dismissing() {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fillParent();
    void placeCard();
    void setOpacity(double opacity);
    const QImage& cardShadow();

    double m_dimOpacity = 0;
    int m_cardWidth = 0;
    QWidget* m_card = nullptr;
    QVBoxLayout* m_layout = nullptr;
    AnimatedValue* m_fade = nullptr;
    QGraphicsOpacityEffect* m_effect = nullptr;
    QImage m_shadow;  // the card's shadow, kept while the card's size stays
    bool m_presented = false;
    bool m_pressedOnBackdrop = false;
};

// ---------------------------------------------------------------------------------------------
// Confirmation

// A question modal to `parent`'s window: `title`, `message`, a destructive `action` and
// "Cancel", which is the default and answers Escape. `onConfirm` runs only when the action is
// chosen. Opens without blocking; the box deletes itself once closed.
QMessageBox* openConfirmation(QWidget* parent, const QString& title, const QString& message, const QString& action,
                              std::function<void()> onConfirm);

}  // namespace tallowmere
