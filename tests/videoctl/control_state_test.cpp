// The control's interface and its state machine: every method in every state, before any
// file, after a failed open, and when the back end refuses.

#include "clip_harness.h"
#include "temp_dir.h"
#include "video_fixtures.h"

#include <QMetaClassInfo>
#include <QMetaMethod>
#include <QMetaProperty>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace viewer::testing;

namespace {

// What a control without a usable graph answers, and that it stays in `state`.
void expectInert(ClipHarness& h, int16_t state) {
    CClipdeckCtrl& c = h.ctrl();
    EXPECT_EQ(c.Play(), 1);
    EXPECT_EQ(c.Stop(), 1);
    EXPECT_EQ(c.Pause(), 1);
    EXPECT_EQ(c.SetRelativeFramePosition(1), -1);
    EXPECT_EQ(c.CurrentPosition(), 0.0);
    c.setCurrentPosition(2.0);
    EXPECT_EQ(c.CurrentPosition(), 0.0);
    EXPECT_EQ(c.Crop(320, 240), 0);
    EXPECT_EQ(c.Uncrop(), 1);
    EXPECT_EQ(c.playState(), state);
    h.pump();
    EXPECT_TRUE(h.events().empty());
}

void expectEmptyPicture(ClipHarness& h) {
    const QImage image = h.paint();
    const int w = image.width();
    const int hgt = image.height();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(w / 2, hgt / 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, hgt / 2), qRgb(0, 0, 0)) << "the ellipse touches the left edge";
    EXPECT_EQ(image.pixel(w / 2, hgt - 1), qRgb(0, 0, 0)) << "and the bottom edge";
}

// Makes the next state change of the pipeline fail, as a back end that refuses would.
void breakPipeline(CClipdeckCtrl& c) {
    GstElement* broken = gst_element_factory_make("filesrc", "Broken");
    g_object_set(broken, "location", "/nonexistent/broken", nullptr);
    gst_bin_add(GST_BIN(c.pipeline()), broken);
}

} // namespace

TEST(ControlState, MembersComeInDispatchOrder) {
    const QMetaObject& meta = CClipdeckCtrl::staticMetaObject;
    const int p = meta.propertyOffset();
    ASSERT_EQ(meta.propertyCount() - p, 3);
    EXPECT_STREQ(meta.property(p).name(), "FileName");
    EXPECT_STREQ(meta.property(p + 1).name(), "playState");
    EXPECT_STREQ(meta.property(p + 2).name(), "CurrentPosition");
    EXPECT_EQ(meta.property(p + 1).metaType().id(), QMetaType::Short);
    EXPECT_EQ(meta.property(p + 2).metaType().id(), QMetaType::Double);

    std::vector<std::string> methods;
    std::vector<std::string> signalNames;
    for (int m = meta.methodOffset(); m < meta.methodCount(); ++m) {
        const QMetaMethod method = meta.method(m);
        if (method.methodType() == QMetaMethod::Signal) {
            signalNames.push_back(method.methodSignature().toStdString());
        } else if (method.methodType() == QMetaMethod::Method) {
            methods.push_back(method.name().toStdString());
            EXPECT_EQ(method.returnMetaType().id(), QMetaType::Short) << methods.back();
            for (int a = 0; a < method.parameterCount(); ++a) {
                EXPECT_EQ(method.parameterMetaType(a).id(), QMetaType::Int) << methods.back();
            }
        }
    }
    EXPECT_EQ(methods, (std::vector<std::string>{"Play", "Stop", "Pause",
                                                 "SetRelativeFramePosition", "Crop", "Uncrop"}));
    EXPECT_EQ(signalNames, (std::vector<std::string>{"Complete()", "PositionChange(double)"}));
    EXPECT_STREQ(meta.classInfo(meta.indexOfClassInfo("ProgID")).value(),
                 "CLIPDECK.ClipdeckCtrl.1");
    EXPECT_STREQ(meta.classInfo(meta.indexOfClassInfo("ClassID")).value(),
                 "{24C6CA47-7C0F-4FD5-B400-FB3D94493509}");
}

TEST(ControlState, BeforeAnyFileNothingHappens) {
    ClipHarness h;
    EXPECT_EQ(h.ctrl().playState(), 0);
    EXPECT_EQ(h.ctrl().FileName(), QString());
    expectInert(h, 0);
    expectEmptyPicture(h);
    EXPECT_TRUE(h.messages().empty());
}

TEST(ControlState, AFailedOpenLeavesStateZeroAndNoWorker) {
    TempDir dir;
    ClipHarness h;
    h.open(dir.file("missing.mpg"));
    EXPECT_EQ(h.ctrl().FileName().toStdString(), dir.file("missing.mpg"));
    EXPECT_EQ(h.messages().size(), 1u);
    h.clear();
    expectInert(h, 0);
    h.ctrl().setPlayState(2); // a worker would now post positions; there is none
    h.pump(200);
    EXPECT_TRUE(h.events().empty());
    EXPECT_TRUE(h.messages().empty());
}

