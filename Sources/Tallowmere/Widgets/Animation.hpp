// The curves of the screens' fades and springs, and AnimatedValue that runs a number along
// them.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>

#include <QObject>

class QVariantAnimation;

namespace tallowmere {

namespace easing {
// The platform's standard cubic curves, p in [0, 1].
double easeOut(double p);
double easeIn(double p);
double easeInOut(double p);
// A spring released from 0 towards 1 at `seconds` after the start; `response` is the period of
// the undamped spring and `damping` its damping fraction (below 1 overshoots).
double spring(double seconds, double response, double damping);
// How long a spring takes to settle within a thousandth of its target.
double springSettleSeconds(double response, double damping);
}  // namespace easing

// How a value moves to a new target: a curve and its duration (for a spring, its response).
struct Motion {
    enum class Curve { none, easeIn, easeOut, easeInOut, spring };

    Curve curve = Curve::none;
    double seconds = 0;
    double damping = 1;  // spring damping fraction

    static Motion instant() { return {}; }
    static Motion easeIn(double seconds) { return {Curve::easeIn, seconds, 1}; }
    static Motion easeOut(double seconds) { return {Curve::easeOut, seconds, 1}; }
    static Motion easeInOut(double seconds) { return {Curve::easeInOut, seconds, 1}; }
    static Motion spring(double response, double damping) { return {Curve::spring, response, damping}; }
    // The motion the model asks for with a change.
    static Motion of(const Transition& transition);

    // How long the motion runs.
    double duration() const;
    // Progress 0 ... 1 (a spring may overshoot) `elapsed` seconds after the start.
    double progress(double elapsed) const;
};

// A number that moves to each new target along a Motion (Curve::none jumps). The current value
// is what a widget paints; target() is where it is heading.
class AnimatedValue final : public QObject {
    Q_OBJECT
public:
    explicit AnimatedValue(double initial, QObject* parent = nullptr);
    ~AnimatedValue() override;

    void animateTo(double target, const Motion& motion);
    // Stops any motion and stands at `value`.
    void setValue(double value);

    double value() const { return m_value; }
    double target() const { return m_target; }
    bool isRunning() const;

signals:
    void valueChanged(double value);

private:
    void step(double elapsedSeconds);

    double m_value = 0;
    double m_from = 0;
    double m_target = 0;
    Motion m_motion;
    QVariantAnimation* m_animation = nullptr;
};

}  // namespace tallowmere
