#pragma once
// Linear-phase windowed-sinc low-pass design (Kaiser window) and its frequency response.
#include <vector>

namespace vireon::firdesign {

struct LowPassTargets {
    int taps = 127;
    double sampleRate = 8000.0;
    double passEdge = 1100.0;  // Hz: the response stays within maxPassDeviationDb up to here
    double stopEdge = 1333.0;  // Hz: from here on at least minStopAttenuationDb down
    double maxPassDeviationDb = 0.1;
    double minStopAttenuationDb = 60.0;
};

struct Design {
    double cutoff = 0.0;               // Hz, of the ideal sinc
    double beta = 0.0;                 // Kaiser window shape
    std::vector<double> coefficients;  // rounded to single precision, as the file will hold them
};

struct Measured {
    double passDeviationDb = 0.0;    // largest |gain in dB| from 0 Hz to the pass edge
    double stopAttenuationDb = 0.0;  // smallest attenuation from the stop edge to half the rate
};

// Sinc of the given cutoff under a Kaiser window, scaled to unity gain at 0 Hz, each coefficient
// rounded to single precision.
std::vector<double> KaiserLowPass(int taps, double sampleRate, double cutoff, double beta);

// |H(f)| of the coefficients at the given frequency.
double Gain(const std::vector<double>& coefficients, double frequency, double sampleRate);

// Pass-band deviation and stop-band attenuation, sampled every `step` Hz plus both edges.
Measured Measure(const std::vector<double>& coefficients, const LowPassTargets& targets,
                 double step);

// Searches cutoff and beta for the deepest stop band whose pass band stays within the
// allowed deviation.
Design DesignLowPass(const LowPassTargets& targets);

}  // namespace vireon::firdesign
