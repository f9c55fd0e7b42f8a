#include "bench_recordings.h"

#include "atomic_file.h"
#include "sidecar_tsv.h"
#include "temp_dir.h"

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace bench {

namespace {

const viewer::testing::TempDir& benchDir() {
    static const viewer::testing::TempDir dir;
    return dir;
}

} // namespace

std::string written(const std::string& name, const viewer::testing::RecordingDescription& d) {
    const std::string path = benchDir().file(name);
    viewer::testing::writeRecording(path, d);
    return path;
}

void writeEventSidecar(const std::string& recordingPath, int count, double seconds) {
    static const char* const kTypes[] = {"Spike",   "Sharp wave",  "Spike-and-wave",
                                         "Seizure", "Artefact",    "Sleep spindle",
                                         "Arousal", "Sleep stage", "Comment"};
    std::vector<viewer::events::Event> events;
    events.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        events.push_back({static_cast<int64_t>(i * seconds * 1000.0 / count),
                          i % 5 == 0 ? 500 : 0,
                          kTypes[i % 9],
                          "finding " + std::to_string(i),
                          {},
                          "bench",
                          "2026-01-01T00:00:00Z"});
    }
    const std::string sidecar = recordingPath.substr(0, recordingPath.rfind('.')) + ".events.tsv";
    viewer::events::writeFileAtomically(sidecar, viewer::events::formatSidecar(events));
}

namespace {

// `channels` EEG channels at `rate`, each shown against the next in the montage `name`, with
// a sawtooth whose slope and phase differ per channel.
viewer::testing::RecordingDescription ringRecording(uint16_t channels, uint16_t rate,
                                                    int64_t seconds, const char* name,
                                                    int32_t slope, int32_t phase, int32_t range) {
    viewer::testing::RecordingDescription d;
    d.rate = rate;
    std::vector<std::pair<uint16_t, uint16_t>> lines;
    for (uint16_t c = 1; c <= channels; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = viewer::testing::eegElectrode("E");
        lines.emplace_back(c, c % channels + 1);
    }
    d.frames = seconds * rate;
    d.sample = [=](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + (frame * slope + channel * phase) % range - range / 2);
    };
    d.montages = {viewer::testing::montage(name, lines)};
    return d;
}

} // namespace

viewer::testing::RecordingDescription wideRecording() {
    return ringRecording(128, 2048, 20, "Wide", 37, 101, 2000);
}

viewer::testing::RecordingDescription clinicalRecording() {
    return ringRecording(64, 512, 600, "Clinical", 53, 97, 3000);
}

viewer::testing::RecordingDescription narrowRecording() {
    viewer::testing::RecordingDescription d;
    d.order = {1};
    d.electrodes[1] = viewer::testing::eegElectrode("Cz");
    d.frames = 20 * 256;
    d.sample = [](int64_t frame, int) { return static_cast<int32_t>(32768 + frame % 400 - 200); };
    viewer::MontageRecord m =
        viewer::testing::montage("Narrow", std::vector<std::pair<uint16_t, uint16_t>>(128, {1, 0}));
    for (uint32_t i = 0; i < 128; ++i) {
        m.highPass[i] = 100 + 10 * i;
    }
    d.montages = {m};
    return d;
}

double peakResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kb = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kb;
            break;
        }
    }
    return kb / 1024;
}

} // namespace bench
