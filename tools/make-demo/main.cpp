// make-demo: writes the demo recording that ./run opens.

#include "demo_recording.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-demo OUTPUT.vwr\n");
        return 2;
    }
    try {
        viewer::testing::writeRecording(argv[1], demo::demoRecording());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-demo: %s\n", e.what());
        return 1;
    }
    std::printf("Wrote the demo recording %s\n", argv[1]);
    return 0;
}
