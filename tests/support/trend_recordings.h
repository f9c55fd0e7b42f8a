#pragma once
// Recordings of the 19 electrodes of the 10-20 system whose signals a function gives in
// microvolts, for the trend tests and benchmarks.

#include "recording_writer.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace viewer::testing {

// The 10-20 electrodes, in the order their channels are written (codes 1 to 19).
inline const std::vector<std::string>& tenTwenty() {
    static const std::vector<std::string> names = {"Fp1", "Fp2", "F7", "F3", "Fz", "F4", "F8",
                                                   "T7",  "C3",  "Cz", "C4", "T8", "P7", "P3",
                                                   "Pz",  "P4",  "P8", "O1", "O2"};
    return names;
}

// Microvolts of one digital step of eegElectrode's calibration (6400 µV over 16 bits).
constexpr double kMicrovoltsPerStep = 6400.0 / 65536.0;

// `seconds` seconds at `rate` of the 10-20 electrodes, electrode `e` (index into tenTwenty())
// holding microvolts(t, e) at t seconds, quantised to the calibration's steps.
inline RecordingDescription tenTwentyRecording(uint16_t rate, double seconds,
                                               std::function<double(double t, int e)> microvolts) {
    RecordingDescription d;
    d.rate = rate;
    for (size_t i = 0; i < tenTwenty().size(); ++i) {
        const auto code = static_cast<uint16_t>(i + 1);
        d.order.push_back(code);
        d.electrodes[code] = eegElectrode(tenTwenty()[i]);
    }
    d.frames = static_cast<int64_t>(std::llround(rate * seconds));
    d.sample = [rate, microvolts](int64_t frame, int channel) {
        const double v = microvolts(static_cast<double>(frame) / rate, channel);
        return static_cast<int32_t>(32768 + std::lround(v / kMicrovoltsPerStep));
    };
    return d;
}

} // namespace viewer::testing
