// make-demo: writes the demo recording that ./run opens, in any header generation, and the
// video files of its video index next to it.

#include "demo_recording.h"
#include "demo_videos.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

int usage() {
    std::fprintf(stderr, "usage: make-demo [--generation 0..4] [--no-video] OUTPUT.vwr\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int generation = 4;
    bool videos = true;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--generation") == 0 && i + 1 < argc) {
            generation = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--no-video") == 0) {
            videos = false;
        } else if (output == nullptr && argv[i][0] != '-') {
            output = argv[i];
        } else {
            return usage();
        }
    }
    if (output == nullptr || generation < 0 || generation > 4) {
        return usage();
    }
    try {
        const viewer::testing::RecordingDescription d =
            demo::demoRecording(static_cast<uint8_t>(generation));
        viewer::testing::writeRecording(output, d);
        std::printf("Wrote the demo recording %s\n", output);
        if (videos && !d.videos.empty()) {
            demo::writeDemoVideos(output, d);
            std::printf("Wrote its %zu video files next to it\n", d.videos.size());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
