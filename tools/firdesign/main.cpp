// vireon-firdesign [output]: designs the low-pass of the down-converter and writes it in the
// coefficient file format ("NTaps=n", then one coefficient per line). Without an output path the
// file goes to standard output. The measured response goes to standard error; the exit status is
// 1 when the design misses its targets.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/firdesign/LowPassDesign.h"

using namespace vireon::firdesign;

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: vireon-firdesign [output-file]\n";
        return 2;
    }
    const LowPassTargets targets;
    const Design design = DesignLowPass(targets);
    if (design.coefficients.empty()) {
        std::cerr << "vireon-firdesign: no design keeps the pass band within "
                  << targets.maxPassDeviationDb << " dB\n";
        return 1;
    }

    std::ostringstream text;
    text << "NTaps=" << design.coefficients.size() << "\n";
    for (double c : design.coefficients) {
        char line[40];
        std::snprintf(line, sizeof line, "%.9g\n", c);  // 9 digits bring every float back exactly
        text << line;
    }

    // Checked finely, with the coefficients exactly as written.
    const Measured m = Measure(design.coefficients, targets, 0.25);
    std::fprintf(stderr,
                 "%d taps, Kaiser beta %.3f, cutoff %.1f Hz: pass band 0..%.0f Hz within %.4f dB, "
                 "stop band from %.0f Hz at least %.2f dB down\n",
                 targets.taps, design.beta, design.cutoff, targets.passEdge, m.passDeviationDb,
                 targets.stopEdge, m.stopAttenuationDb);
    const bool ok = m.passDeviationDb <= targets.maxPassDeviationDb &&
                    m.stopAttenuationDb >= targets.minStopAttenuationDb;

    if (argc == 2) {
        std::ofstream out(argv[1], std::ios::binary);
        out << text.str();
        if (!out.flush()) {
            std::cerr << "vireon-firdesign: cannot write " << argv[1] << "\n";
            return 1;
        }
    } else {
        std::cout << text.str();
    }
    if (!ok) std::cerr << "vireon-firdesign: the design misses its targets\n";
    return ok ? 0 : 1;
}
