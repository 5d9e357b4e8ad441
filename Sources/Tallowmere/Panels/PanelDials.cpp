// The dials panel: picture dials turned through their faces by chevrons, and its "Try it"
// button. Dials take no keys.
#include <Tallowmere/Panels/Panels.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr double kColumnGap = 12;
constexpr double kColumnSpacing = 6;  // chevron, face, chevron
constexpr double kCellW = 78;
constexpr double kNarrowCellW = 62;  // four dials or more
constexpr std::size_t kWideCellMaxCount = 3;
constexpr double kCellH = 80;
constexpr double kCellRadius = 12;
constexpr double kCellBorder = 2.5;
constexpr std::uint32_t kCellTop = 0xEFD79A;
constexpr std::uint32_t kCellBottom = 0xC9A24A;

constexpr double kSymbolScale = 0.7;  // of the cell's smaller side
constexpr std::uint32_t kSymbolInk = 0x4A3508;
const Font kWordFont{34, FontWeight::heavy, FontDesign::serif};

bool isSymbolName(const std::string& name) {
    return std::find(kSymbolNames.begin(), kSymbolNames.end(), name) != kSymbolNames.end();
}

GlassButton* makeChevron(const char* symbol, QWidget* parent) {
    auto* button = new GlassButton(false, true, parent);
    button->setSymbol(symbol);
    button->resize(button->sizeHint());
    return button;
}

}  // namespace

void drawDialFace(Canvas canvas, const std::string& name, const Rect& r) {
    if (r.w <= 0 || r.h <= 0) return;
    const QPointF center(r.x + r.w / 2, r.y + r.h / 2);
    if (isSymbolName(name)) {
        drawSymbol(canvas, name, center, kSymbolScale * std::min(r.w, r.h), H(kSymbolInk));
    } else {
        canvas.drawText(QString::fromStdString(name), center, kWordFont, H(kPanelInk));
    }
}

DialsPanel::DialsPanel(GameModel& model, ostrevan::Panel panel, std::vector<std::vector<std::string>> faces,
                       QWidget* parent)
    : PanelView(model, std::move(panel), parent), m_faces(std::move(faces)), m_values(m_faces.size(), 0) {
    const std::size_t count = m_faces.size();
    m_cellW = count <= kWideCellMaxCount ? kCellW : kNarrowCellW;

    m_row = new PanelCanvas([this](Canvas canvas) { paintDials(canvas); }, this);
    for (std::size_t i = 0; i < count; ++i) {
        m_up.push_back(makeChevron("chevron.up", m_row));
        m_down.push_back(makeChevron("chevron.down", m_row));
        connect(m_up.back(), &QAbstractButton::clicked, this, [this, i] { bump(i, +1); });
        connect(m_down.back(), &QAbstractButton::clicked, this, [this, i] { bump(i, -1); });
    }
    const QSize chevron = count > 0 ? m_up.front()->size() : QSize();
    m_columnW = std::max(m_cellW, double(chevron.width()));
    m_cellY = chevron.height() + kColumnSpacing;
    const double rowW = count > 0 ? double(count) * m_columnW + double(count - 1) * kColumnGap : 0;
    const double rowH = count > 0 ? m_cellY + kCellH + kColumnSpacing + chevron.height() : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double x = double(i) * (m_columnW + kColumnGap) + (m_columnW - chevron.width()) / 2;
        m_up[i]->move(int(std::lround(x)), 0);
        m_down[i]->move(int(std::lround(x)), int(std::lround(m_cellY + kCellH + kColumnSpacing)));
    }
    m_row->resize(int(std::ceil(rowW)), int(std::ceil(rowH)));

    m_try = new GlassButton(QStringLiteral("Try it"), true, false, this);
    m_try->resize(m_try->sizeHint());
    connect(m_try, &QAbstractButton::clicked, this, [this] { tryIt(); });

    const double contentW = std::max(rowW, double(m_try->width()));
    setEntryRow(m_row, QPoint(int(std::lround(kBleed + (contentW - rowW) / 2)), kBleed));
    m_try->move(int(std::lround(kBleed + (contentW - m_try->width()) / 2)), int(std::lround(kBleed + rowH + kPanelRowGap)));
    setContentSize({contentW, rowH + kPanelRowGap + m_try->height()});
}

GlassButton* DialsPanel::upButton(std::size_t dial) const {
    return dial < m_up.size() ? m_up[dial] : nullptr;
}

GlassButton* DialsPanel::downButton(std::size_t dial) const {
    return dial < m_down.size() ? m_down[dial] : nullptr;
}

void DialsPanel::bump(std::size_t dial, int step) {
    if (isSolved() || dial >= m_values.size()) return;
    const int n = int(m_faces[dial].size());
    if (n == 0) return;  // a dial without faces cannot turn
    playTap();
    m_values[dial] = ((m_values[dial] + step) % n + n) % n;
    m_row->update();
}

void DialsPanel::tryIt() {
    if (isSolved()) return;
    submit(m_values, {});  // the dials stay where they are
    m_row->update();
}

void DialsPanel::paintDials(Canvas canvas) const {
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        const Rect cell{double(i) * (m_columnW + kColumnGap) + (m_columnW - m_cellW) / 2, m_cellY, m_cellW, kCellH};
        const auto cellPath = shape::roundedRect(cell, kCellRadius);
        canvas.fill(cellPath, vertical(cell, {H(kCellTop), H(kCellBottom)}));
        const auto& dial = m_faces[i];
        const auto value = std::size_t(m_values[i]);
        if (value < dial.size()) drawDialFace(canvas, dial[value], cell);
        strokeInside(canvas, cell, kCellRadius, isSolved() ? UI::good() : black(0.35), kCellBorder);
    }
}

}  // namespace tallowmere
