#pragma once
// Synthetic signals that read like a routine EEG: a posterior alpha rhythm that blocks when
// the eyes open, frontal beta, blinks, ECG, slowing under hyperventilation, photic driving,
// muscle bursts and a little mains hum. Deterministic: the same file every time.

#include <cstdint>
#include <random>
#include <vector>

namespace demo {

struct Stage {
    double startSec;
    bool eyesOpen;
    bool photic; // 10 Hz flash driving over the occipital leads
    bool hyperventilating;
};

class DemoSignals {
public:
    DemoSignals(std::vector<uint16_t> order, int rate, std::vector<Stage> stages);

    // Microvolts of channel `channel` at frame `frame`. Frames must be asked for in order.
    double microvolts(int64_t frame, int channel);

private:
    void advanceTo(int64_t frame);
    const Stage& stageAt(double t) const;
    double scalpSignal(uint16_t code, double t, const Stage& stage, double blink);

    std::vector<uint16_t> order_;
    int rate_;
    std::vector<Stage> stages_;
    std::mt19937 random_{20261106};
    std::normal_distribution<double> gauss_{0.0, 1.0};
    int64_t frame_ = -1;
    std::vector<double> noise_; // slow background noise per channel
    std::vector<double> values_;
    double nextBlink_ = 2.0;
    double blinkAt_ = -10.0;
    double muscleUntil_ = -1.0;
    double nextMuscle_ = 45.0;
};

} // namespace demo
