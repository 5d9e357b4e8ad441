// The strip under the stage: a row of item tiles and a caption saying what a click will do.
// A click on a filled tile goes to GameModel::tapItem(); everything shown comes from the model.
#pragma once

#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/OutsideConnections.hpp>

#include <Ostrevan/Model.hpp>

#include <QRectF>
#include <QString>
#include <QWidget>

#include <map>
#include <optional>
#include <string>

namespace tallowmere {

class GameModel;

// Each word's first letter upper case and the rest lower case ("brass key" -> "Brass Key").
QString capitalizeWords(const QString& text);

class InventoryBar final : public QWidget {
    Q_OBJECT
public:
    InventoryBar(GameModel& model, int slotCount, QWidget* parent = nullptr);

    int slotCount() const { return m_slots; }
    // The caption under the tiles.
    QString caption() const;
    // Tile i's square in widget coordinates, before any lift or growth.
    QRectF tileRect(int index) const;
    // The index of the tile under `point`, if any.
    std::optional<int> tileAt(QPointF point) const;
    // The help text of tile i: its item's name, capitalised; empty for an empty tile.
    QString tileToolTip(int index) const;

    // The look of a filled tile as it stands now (springs included) and where it is heading.
    struct TileLook {
        double selected = 0;  // 0 ... 1 (overshoots while springing)
        double gained = 0;
    };
    TileLook tileLook(const std::string& itemID) const;
    TileLook tileTarget(const std::string& itemID) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TileMotion {
        AnimatedValue* selected = nullptr;
        AnimatedValue* gained = nullptr;
    };

    void syncTiles();
    TileMotion& motionFor(const std::string& itemID);

    GameModel& m_model;
    int m_slots = 0;
    std::optional<int> m_pressedTile;
    std::map<std::string, TileMotion> m_motions;  // by item id
    OutsideConnections m_outside;
};

}  // namespace tallowmere
