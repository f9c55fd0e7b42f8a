#pragma once
// Butterworth band-pass filters of fourth order on each side, as cascades of second-order
// sections, for the aEEG band (2-15 Hz) and the suppression band (0.5-30 Hz).

#include <array>
#include <span>

namespace viewer::trends {

class BandFilter {
public:
    // A band-pass from `lowHz` to `highHz` for samples at `rateHz`: two high-pass and two
    // low-pass sections (-24 dB per octave beyond each edge). A high edge at or above half
    // the rate leaves out the low-pass sections.
    BandFilter(double lowHz, double highHz, double rateHz);

    // Filters `values` in place, carrying the state on from the last call.
    void run(std::span<float> values);
    // Forgets the state (the next sample starts from rest).
    void reset();

private:
    struct Section {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
        double z1 = 0, z2 = 0;
    };
    std::array<Section, 4> sections_{};
    int count_ = 0;
};

} // namespace viewer::trends
