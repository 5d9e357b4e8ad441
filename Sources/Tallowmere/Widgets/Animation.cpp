#include <Tallowmere/Widgets/Animation.hpp>

#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace easing {

namespace {

// y of the cubic Bezier from (0, 0) to (1, 1) with control points (x1, y1), (x2, y2) at x = p.
double cubicBezier(double p, double x1, double y1, double x2, double y2) {
    if (!(p > 0)) return 0;
    if (p >= 1) return 1;
    auto coordinate = [](double t, double a, double b) {
        const double u = 1 - t;
        return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
    };
    // x(t) is monotonic for control x in [0, 1]: bisection is exact enough and cannot diverge.
    double lo = 0;
    double hi = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        if (coordinate(mid, x1, x2) < p) lo = mid; else hi = mid;
    }
    return coordinate((lo + hi) / 2, y1, y2);
}

}  // namespace

double easeOut(double p) { return cubicBezier(p, 0, 0, 0.58, 1); }
double easeIn(double p) { return cubicBezier(p, 0.42, 0, 1, 1); }
double easeInOut(double p) { return cubicBezier(p, 0.42, 0, 0.58, 1); }

double spring(double seconds, double response, double damping) {
    if (!(seconds > 0)) return 0;
    if (!(response > 0)) return 1;
    const double omega = 2 * M_PI / response;
    const double zeta = std::max(damping, 0.0);
    if (zeta >= 1) return 1 - std::exp(-omega * seconds) * (1 + omega * seconds);
    const double decay = zeta * omega;
    const double omegaD = omega * std::sqrt(1 - zeta * zeta);
    return 1 - std::exp(-decay * seconds) * (std::cos(omegaD * seconds) + decay / omegaD * std::sin(omegaD * seconds));
}

double springSettleSeconds(double response, double damping) {
    if (!(response > 0)) return 0;
    const double omega = 2 * M_PI / response;
    // An undamped spring never settles; a floor on the damping keeps the animation finite.
    const double decay = std::clamp(damping, 0.05, 1.0) * omega;
    return std::log(1000.0) / decay * (damping >= 1 ? 1.5 : 1.0);
}

}  // namespace easing

Motion Motion::of(const Transition& transition) {
    switch (transition.curve) {
        case Transition::Curve::none: return instant();
        case Transition::Curve::spring: return spring(transition.seconds, transition.damping);
        case Transition::Curve::easeIn: return easeIn(transition.seconds);
        case Transition::Curve::easeOut: return easeOut(transition.seconds);
    }
    return instant();
}

double Motion::duration() const {
    if (curve == Curve::none) return 0;
    if (curve == Curve::spring) return easing::springSettleSeconds(seconds, damping);
    return std::max(seconds, 0.0);
}

double Motion::progress(double elapsed) const {
    const double total = duration();
    if (!(total > 0) || elapsed >= total) return 1;
    switch (curve) {
        case Curve::none: return 1;
        case Curve::spring: return easing::spring(elapsed, seconds, damping);
        case Curve::easeIn: return easing::easeIn(elapsed / total);
        case Curve::easeOut: return easing::easeOut(elapsed / total);
        case Curve::easeInOut: return easing::easeInOut(elapsed / total);
    }
    return 1;
}

AnimatedValue::AnimatedValue(double initial, QObject* parent)
    : QObject(parent), m_value(initial), m_from(initial), m_target(initial) {}

AnimatedValue::~AnimatedValue() = default;

void AnimatedValue::setValue(double value) {
    if (m_animation) m_animation->stop();
    m_from = m_target = value;
    if (m_value == value) return;
    m_value = value;
    emit valueChanged(m_value);
}

bool AnimatedValue::isRunning() const {
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

void AnimatedValue::animateTo(double target, const Motion& motion) {
    const double seconds = motion.duration();
    if (!(seconds > 0)) {
        setValue(target);
        return;
    }
    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        m_animation->setStartValue(0.0);
        m_animation->setEndValue(1.0);
        connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            step(v.toDouble() * double(m_animation->duration()) / 1000.0);
        });
    }
    m_animation->stop();
    m_from = m_value;
    m_target = target;
    m_motion = motion;
    m_animation->setDuration(std::max(1, int(std::lround(seconds * 1000))));
    m_animation->start();
}

void AnimatedValue::step(double elapsedSeconds) {
    const double value = m_from + (m_target - m_from) * m_motion.progress(elapsedSeconds);
    if (value == m_value) return;
    m_value = value;
    emit valueChanged(m_value);
}

}  // namespace tallowmere
