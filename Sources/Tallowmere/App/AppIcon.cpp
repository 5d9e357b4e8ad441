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

// `pointSide` points in the pixels of a screen with `dpr` of them to a point, rounded as Qt does.
int inPixels(int pointSide, double dpr) {
    return (QSize(pointSide, pointSide) * dpr).width();
}

// The side in pixels Qt asks an icon engine for when a window's icon is wanted `pointSide` points
// wide: in the screen's pixels where they are denser than points, in points elsewhere.
int askedSide(int pointSide, double dpr) {
    return dpr > 1 ? inPixels(pointSide, dpr) : pointSide;
}

// One drawn size of the icon, and the size in points it is offered under.
struct IconPicture {
    int pointSide;
    QPixmap pixels;
};

struct PlannedPicture {
    int pointSide;
    int sidePx;
};

// The pictures of the icon for a screen with `dpr` pixels to a point, smallest first: each window
// size in the screen's pixels, which a desktop scaled with the game asks for, offered under its
// own points; and each in pixels as given, for a desktop that is not, offered under the points
// nearest to them, or the next free ones above. A window hands the desktop one picture per size in
// points, so two pictures under the same points would lose one.
std::vector<PlannedPicture> planIconPictures(double dpr) {
    std::vector<PlannedPicture> plan;
    const auto add = [&](int sidePx, int pointSide) {
        if (std::any_of(plan.begin(), plan.end(), [&](const PlannedPicture& p) { return p.sidePx == sidePx; })) return;
        while (std::any_of(plan.begin(), plan.end(), [&](const PlannedPicture& p) { return p.pointSide == pointSide; }))
            ++pointSide;
        plan.push_back({pointSide, sidePx});
    };
    for (const int side : kWindowIconSizes) {
        const int dense = inPixels(side, dpr);
        if (dense <= 2 * kWindowIconSizes.back()) add(dense, dpr > 1 ? side : dense);
    }
    for (const int side : kWindowIconSizes) add(side, std::max(1, int(std::lround(side / std::max(dpr, 1.0)))));
    std::sort(plan.begin(), plan.end(),
              [](const PlannedPicture& a, const PlannedPicture& b) { return a.sidePx < b.sidePx; });
    return plan;
}

// The icon's pictures, each drawn at its own size in device pixels. Asked for a size in points
// on a screen of another density (a title bar's 16 points are 20 pixels at 125 %), it hands over
// the picture drawn at that many pixels; Qt's own engine would shrink the next larger one
// instead. A size never drawn gets the nearest larger picture scaled down.
class DrawnIconEngine final : public QIconEngine {
public:
    explicit DrawnIconEngine(std::vector<IconPicture> pictures) : m_pictures(std::move(pictures)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        if (m_pictures.empty() || size.isEmpty()) return {};
        const auto fits = std::find_if(m_pictures.begin(), m_pictures.end(), [&](const IconPicture& picture) {
            return picture.pixels.width() >= size.width() && picture.pixels.height() >= size.height();
        });
        const QPixmap& best = fits == m_pictures.end() ? m_pictures.back().pixels : fits->pixels;
        if (best.size() == size) return best;
        return best.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    // `size` is a size in points times `scale`, rounded: the picture offered under those points.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        for (const IconPicture& picture : m_pictures) {
            const int side = askedSide(picture.pointSide, scale);
            if (QSize(side, side) == size) return picture.pixels;
        }
        return pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const double dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * dpr, mode, state);
        picture.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect, picture);
    }

    // A window hands the desktop one picture per size listed here, each asked for in the
    // screen's pixels; so every picture is listed, under points of its own.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const IconPicture& picture : m_pictures) sizes.append(QSize(picture.pointSide, picture.pointSide));
        return sizes;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_pictures); }

private:
    std::vector<IconPicture> m_pictures;  // smallest first
};

// Waits for the first window to be exposed, which paints it there and then, and draws the icon's
// sizes after that, one per turn of the event loop, so a tick or an input event waits for one
// small picture at most. Each is painted on the pool, as the room's frames are (see runOnPool).
class WindowIconSetter final : public QObject {
public:
    explicit WindowIconSetter(QApplication& app) : QObject(&app), m_plan(planIconPictures(app.devicePixelRatio())) {
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
        const PlannedPicture next = m_plan[m_pictures.size()];
        QImage picture;
        runOnPool([&] { picture = renderAppIcon(next.sidePx); });
        m_pictures.push_back({next.pointSide, QPixmap::fromImage(picture)});
        if (m_pictures.size() < m_plan.size()) {
            QTimer::singleShot(0, this, &WindowIconSetter::drawNext);
            return;
        }
        // The application's icon is every window's that has none of its own.
        QApplication::setWindowIcon(QIcon(new DrawnIconEngine(std::move(m_pictures))));
        deleteLater();
    }

    std::vector<PlannedPicture> m_plan;
    std::vector<IconPicture> m_pictures;
};

}  // namespace

void setWindowIconAfterFirstFrame(QApplication& app) {
    new WindowIconSetter(app);
}

}  // namespace tallowmere
