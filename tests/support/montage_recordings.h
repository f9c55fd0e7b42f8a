#pragma once
// Recordings with archived montages and a montage history, shared by the montage, page and
// control tests.

#include "recording_writer.h"

#include <algorithm>
#include <cstring>

namespace viewer::testing {

inline MontageRecord named(MontageRecord m, const std::string& name) {
    m.description.fill('\0');
    std::memcpy(m.description.data(), name.data(), std::min(name.size(), m.description.size()));
    return m;
}

// EEG channels 1, 2, 3 and polygraphic 167 at `rate` frames per second, 2-byte samples,
// `seconds` seconds; channel c of frame f holds 1000 x (c + 1) + f % 500. Archived montages:
// "Bipolar" (1-2, 2-3, notch on, average reference), "Referential" (1, 2, 3, 167 against no
// input, ear reference), "Mixed" (a line of each kind, one on an electrode not acquired).
inline RecordingDescription montageRecording(uint16_t rate = 256, int seconds = 30) {
    RecordingDescription d;
    d.rate = rate;
    d.order = {1, 2, 3, 167};
    d.electrodes = {{1, eegElectrode("Fp1")},
                    {2, eegElectrode("Fp2")},
                    {3, eegElectrode("F3")},
                    {167, polygraphicElectrode("ECG", "ECG-", 3200)},
                    {9, eegElectrode("C4")}};
    d.electrodes[9].status = 0; // described but not acquired
    d.frames = static_cast<int64_t>(rate) * seconds;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(1000 * (channel + 1) + frame % 500);
    };
    MontageRecord bipolar = montage("Bipolar", {{1, 2}, {2, 3}});
    bipolar.notch = bipolar.refMode = 1;
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
        d.historyMontages.push_back(
            montage("History " + std::to_string(k), {lines.begin(), lines.begin() + (k % 4) + 1}));
    }
    return d;
}

} // namespace viewer::testing
