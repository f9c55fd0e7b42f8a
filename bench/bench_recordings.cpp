#include "bench_recordings.h"

#include "temp_dir.h"

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

viewer::testing::RecordingDescription wideRecording() {
    viewer::testing::RecordingDescription d;
    d.rate = 2048;
    std::vector<std::pair<uint16_t, uint16_t>> lines;
    for (uint16_t c = 1; c <= 128; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = viewer::testing::eegElectrode("E");
        lines.emplace_back(c, c % 128 + 1);
    }
    d.frames = 20 * 2048;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + (frame * 37 + channel * 101) % 2000 - 1000);
    };
    d.montages = {viewer::testing::montage("Wide", lines)};
    return d;
}

viewer::testing::RecordingDescription clinicalRecording() {
    viewer::testing::RecordingDescription d;
    d.rate = 512;
    std::vector<std::pair<uint16_t, uint16_t>> lines;
    for (uint16_t c = 1; c <= 64; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = viewer::testing::eegElectrode("E");
        lines.emplace_back(c, c % 64 + 1);
    }
    d.frames = 600 * 512;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + (frame * 53 + channel * 97) % 3000 - 1500);
    };
    d.montages = {viewer::testing::montage("Clinical", lines)};
    return d;
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

} // namespace bench
