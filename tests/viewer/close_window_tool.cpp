// close-window TITLE: posts a close request to the window titled TITLE on the X display, as
// the user closing it would; exits 1 when there is no such window.

#include "Module1.h"
#include "ViewerError.h"

#include <cstdio>

int main(int argc, char** argv) {
    try {
        Module1::CloseWindowByTitle(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""), false);
    } catch (const ViewerError& e) {
        std::fprintf(stderr, "close-window: %s\n", e.what());
        return 1;
    }
    return 0;
}
