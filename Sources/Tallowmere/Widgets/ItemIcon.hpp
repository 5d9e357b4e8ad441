// The picture of an inventory item inside a frame, as the bar, the stage's held item and the
// panels show it.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QWidget>

#include <optional>

namespace tallowmere {

// The square an item's picture is drawn into inside a frame: inset by 6 % of the width on the
// left and right and 6 % of the height at the top and bottom.
Rect itemIconRect(const Rect& frame);
// The item's picture in `frame`; no background, border or shadow of its own.
void drawItemIcon(Canvas canvas, const ostrevan::Item& item, const Rect& frame);

// A transparent widget that shows one item's picture at whatever size it is given.
class ItemIcon final : public QWidget {
    Q_OBJECT
public:
    explicit ItemIcon(QWidget* parent = nullptr);

    void setItem(std::optional<ostrevan::Item> item);
    const std::optional<ostrevan::Item>& item() const { return m_item; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<ostrevan::Item> m_item;
};

}  // namespace tallowmere