TEST(ControlState, EveryMethodFromEveryState) {
    ClipHarness h;
    CClipdeckCtrl& c = h.ctrl();
    h.open(fixtureVideo("silent.mpg"));
    EXPECT_EQ(c.playState(), 3);

    EXPECT_EQ(c.Stop(), 0);
    EXPECT_EQ(c.playState(), 1);
    EXPECT_EQ(c.Pause(), 0);
    EXPECT_EQ(c.playState(), 3);
    EXPECT_EQ(c.Play(), 0);
    EXPECT_EQ(c.playState(), 2);
    EXPECT_EQ(c.Play(), 0);
    EXPECT_EQ(c.playState(), 2);
    EXPECT_EQ(c.Stop(), 0);
    EXPECT_EQ(c.playState(), 1);

    // Stepping and cropping pause a stopped or playing control; cropping leaves a playing
    // one playing.
    EXPECT_EQ(c.SetRelativeFramePosition(1), 0);
    EXPECT_EQ(c.playState(), 3);
    c.Stop();
    EXPECT_EQ(c.Crop(320, 240), 0);
    EXPECT_EQ(c.playState(), 3);
    c.Stop();
    EXPECT_EQ(c.Uncrop(), 0);
    EXPECT_EQ(c.playState(), 3);
    c.Play();
    EXPECT_EQ(c.Crop(320, 240), 0);
    EXPECT_EQ(c.Uncrop(), 0);
    EXPECT_EQ(c.playState(), 2);
    EXPECT_EQ(c.SetRelativeFramePosition(0), 0);
    EXPECT_EQ(c.playState(), 3);

    // A write of playState replaces it and starts nothing.
    c.setPlayState(1);
    EXPECT_EQ(c.playState(), 1);
    EXPECT_EQ(c.Pause(), 0);
    EXPECT_EQ(c.playState(), 3);
    EXPECT_TRUE(h.messages().empty());
}

TEST(ControlState, EmptyFileNameClosesEverything) {
    ClipHarness h;
    h.open(fixtureVideo("clip.mpg"));
    h.ctrl().Play();
    h.pump(100);
    h.ctrl().setFileName(QString());
    h.clear();
    EXPECT_EQ(h.ctrl().playState(), 0);
    EXPECT_EQ(h.ctrl().pipeline(), nullptr);
    EXPECT_TRUE(h.ctrl().graphElementNames().isEmpty());
    h.pump(200);
    EXPECT_TRUE(h.events().empty()) << "no worker runs";
    expectInert(h, 0);
    expectEmptyPicture(h);
    EXPECT_TRUE(h.messages().empty());
}

TEST(ControlState, ReopeningTheSameFileStartsAgainPaused) {
    ClipHarness h;
    const std::string path = fixtureVideo("silent.mpg");
    h.open(path);
    h.ctrl().SetRelativeFramePosition(30);
    h.ctrl().Play();
    h.pump(150);
    h.open(path);
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_EQ(h.ctrl().CurrentPosition(), 0.0);
    EXPECT_EQ(h.frameShown(), 0);
    EXPECT_TRUE(h.ctrl().isModified());
}

TEST(ControlState, RefusedCommandsReportOneAndStillSetTheState) {
    ClipHarness h;
    CClipdeckCtrl& c = h.ctrl();
    h.open(fixtureVideo("silent.mpg"));
    breakPipeline(c);
    EXPECT_EQ(c.Play(), 1);
    EXPECT_EQ(c.playState(), 2);
    EXPECT_EQ(c.Stop(), 1);
    EXPECT_EQ(c.playState(), 1);
    EXPECT_EQ(c.Pause(), 1);
    EXPECT_EQ(c.playState(), 3);
    ASSERT_EQ(h.messages().size(), 3u);
    for (const auto& m : h.messages()) {
        EXPECT_EQ(m.first, "Video EEG Message");
        EXPECT_EQ(m.second, "Failed to stop graph!  hr=0x80004005");
    }
}

TEST(ControlState, PositionWritesOutsideTheFileAreIgnoredOrClamped) {
    ClipHarness h;
    CClipdeckCtrl& c = h.ctrl();
    h.open(fixtureVideo("silent.mpg"));
    c.setCurrentPosition(1.0);
    h.pump();
    h.clear();
    for (double bad : {-1.0, -0.001, std::nan(""), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        c.setCurrentPosition(bad);
    }
    h.pump();
    EXPECT_TRUE(h.events().empty());
    EXPECT_DOUBLE_EQ(c.CurrentPosition(), 1.0);
    // Far past the end: the picture goes to the end, the event carries what was asked.
    c.setCurrentPosition(1e12);
    h.pump();
    EXPECT_DOUBLE_EQ(c.CurrentPosition(), 5.0);
    ASSERT_EQ(h.positions().size(), 1u);
    EXPECT_EQ(h.positions()[0], std::fmod(1e15, 4294967296.0));
    EXPECT_TRUE(h.messages().empty());
}
