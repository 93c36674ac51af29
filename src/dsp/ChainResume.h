#pragma once
// Running one chain on pieces of a stream at once. A piece's chain is brought to exactly the
// state the whole stream would leave at the piece's first sample: what follows from the sample
// count alone (oscillator, decimation and frame counters, ring position) is counted, and the
// rest (delay lines, ring contents) comes from running the samples just before the piece.
#include <cstdint>

#include "dsp/SignalChain.h"

namespace vireon {

// The part of a chain's state that depends only on how many samples it has taken.
struct ChainCounters {
    float OscillatorPhase = 0.0f;
    int32_t FrameCounter = 0;
    DecimationCounter Decimator;
    int32_t WriteIndex = 0;
};

ChainCounters CountersOf(const SignalChain& chain);

// Moves the counters on as count samples through ProcessSamples would, for a ring of ringSize;
// returns how many frames those samples complete.
int64_t AdvanceCounters(ChainCounters& counters, int32_t ringSize, int64_t count);

// How many samples before a piece fill the filters' delay lines and then the whole ring.
int32_t LeadSamples(const SignalChain& chain);

// chain: set up as at the stream's first sample (filters loaded, nothing run). counters: those
// of the stream leadCount samples before the piece; lead: those samples, leadCount either
// LeadSamples(chain) or, near the start, every sample before the piece (counters then the
// initial ones). Afterwards the chain is in the whole stream's state at the piece; the frames
// the lead completes are computed but handed to no one.
void ResumeChain(SignalChain& chain, const ChainCounters& counters, const uint8_t* lead,
                 int32_t leadCount);

}  // namespace vireon
