#pragma once
// The 1500 Hz oscillator's phase, held as a float in radians.
namespace vireon {

// Advances the oscillator phase by one sample: the sum in double stored as float, and at most
// one subtraction of a full turn.
inline void StepOscillator(float& phase) {
    constexpr double OscillatorStep = 1.1780972450961724;  // 2 pi * 1500 / 8000
    constexpr double FullTurn = 6.283185307179586;
    phase = static_cast<float>(double(phase) + OscillatorStep);
    if (double(phase) > FullTurn) phase = static_cast<float>(double(phase) - FullTurn);
}

}  // namespace vireon
