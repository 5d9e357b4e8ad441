// Painting into small offscreen images and probing what landed there.
#pragma once

#include <Tallowmere/Canvas.hpp>

#include <QColor>
#include <QImage>
#include <QPainter>

#include <functional>

namespace tallowmere::testing {

inline QImage paintImage(int w, int h, const std::function<void(Canvas&)>& draw, QColor background = Qt::transparent) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    {
        Canvas canvas(painter);
        draw(canvas);
    }
    painter.end();
    return image;
}

inline int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

inline bool isBlank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return false;
    return true;
}

}  // namespace tallowmere::testing
