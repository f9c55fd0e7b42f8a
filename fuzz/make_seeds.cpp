// make-fuzz-seeds OUTPUT: writes the seed corpora of the fuzz targets into OUTPUT/trace,
// OUTPUT/edf, OUTPUT/calls and OUTPUT/video: the demo recording of every header generation cut
// to six seconds, recordings in shapes the demo lacks, small EDF, EDF+C, EDF+D and BDF+ files,
// and a few scripted calls and video file heads.

#include "demo_recording.h"
#include "edf_writer.h"
#include "recording_writer.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using viewer::testing::RecordingDescription;
namespace fs = std::filesystem;

// Cz and both ears with samples of `bytes` bytes; 4-byte samples are signed around 0.
// Archived and history montages on the ear and the average reference, a montage change
// after one second, two cut-out stretches.
RecordingDescription earsAndCz(uint8_t generation, uint16_t bytes) {
    RecordingDescription d;
    d.headerType = generation;
    d.rate = 128;
    d.bytesPerSample = bytes;
    d.order = {10, 22, 23};
    for (const int code : {0, 10, 22, 23}) {
        viewer::ElectrodeRecord e = viewer::testing::eegElectrode(code == 0 ? "G2" : "E");
        if (bytes == 4) {
            // Cz's narrow range makes the average reference clamp it on both sides.
            e.logicMin = code == 10 ? -500 : -(1 << 30);
            e.logicMax = code == 10 ? 500 : 1 << 30;
            e.logicGround = 0;
        }
        d.electrodes[code] = e;
    }
    viewer::MontageRecord ears = viewer::testing::montage("Ears", {{10, 0}, {22, 23}, {0, 23}});
    ears.refMode = 2;
    viewer::MontageRecord average = ears;
    average.refMode = 1;
    average.notch = 1;
    d.montages = {ears, average};
    d.history = true;
    d.historySamples = {0, 128};
    d.historyMontages = {average, ears};
    d.notes = {viewer::testing::note(-5, "before"), viewer::testing::note(200, "late")};
    d.segments = {{1000, 64}, {5000, 256}};
    d.frames = 3 * d.rate;
    const int32_t zero = bytes == 4 ? 0 : 1 << (8 * bytes - 1);
    d.sample = [zero](int64_t f, int c) {
        return zero +
               static_cast<int32_t>(1000.0 * (c + 1) * std::sin(0.1 * static_cast<double>(f)));
    };
    return d;
}

// Three seconds of Fp1, Cz, an ECG at twice their rate and a 1 Hz SaO2, with notes; the
// discontinuous one with a gap of two seconds, the BDF one at both ends of its range.
viewer::testing::EdfDescription edfSeed(bool bdf, const std::string& reserved) {
    namespace vt = viewer::testing;
    vt::EdfDescription d;
    d.bdf = bdf, d.reserved = reserved, d.records = 3;
    d.channels = {{"EEG Fp1-REF"}, {"EEG Cz-REF"}, {"ECG", "mV"}, {"SaO2", "%"}};
    for (int s = 0; s < 4; ++s) {
        d.channels[static_cast<size_t>(s)].samplesPerRecord = std::array{16, 16, 32, 1}[s];
    }
    if (bdf) {
        d.channels[0].digitalMin = -8388608, d.channels[0].digitalMax = 8388607;
    }
    d.sample = [bdf](int64_t r, int s, int k) {
        return bdf && s == 0 ? (k % 2 ? 8388607 : -8388608)
                             : static_cast<int32_t>(r * 100 + k * 7 - s);
    };
    if (!reserved.empty()) {
        d.annotationBytes = 120;
        d.onset = [gap = reserved.back() == 'D'](int64_t r) {
            return r + (gap && r > 0 ? 2.0 : 0.0);
        };
        d.tals = [](int64_t r) { return vt::tal(r + 0.5, r, "n\xc3\xa8" + std::to_string(r)); };
    }
    return d;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const fs::path out = argv[1];
    for (const char* dir : {"trace", "edf", "calls", "video"}) {
        fs::create_directories(out / dir);
    }
    std::vector<RecordingDescription> traces;
    for (uint8_t g = 0; g <= 4; ++g) {
        traces.push_back(demo::demoRecording(g));
        traces.back().frames = 6 * traces.back().rate;
    }
    traces.push_back(earsAndCz(4, 4));
    traces.push_back(earsAndCz(3, 2));
    traces.push_back(earsAndCz(4, 2));
    for (auto& [code, e] : traces.back().electrodes) {
        e.electrodeType = 1; // polygraphic: no channel to re-reference
    }
    traces.push_back(earsAndCz(2, 1));
    traces.back().fileType = 128; // one line per channel
    for (size_t i = 0; i < traces.size(); ++i) {
        viewer::testing::writeRecording((out / "trace" / std::to_string(i)).string(), traces[i]);
    }
    int edfSeeds = 0;
    for (const auto& [bdf, reserved] : {std::pair{false, "EDF+C"},
                                        {false, "EDF+D"},
                                        {false, ""},
                                        {true, "BDF+C"},
                                        {true, "BDF+D"}}) {
        viewer::testing::writeEdf((out / "edf" / std::to_string(edfSeeds++)).string(),
                                  edfSeed(bdf, reserved));
    }
    using namespace std::string_literals;
    const std::string zeros(64, '\0');
    const std::vector<std::pair<const char*, std::vector<std::string>>> texts = {
        {"calls",
         {"DrawPage(12)", "FileName(\"d\\u00e9mo.vwr\")", "ModifyGain([50, 100, -1], true)",
          "GetSfasVideo(1000, _)", "secNumber", "SecNumber = 2.5e1", "@render(\"page.png\")",
          "1024x768"}},
        {"video",
         {"a.mpg\n\0\0\1\xBA"s + zeros, "b.dat\nRIFF\0\0\0\0CDXA"s + zeros,
          "c.zip\nPK\3\4"s + zeros, "d.avi\nRIFF\0\0\0\0AVI "s + zeros,
          "e.wmv\n\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\0\xAA\0\x62\xCE\x6C"s,
          "f.bin\n"s + zeros + "TRUEVISION-XFILE.\0"s, "g.MTS\n#str"s + zeros}}};
    for (const auto& [dir, items] : texts) {
        for (size_t i = 0; i < items.size(); ++i) {
            std::ofstream(out / dir / std::to_string(i), std::ios::binary) << items[i];
        }
    }
    return 0;
}
