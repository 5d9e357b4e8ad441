// The puzzle-panel overlay: a dimmed backdrop and a card with the panel's title, a close button
// and the panel view of its kind (Panels.hpp).
#pragma once

#include <Tallowmere/Widgets/OutsideConnections.hpp>

#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <vector>

namespace ostrevan {
struct Panel;
}

class QGraphicsOpacityEffect;

namespace tallowmere {

class AnimatedValue;
class GameModel;
class GlassButton;
class PanelView;

// Fills its parent (the game screen) and shows the panel named by the model's panelID whenever
// that names a panel of the current room, fading in and out over 0.2 s. Every opening builds a
// fresh panel view. Closing (backdrop, close button) clears the model's panelID; a right entry
// reaches the model through GameModel::solvePanel. The overlay handles no key itself: the panel
// views take their own keys and leave Escape to the game screen.
class PanelOverlay final : public QWidget {
    Q_OBJECT
public:
    explicit PanelOverlay(GameModel& model, QWidget* parent = nullptr);
    ~PanelOverlay() override;

    // The panel being worked; nullptr while none is open (also while a closed one fades out).
    PanelView* panelView() const;
    GlassButton* closeButton() const { return m_close; }
    // The card, in the overlay's coordinates.
    QRectF cardRect() const { return m_card; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void sync();
    void open(const ostrevan::Panel& panel);
    void beginClose();
    void finishClose();
    void setFade(double opacity);
    void layoutCard();
    void takeFocusBack(QWidget* now);
    const QImage& cardShadow(double devicePixelRatio);

    GameModel& m_model;
    PanelView* m_view = nullptr;
    GlassButton* m_close = nullptr;
    std::vector<QString> m_titleLines;  // upper-cased, wrapped beside the close button
    bool m_closing = false;
    bool m_backdropPressed = false;
    AnimatedValue* m_fade = nullptr;
    QGraphicsOpacityEffect* m_effect = nullptr;
    QRectF m_card;
    double m_headerH = 0;
    // The card's blurred shadow for one card size, since blurring it on every repaint under a
    // hovered button or a shaking row is needlessly slow.
    QImage m_shadow;
    QSizeF m_shadowCard;
    OutsideConnections m_outside;
};

}  // namespace tallowmere
