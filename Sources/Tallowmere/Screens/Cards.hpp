// The transient layers of the game screen: the toast capsule over the stage's foot, the intro
// card of a new room and the white flash of the door sequence. They show what the model
// publishes and decide nothing.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Widgets/Animation.hpp>

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

class StageView;
class ToastShadow;

// ---------------------------------------------------------------------------------------------
// Toast

// The symbol and colour of each kind of toast.
std::string_view toastSymbol(Toast::Kind kind);
QColor toastColor(Toast::Kind kind);

// One toast capsule. It enters rising from below with a fade and leaves the same way; the game
// screen makes one per toast, so a new toast replaces the old one even with the same text. It
// takes the clicks that land on it; the game screen passes its pointer's moves on to the stage.
// Its glass shows, blurred and darkened, what the stage given by showOver() shows beneath it,
// the held item included, and follows the stage's frames: only as far round what changed beneath
// as the blur reaches is blurred again. The capsule is painted again only when what it shows
// changes, in the same repaint as the stage's new frame: only the rows whose glass changed while
// it stays in place, whole when it moves; its shadow is kept while its outline stays the same.
class ToastView final : public QWidget {
    Q_OBJECT
public:
    ToastView(Toast toast, QWidget* parent = nullptr);

    // The stage whose picture the glass frosts, a sibling beneath the capsule; without one the
    // capsule is plain dark.
    void showOver(StageView* stage);

    const Toast& toast() const { return m_toast; }
    // The text's lines as the capsule shows them.
    const std::vector<QString>& lines() const { return m_lines; }
    // The capsule's size for an area `offeredWidth` wide (it never exceeds 620).
    QSizeF capsuleSize(double offeredWidth) const;

    // Keeps the capsule centred over the foot of `area`, 30 above its bottom and 30 from its
    // sides (parent coordinates).
    void place(const QRectF& area);
    void enter(const Motion& motion);
    // Moves out and deletes itself once gone.
    void leave(const Motion& motion);
    bool isLeaving() const { return m_leaving; }
    double presence() const { return m_presence->value(); }
    // The glass's blur work so far (see KeptBlur::pixelsBlurred).
    std::uint64_t glassPixelsBlurred() const { return m_glass.pixelsBlurred(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text wrapped for an area `offeredWidth` wide: the lines shown and the capsule's size
    // come from this one wrap, so the text always fits its capsule.
    std::vector<QString> wrappedLines(double offeredWidth) const;
    // The capsule round these lines.
    QSizeF sizeOf(const std::vector<QString>& lines) const;
    void reposition();
    // Asks for the whole capsule, shadow and all, to be painted anew.
    void repaintCapsule();
    // Watches the window's repaints, so a capsule whose glass fell behind joins the next one.
    void watchWindow();
    // This capsule's rectangle in the stage's coordinates, grown by the blur's reach.
    QRect glassSource() const;
    // Where the stage shows the held item with its shadow (stage coordinates); empty while it
    // shows none.
    QRect heldItemArea() const;
    std::optional<std::string> heldItemID() const;
    // Adds to m_beneathStale what the stage changed since the last look: the areas its new
    // frames repainted, and where the held item was and is.
    void noteChangesBeneath();
    // Whether the glass shows what lies behind the capsule, as far as the last look saw.
    bool glassCurrent() const;
    // Whether the capsule's kept picture may be drawn on `device` as it is.
    bool pictureCurrent(const QPaintDevice* device);
    // Before the window repaints: a capsule whose glass fell behind is repainted in the same go.
    void lookBeneath();
    // What lies behind the capsule, held item included, blurred, over glassSource(); null without
    // a stage. Only what changed beneath is taken from the stage again.
    const QImage& frostedBackdrop();
    // Brings the glass up to what lies behind the capsule; answers the part of the capsule whose
    // glass changed (all of it when the glass was made whole).
    QRegion refreshGlass();
    // Whether the picture kept of what lies behind serves a glass over `source`, but for what
    // changed beneath since.
    bool beneathKept(const QRect& source) const;

    Toast m_toast;
    std::vector<QString> m_lines;
    std::vector<QPointF> m_lineCentres;  // where each line is centred
    QRectF m_area;
    QSizeF m_size;  // the capsule's size for m_lines
    bool m_leaving = false;
    AnimatedValue* m_presence = nullptr;
    ToastShadow* m_shadow = nullptr;
    QPointer<StageView> m_stage;
    QPointer<QWidget> m_window;   // whose repaints are watched
    bool m_readingStage = false;  // while the stage paints into the glass
    bool m_checkPending = false;  // a look at the stage's frames is queued
    bool m_repaintAsked = false;  // a whole repaint is on its way
    bool m_repaintQueued = false; // one will be asked for once the window has painted
    QImage m_beneath;             // what lies behind the capsule, unblurred, over m_glassSource
    KeptBlur m_glass;             // the same, blurred
    QRect m_glassSource;
    QRegion m_beneathStale;         // stage coordinates: where m_beneath shows the stage as it was
    std::uint64_t m_seenFrame = 0;  // the stage's frame count at the last look
    QRect m_seenHeld;               // where the held item was then
    std::optional<std::string> m_seenHeldItem;  // and which it was
};

// ---------------------------------------------------------------------------------------------
// Intro card

// The card of one room: "ROOM n", the name and the intro line, centred over the whole screen.
// Fills its parent and never takes the pointer.
class IntroCard final : public QWidget {
    Q_OBJECT
public:
    explicit IntroCard(QWidget* parent = nullptr);

    // Shows `intro` (or fades the shown one out when none) with the model's motion.
    void setIntro(const std::optional<RoomIntro>& intro, const Motion& motion);
    // What the card shows, also while it fades out.
    const std::optional<RoomIntro>& intro() const { return m_intro; }
    double opacity() const { return m_opacity->value(); }
    // The card's size (without its shadow) in a screen `screenWidth` wide.
    QSizeF cardSize(double screenWidth) const;
    // The line of the intro as wrapped on the card.
    std::vector<QString> lineRows(double screenWidth) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void renderCard();

    std::optional<RoomIntro> m_intro;
    AnimatedValue* m_opacity = nullptr;
    QImage m_card;  // card and shadow, redrawn when the intro or the width changes
};

// ---------------------------------------------------------------------------------------------
// Flash

// White over the whole window at the door sequence's flash opacity; never takes the pointer.
class FlashLayer final : public QWidget {
    Q_OBJECT
public:
    explicit FlashLayer(QWidget* parent = nullptr);

    void setFlash(double opacity, const Motion& motion);
    double opacity() const { return m_opacity->value(); }
    double targetOpacity() const { return m_opacity->target(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AnimatedValue* m_opacity = nullptr;
};

}  // namespace tallowmere
