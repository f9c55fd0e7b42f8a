// make-demo: writes the demo recording that ./run opens, in any header generation.

#include "demo_recording.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    int generation = 4;
    if (argc == 4 && std::strcmp(argv[1], "--generation") == 0) {
        generation = std::atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc != 2 || generation < 0 || generation > 4) {
        std::fprintf(stderr, "usage: make-demo [--generation 0..4] OUTPUT.vwr\n");
        return 2;
    }
    try {
        viewer::testing::writeRecording(argv[1],
                                        demo::demoRecording(static_cast<uint8_t>(generation)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-demo: %s\n", e.what());
        return 1;
    }
    std::printf("Wrote the demo recording %s\n", argv[1]);
    return 0;
}
