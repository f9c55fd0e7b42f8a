#pragma once
// Recordings with archived montages and a montage history, shared by the montage, page and
// control tests.

#include "recording_writer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace viewer::testing {

// `m` with its description replaced by `name`.
inline MontageRecord named(MontageRecord m, const std::string& name) {
    m.description.fill('\0');
    std::memcpy(m.description.data(), name.data(), std::min(name.size(), m.description.size()));
    return m;
}

// Three EEG channels (codes 1, 2, 3) and one polygraphic channel (code 167) at `rate`
// frames per second, 2-byte samples, `seconds` seconds. Channel c of frame f holds
// 1000 x (c + 1) + f % 500. Archived montages: "Bipolar" (1-2, 2-3, notch on, average
// reference), "Referential" (1, 2, 3, 167 against no input, ear reference) and "Mixed"
// (one line of each kind, including an electrode that is not acquired).
inline RecordingDescription montageRecording(uint16_t rate = 256, int seconds = 30) {
    RecordingDescription d;
    d.rate = rate;
    const uint16_t codes[] = {1, 2, 3, 167};
    const char* labels[] = {"Fp1", "Fp2", "F3", "ECG"};
    for (int i = 0; i < 4; ++i) {
        d.order.push_back(codes[i]);
        d.electrodes[codes[i]] =
            i < 3 ? eegElectrode(labels[i]) : polygraphicElectrode(labels[i], "ECG-", 3200);
    }
    d.electrodes[9] = eegElectrode("C4");
    d.electrodes[9].status = 0; // described but not acquired
    d.frames = static_cast<int64_t>(rate) * seconds;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(1000 * (channel + 1) + frame % 500);
    };
    MontageRecord bipolar = montage("Bipolar", {{1, 2}, {2, 3}});
    bipolar.notch = 1;
    bipolar.refMode = 1;
    MontageRecord referential = montage("Referential", {{1, 0}, {2, 0}, {3, 0}, {167, 0}});
    referential.refMode = 2;
    MontageRecord mixed = montage("Mixed", {{0, 0}, {1, 0}, {0, 2}, {1, 3}, {1, 9}});
    d.montages = {bipolar, referential, mixed};
    return d;
}

// The same channels with a montage history: change points `points` (frames) and one
// history montage per point, montage k named "History k" with k + 1 lines.
inline RecordingDescription historyRecording(std::vector<int32_t> points, uint16_t rate = 500,
                                             int seconds = 30) {
    RecordingDescription d = montageRecording(rate, seconds);
    d.history = true;
    d.historySamples = points;
    const std::vector<std::pair<uint16_t, uint16_t>> lines = {{1, 2}, {2, 3}, {1, 3}, {3, 0}};
    for (size_t k = 0; k < points.size() && points[k] != -1; ++k) {
        const std::vector<std::pair<uint16_t, uint16_t>> first(lines.begin(),
                                                               lines.begin() + (k % 4) + 1);
        d.historyMontages.push_back(named(montage("", first), "History " + std::to_string(k)));
    }
    return d;
}

} // namespace viewer::testing
