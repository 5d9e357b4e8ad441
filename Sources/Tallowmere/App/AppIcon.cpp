#include <Tallowmere/App/AppIcon.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>
#include <Tallowmere/Art/RoomArt.hpp>
#include <Tallowmere/Platform/Canvas.hpp>

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

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

// The icon's pictures, each drawn at its own size in device pixels. Asked for a size on a screen
// of another density (a title bar's 16 points are 20 pixels at 125 %), it hands over the picture
// drawn at that many pixels; Qt's own engine would shrink the next larger one instead. A size
// never drawn gets the nearest larger picture scaled down.
class DrawnIconEngine final : public QIconEngine {
public:
    explicit DrawnIconEngine(std::vector<QPixmap> pictures) : m_pictures(std::move(pictures)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        if (m_pictures.empty() || size.isEmpty()) return {};
        const auto fits = std::find_if(m_pictures.begin(), m_pictures.end(), [&](const QPixmap& picture) {
            return picture.width() >= size.width() && picture.height() >= size.height();
        });
        const QPixmap& best = fits == m_pictures.end() ? m_pictures.back() : *fits;
        if (best.size() == size) return best;
        return best.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const double dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * dpr, mode, state);
        picture.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect, picture);
    }

    // The sizes in points a desktop may ask for; the pictures behind them may be denser.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int side : kWindowIconSizes) sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_pictures); }

private:
    std::vector<QPixmap> m_pictures;  // smallest first
};

// Waits for the first window to be exposed, which paints it there and then, and draws the icon's
// sizes after that, one per turn of the event loop, so a tick or an input event waits for one
// small picture at most. Each is painted on the pool, as the room's frames are (see runOnPool).
// Each size is drawn in the screen's pixels too where they differ from points.
class WindowIconSetter final : public QObject {
public:
    explicit WindowIconSetter(QApplication& app) : QObject(&app) {
        const double dpr = app.devicePixelRatio();
        for (const int side : kWindowIconSizes) {
            m_sides.push_back(side);
            const int dense = int(std::lround(side * dpr));
            if (dense != side && dense <= 2 * kWindowIconSizes.back()) m_sides.push_back(dense);
        }
        std::sort(m_sides.begin(), m_sides.end());
        m_sides.erase(std::unique(m_sides.begin(), m_sides.end()), m_sides.end());
        app.installEventFilter(this);
    }

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
        const int sizePx = m_sides[m_pictures.size()];
        QImage picture;
        runOnPool([&] { picture = renderAppIcon(sizePx); });
        m_pictures.push_back(QPixmap::fromImage(picture));
        if (m_pictures.size() < m_sides.size()) {
            QTimer::singleShot(0, this, &WindowIconSetter::drawNext);
            return;
        }
        // The application's icon is every window's that has none of its own.
        QApplication::setWindowIcon(QIcon(new DrawnIconEngine(std::move(m_pictures))));
        deleteLater();
    }

    std::vector<int> m_sides;  // the pictures' sides in pixels, smallest first
    std::vector<QPixmap> m_pictures;
};

}  // namespace

void setWindowIconAfterFirstFrame(QApplication& app) {
    new WindowIconSetter(app);
}

}  // namespace tallowmere
