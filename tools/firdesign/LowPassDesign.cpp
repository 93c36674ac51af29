#include "tools/firdesign/LowPassDesign.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vireon::firdesign {

namespace {

// Modified Bessel function of the first kind, order 0, by its power series.
double BesselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k < 100; ++k) {
        const double f = x / (2.0 * k);
        term *= f * f;
        sum += term;
        if (term < sum * 1e-17) break;
    }
    return sum;
}

double ToDb(double gain) {
    return 20.0 * std::log10(std::max(gain, 1e-300));
}

}  // namespace

std::vector<double> KaiserLowPass(int taps, double sampleRate, double cutoff, double beta) {
    std::vector<double> h(static_cast<std::size_t>(taps));
    const double middle = (taps - 1) / 2.0;
    const double fraction = 2.0 * cutoff / sampleRate;  // cutoff relative to half the rate
    const double norm = BesselI0(beta);
    double sum = 0.0;
    for (int i = 0; i < taps; ++i) {
        const double t = i - middle;
        const double sinc =
            t == 0.0 ? fraction
                     : std::sin(std::numbers::pi * fraction * t) / (std::numbers::pi * t);
        const double r = middle > 0.0 ? t / middle : 0.0;
        const double window = BesselI0(beta * std::sqrt(std::max(0.0, 1.0 - r * r))) / norm;
        h[static_cast<std::size_t>(i)] = sinc * window;
        sum += sinc * window;
    }
    for (double& c : h) c = static_cast<float>(c / sum);
    return h;
}

double Gain(const std::vector<double>& coefficients, double frequency, double sampleRate) {
    const double w = 2.0 * std::numbers::pi * frequency / sampleRate;
    double re = 0.0;
    double im = 0.0;
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        re += coefficients[i] * std::cos(w * double(i));
        im -= coefficients[i] * std::sin(w * double(i));
    }
    return std::hypot(re, im);
}

Measured Measure(const std::vector<double>& coefficients, const LowPassTargets& targets,
                 double step) {
    Measured m;
    auto pass = [&](double f) {
        m.passDeviationDb =
            std::max(m.passDeviationDb, std::fabs(ToDb(Gain(coefficients, f, targets.sampleRate))));
    };
    for (double f = 0.0; f < targets.passEdge; f += step) pass(f);
    pass(targets.passEdge);

    m.stopAttenuationDb = 1e300;
    auto stop = [&](double f) {
        m.stopAttenuationDb =
            std::min(m.stopAttenuationDb, -ToDb(Gain(coefficients, f, targets.sampleRate)));
    };
    const double nyquist = targets.sampleRate / 2.0;
    for (double f = targets.stopEdge; f < nyquist; f += step) stop(f);
    stop(nyquist);
    return m;
}

Design DesignLowPass(const LowPassTargets& targets) {
    Design best;
    double bestStop = -1e300;
    auto consider = [&](double cutoff, double beta, double step) {
        auto h = KaiserLowPass(targets.taps, targets.sampleRate, cutoff, beta);
        Measured m = Measure(h, targets, step);
        if (m.passDeviationDb > targets.maxPassDeviationDb || m.stopAttenuationDb <= bestStop)
            return;
        bestStop = m.stopAttenuationDb;
        best = {cutoff, beta, std::move(h)};
    };
    // Coarse grid over the transition band, then a finer one around the best point.
    for (double cutoff = targets.passEdge; cutoff <= targets.stopEdge; cutoff += 10.0)
        for (double beta = 3.0; beta <= 10.0; beta += 0.25) consider(cutoff, beta, 8.0);
    const double c0 = best.cutoff;
    const double b0 = best.beta;
    bestStop = -1e300;
    for (double cutoff = c0 - 10.0; cutoff <= c0 + 10.0; cutoff += 1.0)
        for (double beta = b0 - 0.25; beta <= b0 + 0.25; beta += 0.025) consider(cutoff, beta, 2.0);
    return best;
}

}  // namespace vireon::firdesign
