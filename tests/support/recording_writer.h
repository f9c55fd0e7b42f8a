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

    std::string surname = "ROSSI";
    std::string name = "MARIO";
    uint8_t birthDay = 15;
    uint8_t birthMonth = 6;
    uint8_t birthYear = 80; // years since 1900
    uint8_t recDay = 3;
    uint8_t recMonth = 11;
    uint8_t recYear = 126;
    uint8_t recHour = 9;
    uint8_t recMinute = 30;
    uint8_t recSecond = 0;
    uint16_t fileType = 0;
    uint16_t rate = 256;
    uint16_t bytesPerSample = 2;
    int32_t videoStart = -1;
    uint16_t videoDelay = 0;
    bool videoFlag = false; // bit 15 of checkWord

    // Electrode code of each channel, in frame order.
    std::vector<uint16_t> order;
    // Electrode records by code; codes not given stay all zero.
    std::map<int, ElectrodeRecord> electrodes;
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

    // Generations 0 and 1 only: the calibration divisor, the old channel codes (by default
    // the first old code that translates into each code of `order`) and, for type 1, the
    // stored label table (by default the built-in one, then "L64" ... "L125").
    uint16_t calibrationDivisor = 400;
    std::vector<uint16_t> oldCodes;
    std::vector<legacy::LabelEntry> labelTable;

    // Overrides for files that must be wrong or unusual.
    std::optional<uint16_t> checkWord;             // default: the right check sum (+ video flag)
    std::optional<uint16_t> numChannels;           // default: order.size()
    std::optional<uint16_t> multiplexer;           // default: numChannels x bytesPerSample
    std::optional<uint16_t> numMontages;           // default: montages.size()
    std::optional<uint32_t> dataStart;             // default: right after the areas
    std::map<Area, std::vector<uint8_t>> rawAreas; // area bytes written as given
    std::map<Area, std::array<char, 8>> areaNames; // descriptor names as given
    std::optional<size_t> truncateAt;              // cut the file to this many bytes

    // The sum the header must hold in checkWord bits 0..14.
    uint16_t patientSum() const;
};

// Encodes one record in the newest generation's layout.
std::vector<uint8_t> encodeElectrode(const ElectrodeRecord& e);
std::vector<uint8_t> encodeMontage(const MontageRecord& m);
// Encodes a montage as the 3072-byte record of generation 3 (page length in seconds).
std::vector<uint8_t> encodeType3Montage(const MontageRecord& m);

// An EEG electrode with the usual calibration: +-3200 uV over 16 bits around 32768.
ElectrodeRecord eegElectrode(const std::string& label);
// A polygraphic electrode (bit 0 of electrodeType set) with the given range in microvolts.
ElectrodeRecord polygraphicElectrode(const std::string& label, const std::string& negative,
                                     int32_t rangeMicrovolts);

// `prefix` followed by the decimal of `n`, as a label ("E12").
std::string numberedLabel(const char* prefix, int n);

// A note at `sample` with `text`, all 40 characters of the field usable.
NoteRecord note(int32_t sample, const std::string& text);

// A montage of lines (inputA, inputB) with one gain and filter setting for every line.
MontageRecord montage(const std::string& description,
                      const std::vector<std::pair<uint16_t, uint16_t>>& lines);

// Writes the recording to `path` in the generation `headerType` names (0 to 4); throws
// std::runtime_error when the file cannot be written.
void writeRecording(const std::string& path, const RecordingDescription& d);

} // namespace viewer::testing
