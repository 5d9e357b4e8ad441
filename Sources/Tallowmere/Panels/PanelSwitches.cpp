// The switches panel: a row of lamps, toggle switches and labels, and its "Try it" button.
#include <Tallowmere/Panels/Panels.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/Animation.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr double kColumnGap = 14;
constexpr double kColumnSpacing = 8;  // lamp, switch and label

constexpr double kLampSide = 16;
constexpr double kLampGlowBlur = 8;
constexpr double kLampGlowOpacity = 0.8;
constexpr double kGlowRoom = 16;  // the row widget's margin, so the lamps' glow is not cut off
constexpr std::uint32_t kLampOn = 0xFFC845;
constexpr std::uint32_t kLampOff = 0x3A3226;

constexpr double kTrackW = 46;
constexpr double kTrackH = 96;
constexpr double kTrackRadius = 10;
constexpr std::uint32_t kTrackFill = 0x0B0C0E;
constexpr double kKnobW = 38;
constexpr double kKnobH = 42;
constexpr double kKnobRadius = 7;
constexpr double kKnobTravel = 22;  // from the track's middle, up while on, down while off
constexpr std::uint32_t kKnobTop = 0xE8ECF2;
constexpr std::uint32_t kKnobBottom = 0x8A909C;
constexpr double kFlipResponse = 0.22;
constexpr double kFlipDamping = 0.7;

const Font kLabelFont{13, FontWeight::bold, FontDesign::rounded};

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// ToggleSwitch

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent), m_progress(new AnimatedValue(0, this)) {
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
    connect(m_progress, &AnimatedValue::valueChanged, this, [this] {
        update();
        emit progressChanged();
    });
}

ToggleSwitch::~ToggleSwitch() = default;

void ToggleSwitch::setOn(bool on) {
    if (m_on == on) return;
    m_on = on;
    m_progress->animateTo(on ? 1 : 0, Motion::spring(kFlipResponse, kFlipDamping));
}

double ToggleSwitch::progress() const {
    return m_progress->value();
}

QSize ToggleSwitch::sizeHint() const {
    return QSize(int(kTrackW), int(kTrackH));
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas canvas(painter);
    const Rect track{0, 0, kTrackW, kTrackH};
    canvas.fill(shape::roundedRect(track, kTrackRadius), H(kTrackFill));
    const double offset = kKnobTravel - 2 * kKnobTravel * progress();
    const Rect knob{(kTrackW - kKnobW) / 2, (kTrackH - kKnobH) / 2 + offset, kKnobW, kKnobH};
    canvas.fill(shape::roundedRect(knob, kKnobRadius), vertical(knob, {H(kKnobTop), H(kKnobBottom)}));
}

// ---------------------------------------------------------------------------------------------
// SwitchesPanel

SwitchesPanel::SwitchesPanel(GameModel& model, ostrevan::Panel panel, std::vector<std::string> labels,
                             QWidget* parent)
    : PanelView(model, std::move(panel), parent), m_labels(std::move(labels)), m_on(m_labels.size(), false) {
    const double labelH = lineHeight(kLabelFont);
    const double rowH = kLampSide + kColumnSpacing + kTrackH + kColumnSpacing + labelH;

    m_row = new PanelCanvas(
        [this](Canvas canvas) {
            canvas.translate(kGlowRoom, kGlowRoom);
            paintRow(canvas);
        },
        this);
    double x = 0;
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        const double labelW = textWidth(QString::fromStdString(m_labels[i]), kLabelFont);
        const double columnW = std::max({kTrackW, kLampSide, labelW});
        if (i > 0) x += kColumnGap;
        const double centerX = x + columnW / 2;
        m_columnX.push_back(centerX);
        x += columnW;

        auto* toggle = new ToggleSwitch(m_row);
        toggle->move(int(std::lround(kGlowRoom + centerX - kTrackW / 2)), int(kGlowRoom + kLampSide + kColumnSpacing));
        connect(toggle, &QAbstractButton::clicked, this, [this, i] { flip(i); });
        connect(toggle, &ToggleSwitch::progressChanged, m_row, qOverload<>(&QWidget::update));
        m_switches.push_back(toggle);
    }
    const double rowW = x;
    m_row->resize(int(std::ceil(rowW + 2 * kGlowRoom)), int(std::ceil(rowH + 2 * kGlowRoom)));

    m_try = new GlassButton(QStringLiteral("Try it"), true, false, this);
    m_try->resize(m_try->sizeHint());
    connect(m_try, &QAbstractButton::clicked, this, [this] { tryIt(); });

    const double contentW = std::max(rowW, double(m_try->width()));
    setEntryRow(m_row, QPoint(int(std::lround(kBleed - kGlowRoom + (contentW - rowW) / 2)), int(kBleed - kGlowRoom)));
    m_try->move(int(std::lround(kBleed + (contentW - m_try->width()) / 2)), int(std::lround(kBleed + rowH + kPanelRowGap)));
    setContentSize({contentW, rowH + kPanelRowGap + m_try->height()});
}

void SwitchesPanel::flip(std::size_t index) {
    if (isSolved() || index >= m_on.size()) return;
    playTap();
    m_on[index] = !m_on[index];
    m_switches[index]->setOn(m_on[index]);
}

void SwitchesPanel::tryIt() {
    if (isSolved()) return;
    std::vector<int> attempt;
    attempt.reserve(m_on.size());
    for (const bool on : m_on) attempt.push_back(on ? 1 : 0);
    submit(attempt, {});  // the switches stay where they are
}

void SwitchesPanel::paintRow(Canvas canvas) const {
    const double labelY = kLampSide + kColumnSpacing + kTrackH + kColumnSpacing + lineHeight(kLabelFont) / 2;
    for (std::size_t i = 0; i < m_switches.size(); ++i) {
        const double glow = std::clamp(m_switches[i]->progress(), 0.0, 1.0);
        const Rect lamp{m_columnX[i] - kLampSide / 2, 0, kLampSide, kLampSide};
        if (glow > 0) {
            Canvas halo = canvas;
            halo.addBlur(kLampGlowBlur);
            halo.fill(shape::ellipse(lamp), H(kLampOn, 0, kLampGlowOpacity * glow));
        }
        canvas.fill(shape::ellipse(lamp), mix(H(kLampOff), H(kLampOn), glow));
        canvas.drawText(QString::fromStdString(m_labels[i]), QPointF(m_columnX[i], labelY), kLabelFont, UI::dim());
    }
}

}  // namespace tallowmere
