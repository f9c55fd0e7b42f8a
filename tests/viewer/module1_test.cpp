// Closing a window by its title where there is no display to look on.

#include "Module1.h"
#include "ViewerError.h"

#include <gtest/gtest.h>

namespace {

TEST(CloseWindowByTitle, WithoutADisplayNoWindowIsFound) {
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":12345"); // no such server
    try {
        Module1::CloseWindowByTitle("StartViewer", false);
        ADD_FAILURE() << "a window was reported found";
    } catch (const ViewerError& e) {
        EXPECT_EQ(e.number(), 1);
        EXPECT_EQ(e.description(), QStringLiteral("Can't find application to close"));
    }
    EXPECT_NO_THROW(Module1::CloseWindowByTitle("StartViewer", true));
    qunsetenv("DISPLAY");
    EXPECT_THROW(Module1::CloseWindowByTitle("StartViewer", false), ViewerError);
    if (!display.isEmpty()) {
        qputenv("DISPLAY", display);
    }
}

} // namespace
