#include "demo_signals.h"

#include "demo_recording.h"

#include <cmath>
#include <numbers>

namespace demo {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

bool posterior(uint16_t c) {
    return c == O1 || c == O2 || c == P3 || c == P4 || c == Pz || c == T5 || c == T6;
}
bool frontal(uint16_t c) {
    return c == Fp1 || c == Fp2 || c == F3 || c == F4 || c == F7 || c == F8 || c == Fz;
}
bool temporal(uint16_t c) { return c == T3 || c == T4 || c == F7 || c == F8; }

// One heart beat of about 1 mV, QRS at phase 0.
double heartBeat(double phase) {
    auto bump = [](double x, double centre, double width, double height) {
        const double d = (x - centre) / width;
        return height * std::exp(-d * d);
    };
    return bump(phase, -0.2, 0.04, 120) + bump(phase, -0.02, 0.01, -150) +
           bump(phase, 0.0, 0.012, 1100) + bump(phase, 0.025, 0.012, -250) +
           bump(phase, 0.28, 0.06, 280);
}

} // namespace

DemoSignals::DemoSignals(std::vector<uint16_t> order, int rate, std::vector<Stage> stages)
    : order_(std::move(order)), rate_(rate), stages_(std::move(stages)), noise_(order_.size(), 0.0),
      values_(order_.size(), 0.0) {}

const Stage& DemoSignals::stageAt(double t) const {
    const Stage* current = &stages_.front();
    for (const Stage& s : stages_) {
        if (s.startSec <= t) {
            current = &s;
        }
    }
    return *current;
}

double DemoSignals::scalpSignal(uint16_t code, double t, const Stage& stage, double blink) {
    double v = 0;
    // Alpha near 10 Hz, drifting slowly in frequency and waxing and waning.
    const double alphaFreq = 9.8 + 0.3 * std::sin(kTwoPi * t / 37.0);
    const double spindle = 0.6 + 0.4 * std::sin(kTwoPi * t / 2.7);
    const double alphaSize = stage.eyesOpen ? 4.0 : 38.0;
    if (posterior(code)) {
        const double side = (code == O1 || code == P3 || code == T5) ? 0.0 : 0.4;
        v += alphaSize * spindle * std::sin(kTwoPi * alphaFreq * t + side);
    } else if (code == C3 || code == C4 || code == Cz) {
        v += 0.35 * alphaSize * spindle * std::sin(kTwoPi * alphaFreq * t + 0.2);
    }
    if (frontal(code)) {
        v += 5.0 * std::sin(kTwoPi * 19.0 * t + code) + 3.0 * std::sin(kTwoPi * 23.5 * t);
        const double closeness = (code == Fp1 || code == Fp2) ? 1.0 : 0.35;
        v += closeness * blink;
    }
    if (stage.photic && posterior(code)) {
        v += 18.0 * std::sin(kTwoPi * 10.0 * t);
    }
    if (stage.hyperventilating) {
        // Slowing that builds over the three minutes, frontally predominant.
        const double build = std::min(1.0, (t - stage.startSec) / 120.0);
        const double weight = frontal(code) ? 1.0 : 0.5;
        v += weight * build *
             (45.0 * std::sin(kTwoPi * 2.5 * t) + 20.0 * std::sin(kTwoPi * 5.0 * t));
    }
    if (t < muscleUntil_ && temporal(code)) {
        v += 25.0 * gauss_(random_);
    }
    return v;
}

void DemoSignals::advanceTo(int64_t frame) {
    frame_ = frame;
    const double t = static_cast<double>(frame) / rate_;
    const Stage& stage = stageAt(t);

    // Blinks every few seconds while the eyes are open, and one as they open.
    if (stage.eyesOpen && t >= nextBlink_) {
        blinkAt_ = t;
        nextBlink_ = t + 2.5 + 3.0 * std::abs(gauss_(random_));
    }
    const double sinceBlink = t - blinkAt_;
    const double blink =
        sinceBlink < 0.6 ? 180.0 * std::sin(std::numbers::pi * sinceBlink / 0.6) : 0.0;
    if (t >= nextMuscle_) {
        muscleUntil_ = t + 1.2;
        nextMuscle_ = t + 150.0;
    }
    const double beatPhase = std::fmod(t * 1.2, 1.0) - 0.3; // 72 beats per minute
    const double ecg = heartBeat(beatPhase);
    const double mains = std::sin(kTwoPi * 50.0 * t);

    for (size_t c = 0; c < order_.size(); ++c) {
        const uint16_t code = order_[c];
        // Background: slowly wandering noise with a faster part on top.
        noise_[c] = 0.985 * noise_[c] + 1.6 * gauss_(random_);
        double v = noise_[c] + 1.5 * gauss_(random_);
        if (code == ECG) {
            v = ecg + 0.2 * noise_[c];
        } else if (code == EOG) {
            v = 1.4 * blink + 3.0 * noise_[c];
        } else if (code == A1 || code == A2) {
            v += 0.012 * ecg; // a little heart beat reaches the ears
        } else {
            v += scalpSignal(code, t, stage, blink);
        }
        v += (code == T3 || code == T4 ? 9.0 : 3.0) * mains;
        values_[c] = v;
    }
}

double DemoSignals::microvolts(int64_t frame, int channel) {
    if (frame != frame_) {
        advanceTo(frame);
    }
    return values_[channel];
}

} // namespace demo
