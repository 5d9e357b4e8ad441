#include <Tallowmere/App/AppIcon.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>
#include <Tallowmere/Art/RoomArt.hpp>
#include <Tallowmere/Platform/Canvas.hpp>

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

#include <cstddef>

namespace tallowmere {

QImage renderAppIcon(int sizePx) {
    // In the units of the 1024-pixel picture.
    constexpr Rect kTile{100, 100, 824, 824};
    constexpr double kTileCorner = 190;
    constexpr double kDoorScale = 2.15;
    constexpr QPointF kDoorCentre{512, 535};
    constexpr double kDoorOpen = 0.62;
    constexpr std::int64_t kDoorNumber = 50;

    if (sizePx < 1) return {};
    QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Canvas canvas(painter);
    const double scale = double(sizePx) / kAppIconSize;
    canvas.scale(scale, scale);
    const QPainterPath tile = shape::roundedRect(kTile, kTileCorner);

    Canvas shadow = canvas;
    shadow.addBlur(22);
    shadow.fill(shape::roundedRect(offsetBy(kTile, 0, 14), kTileCorner), black(0.45));

    Canvas clipped = canvas;
    clipped.clip(tile);
    clipped.fill(tile, linear({512, 100}, {512, 924}, {H(palette::kIconTileTop), H(palette::kIconTileBottom)}));
    clipped.fill(shape::ellipse(Rect{-8, 20, 1040, 1040}),
                 radial({512, 540}, 0, 520, {H(palette::kWarmGlow, 0, 0.35), H(palette::kWarmGlow, 0, 0)}));
    clipped.fill(shape::polygon({{330, 800}, {694, 800}, {900, 924}, {124, 924}}),
                 linear({512, 800}, {512, 924}, {H(palette::kIconFloorLight, 0, 0.5), H(palette::kIconFloorLight, 0, 0)}));

    Canvas door = clipped;
    const Rect doorRect = ostrevan::Stage::doorRect;
    door.translate(kDoorCentre.x() - kDoorScale * doorRect.midX(), kDoorCentre.y() - kDoorScale * doorRect.midY());
    door.scale(kDoorScale, kDoorScale);
    drawDoor(door, ostrevan::DoorStyle::orange, kDoorNumber, true, kDoorOpen, 0, false);

    clipped.stroke(shape::roundedRect(insetBy(kTile, 2, 2), kTileCorner - 2), white(0.12), 3);
    painter.end();
    return image;
}

namespace {

// Waits for the first window to be exposed, which paints it there and then, and draws the icon's
// sizes after that, one per turn of the event loop, so a tick or an input event waits for one
// small picture at most. Each is painted on the pool, as the room's frames are (see runOnPool).
class WindowIconSetter final : public QObject {
public:
    explicit WindowIconSetter(QApplication& app) : QObject(&app) { app.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow*>(watched)->isExposed()) {
            QCoreApplication::instance()->removeEventFilter(this);
            // Runs once the exposure, and with it the window's first paint, is over.
            QTimer::singleShot(0, this, &WindowIconSetter::drawNext);
        }
        return false;
    }

private:
    void drawNext() {
        const int sizePx = kWindowIconSizes[m_next];
        QImage picture;
        runOnPool([&] { picture = renderAppIcon(sizePx); });
        m_icon.addPixmap(QPixmap::fromImage(picture));
        if (++m_next < kWindowIconSizes.size()) {
            QTimer::singleShot(0, this, &WindowIconSetter::drawNext);
            return;
        }
        // The application's icon is every window's that has none of its own.
        QApplication::setWindowIcon(m_icon);
        deleteLater();
    }

    QIcon m_icon;
    std::size_t m_next = 0;
};

}  // namespace

void setWindowIconAfterFirstFrame(QApplication& app) {
    new WindowIconSetter(app);
}

}  // namespace tallowmere
