#pragma once
// Small recordings shared by the recording tests.

#include "recording.h"
#include "recording_writer.h"
#include "temp_dir.h"

namespace viewer::testing {

// Four EEG channels (Fp1, Fp2, O1, O2 as codes 1, 2, 14, 15) at 256 frames per second,
// 2-byte samples, ten seconds of data.
inline RecordingDescription fourChannels() {
    RecordingDescription d;
    const char* labels[] = {"Fp1", "Fp2", "O1", "O2"};
    const uint16_t codes[] = {1, 2, 14, 15};
    for (int i = 0; i < 4; ++i) {
        d.order.push_back(codes[i]);
        d.electrodes[codes[i]] = eegElectrode(labels[i]);
    }
    d.frames = 2560;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + frame % 100 + 1000 * channel);
    };
    return d;
}

// Writes `d` into `dir` and opens it into a fresh recording.
struct OpenedRecording {
    Recording rec;
    bool opened = false;
    OpenedRecording(const TempDir& dir, const RecordingDescription& d,
                    const std::string& name = "rec.vwr") {
        writeRecording(dir.file(name), d);
        opened = openRecording(rec, dir.file(name));
    }
};

} // namespace viewer::testing
