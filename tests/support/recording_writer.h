#pragma once
// Writes trace files from a description in code, for tests, benchmarks and the demo.
// Every field of the header and every area can be set, including deliberately wrong ones.

#include "legacy_tables.h"
#include "records.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace viewer::testing {

struct RecordingDescription {
    uint8_t headerType = 4;
    std::string surname = "ROSSI", name = "MARIO";
    uint8_t birthDay = 15, birthMonth = 6, birthYear = 80; // years since 1900
    uint8_t recDay = 3, recMonth = 11, recYear = 126, recHour = 9, recMinute = 30, recSecond = 0;
    uint16_t fileType = 0, rate = 256, bytesPerSample = 2, videoDelay = 0;
    int32_t videoStart = -1;
    bool videoFlag = false;                    // bit 15 of checkWord
    std::vector<uint16_t> order;               // electrode code of each channel, in frame order
    std::map<int, ElectrodeRecord> electrodes; // by code; codes not given stay all zero
    std::vector<NoteRecord> notes;
    std::vector<SegmentRecord> segments;
    std::vector<MontageRecord> montages; // the archived montages
    bool history = false;                // names the history area "HISTORY "
    std::vector<int32_t> historySamples; // change points; the rest of the 128 are -1
    std::vector<MontageRecord> historyMontages;
    bool videoIndex = false; // names the video area "DVIDEO  "
    std::vector<VideoRecord> videos;
    // Sample frames: `frames` frames, channel c of frame f holding sample(f, c), cut to
    // bytesPerSample bytes. With no function every sample is 0.
    int64_t frames = 0;
    std::function<int32_t(int64_t frame, int channel)> sample;
    // Generations 0 and 1 only: the calibration divisor and the old channel codes (by
    // default the first old code that translates into each code of `order`).
    uint16_t calibrationDivisor = 400;
    std::vector<uint16_t> oldCodes;
    // Overrides for files that must be wrong or unusual.
    std::optional<uint16_t> checkWord;             // default: the right check sum (+ video flag)
    std::optional<uint16_t> numChannels;           // default: order.size()
    std::optional<uint16_t> multiplexer;           // default: numChannels x bytesPerSample
    std::optional<uint16_t> numMontages;           // default: montages.size()
    std::optional<uint32_t> dataStart;             // default: right after the areas
    std::map<Area, std::vector<uint8_t>> rawAreas; // area bytes written as given
    std::map<Area, std::array<char, 8>> areaNames; // descriptor names as given
    std::optional<size_t> truncateAt;              // cut the file to this many bytes
};

// An EEG electrode with the usual calibration: +-3200 uV over 16 bits around 32768; a
// polygraphic one (bit 0 of electrodeType set) with the given range in microvolts.
ElectrodeRecord eegElectrode(const std::string& label);
ElectrodeRecord polygraphicElectrode(const std::string& label, const std::string& negative,
                                     int32_t rangeMicrovolts);
// `prefix` followed by the decimal of `n`, as a label ("E12").
inline std::string numberedLabel(const char* prefix, int n) { return prefix + std::to_string(n); }
// A note at `sample` with `text`, all 40 characters of the field usable.
NoteRecord note(int32_t sample, const std::string& text);
// A montage of lines (inputA, inputB) with one gain and filter setting for every line.
MontageRecord montage(const std::string& description,
                      const std::vector<std::pair<uint16_t, uint16_t>>& lines);
// Writes the recording to `path` in the generation `headerType` names (0 to 4); throws
// std::runtime_error when the file cannot be written.
void writeRecording(const std::string& path, const RecordingDescription& d);

} // namespace viewer::testing
