#pragma once
// Small recordings shared by the recording tests.

#include "page_length.h"
#include "recording.h"
#include "recording_writer.h"
#include "temp_dir.h"
#include "text.h"

#include <array>
#include <string>
#include <vector>

namespace viewer::testing {

// Four EEG channels (Fp1, Fp2, O1, O2 as codes 1, 2, 14, 15) at 256 frames per second,
// 2-byte samples, ten seconds of data.
inline RecordingDescription fourChannels() {
    RecordingDescription d;
    d.order = {1, 2, 14, 15};
    d.electrodes = {{1, eegElectrode("Fp1")},
                    {2, eegElectrode("Fp2")},
                    {14, eegElectrode("O1")},
                    {15, eegElectrode("O2")}};
    d.frames = 2560;
    d.sample = [](int64_t frame, int channel) {
        return int32_t(32768 + frame % 100 + 1000 * channel);
    };
    return d;
}

// Writes `d` into `dir` and opens it into a fresh recording, with the longest page and the
// page buffer as the control sets them.
struct OpenedRecording {
    Recording rec;
    bool opened = false;
    OpenedRecording(const TempDir& dir, const RecordingDescription& d,
                    const std::string& name = "rec.vwr") {
        writeRecording(dir.file(name), d);
        opened = openRecording(rec, dir.file(name));
        if (opened) {
            rec.maxPageMs = maxPageMsFor(rec.header.numChannels, rec.header.rate);
        }
        rec.pageBuffer.assign(kPageBufferValues, 0);
    }
    // Sample of `channel` in frame `frame` of the page buffer.
    int32_t at(uint32_t frame, int channel) const {
        return rec.pageBuffer[frame * rec.header.numChannels + channel];
    }
};

// Several values compared at once: EXPECT_EQ((Values{a, b}), (Values{1, 2})).
using Values = std::vector<int64_t>;

// A fixed-width text field (label, description) up to its NUL.
template <size_t N> std::string text(const std::array<char, N>& field) {
    return std::string(fieldText(field.data(), N));
}

} // namespace viewer::testing
