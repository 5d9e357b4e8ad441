#include <Tallowmere/Widgets/ItemIcon.hpp>

#include <Tallowmere/Art/ItemArt.hpp>

#include <QPainter>

namespace tallowmere {

namespace {
constexpr double kIconInset = 0.06;
}

Rect itemIconRect(const Rect& frame) {
    return Rect{frame.x + kIconInset * frame.w, frame.y + kIconInset * frame.h, (1 - 2 * kIconInset) * frame.w,
                (1 - 2 * kIconInset) * frame.h};
}

void drawItemIcon(Canvas canvas, const ostrevan::Item& item, const Rect& frame) {
    if (!(frame.w > 0) || !(frame.h > 0)) return;
    drawItem(canvas, item.kind, item.tone, itemIconRect(frame));
}

ItemIcon::ItemIcon(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ItemIcon::setItem(std::optional<ostrevan::Item> item) {
    if (m_item == item) return;
    m_item = std::move(item);
    update();
}

void ItemIcon::paintEvent(QPaintEvent*) {
    if (!m_item) return;
    QPainter painter(this);
    drawItemIcon(Canvas(painter), *m_item, Rect{0, 0, double(width()), double(height())});
}

}  // namespace tallowmere
