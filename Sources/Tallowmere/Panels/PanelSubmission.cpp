// What the five panels share: the painted child widget, the view base with its submission rule,
// its shake and its delayed solve, and the choice of panel view for a panel's kind.
#include <Tallowmere/Panels/Panels.hpp>

#include <Tallowmere/Model/GameModel.hpp>

#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>
#include <numbers>
#include <type_traits>
#include <utility>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// Shared measures and drawing

double shakeOffset(double shake) {
    return kShakeTravel * std::sin(shake * std::numbers::pi * kShakeHalfSwings);
}

void strokeInside(const Canvas& canvas, const Rect& r, double radius, const Paint& paint, double width) {
    const double half = width / 2;
    if (r.w <= width || r.h <= width) return;
    canvas.stroke(shape::roundedRect(insetBy(r, half, half), std::max(0.0, radius - half)), paint, width);
}

PanelCanvas::PanelCanvas(PaintFn paint, QWidget* parent, ClickFn click)
    : QWidget(parent), m_paint(std::move(paint)), m_click(std::move(click)) {}

void PanelCanvas::paintEvent(QPaintEvent*) {
    if (!m_paint) return;
    QPainter painter(this);
    m_paint(Canvas(painter));
}

void PanelCanvas::mousePressEvent(QMouseEvent* event) {
    if (!m_click || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
}

void PanelCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_click || !m_pressed) {
        event->ignore();
        return;
    }
    m_pressed = false;
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) m_click(event->position());
}

// ---------------------------------------------------------------------------------------------
// PanelView

PanelView::PanelView(GameModel& model, ostrevan::Panel panel, QWidget* parent)
    : QWidget(parent), m_model(model), m_panel(std::move(panel)) {
    m_shakeAnimation = new QVariantAnimation(this);
    m_shakeAnimation->setEasingCurve(QEasingCurve::Linear);
    m_shakeAnimation->setDuration(int(std::lround(kShakeSeconds * 1000)));
    connect(m_shakeAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_shake = value.toDouble();
        placeRow();
    });
}

PanelView::~PanelView() = default;

void PanelView::setContentSize(QSizeF size) {
    setFixedSize(int(std::ceil(size.width())) + 2 * kBleed, int(std::ceil(size.height())) + 2 * kBleed);
}

void PanelView::setEntryRow(QWidget* row, QPoint origin) {
    m_entryRow = row;
    m_rowOrigin = origin;
    placeRow();
}

void PanelView::placeRow() {
    if (m_entryRow) m_entryRow->move(m_rowOrigin + QPoint(int(std::lround(rowOffset())), 0));
}

void PanelView::playTap() {
    m_model.sound().play(ostrevan::Sfx::tap);
}

void PanelView::submit(const std::vector<int>& attempt, std::function<void()> reset) {
    if (m_panel.isCorrect(attempt)) {
        accept();
    } else {
        reject(std::move(reset));
    }
}

void PanelView::accept() {
    m_ok = true;
    update();
    // The report belongs to the model, not to this view: closing the overlay in the meantime does
    // not cancel it, and the epoch taken now keeps it out of a room restarted since.
    GameModel* model = &m_model;
    const std::string id = m_panel.id;
    const std::uint64_t epoch = m_model.epoch();
    m_model.scheduler().after(kPanelDelaySeconds, model, [model, id, epoch] { model->solvePanel(id, epoch); });
}

void PanelView::reject(std::function<void()> reset) {
    m_model.sound().play(ostrevan::Sfx::wrong);
    ++m_rejections;
    // A new rejection during a swing carries on from where the row is.
    m_shakeAnimation->stop();
    m_shakeAnimation->setStartValue(m_shake);
    m_shakeAnimation->setEndValue(double(m_rejections));
    m_shakeAnimation->start();
    // A reset that falls due after this view is gone has nothing left to reset.
    m_model.scheduler().after(kPanelDelaySeconds, this, [reset = std::move(reset)] {
        if (reset) reset();
    });
}

// ---------------------------------------------------------------------------------------------
// Choice of panel

PanelView* makePanelView(GameModel& model, const ostrevan::Panel& panel, QWidget* parent) {
    return std::visit(
        [&](const auto& kind) -> PanelView* {
            using K = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<K, ostrevan::entry::Keypad>) {
                return new KeypadPanel(model, panel, kind.length, parent);
            } else if constexpr (std::is_same_v<K, ostrevan::entry::Letters>) {
                return new LettersPanel(model, panel, kind.count, parent);
            } else if constexpr (std::is_same_v<K, ostrevan::entry::Dials>) {
                return new DialsPanel(model, panel, kind.faces, parent);
            } else if constexpr (std::is_same_v<K, ostrevan::entry::Switches>) {
                return new SwitchesPanel(model, panel, kind.labels, parent);
            } else {
                return new ColorsPanel(model, panel, kind.palette, parent);
            }
        },
        panel.kind);
}

}  // namespace tallowmere
