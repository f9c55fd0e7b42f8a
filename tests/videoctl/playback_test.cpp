// Playing: position reports about twenty times a second, none while paused or stopped,
// Complete at the end, the worker's failures shown on the control's thread, and closing
// while playing.

#include "clip_harness.h"
#include "video_fixtures.h"

#include <QElapsedTimer>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace viewer::testing;

namespace {

bool isSorted(const std::vector<double>& v) {
    return std::is_sorted(v.begin(), v.end());
}

} // namespace

TEST(Playback, ReportsAboutTwentyPositionsASecondOnlyWhilePlaying) {
    ClipHarness h;
    h.open(fixtureVideo("clip.mpg"));
    h.ctrl().setCurrentPosition(1.0);
    h.pump();
    h.clear();
    ASSERT_EQ(h.ctrl().Play(), 0);
    h.pump(1000);
    const std::vector<double> playing = h.positions();
    EXPECT_GE(playing.size(), 15u);
    EXPECT_LE(playing.size(), 25u);
    EXPECT_TRUE(isSorted(playing));
    ASSERT_FALSE(playing.empty());
    EXPECT_GE(playing.front(), 1000);
    EXPECT_NEAR(playing.back(), 2000, 250);

    ASSERT_EQ(h.ctrl().Pause(), 0);
    const double paused = h.ctrl().CurrentPosition();
    EXPECT_NEAR(paused * 1000, playing.back(), 120);
    h.pump(50);
    h.clear();
    h.pump(300);
    EXPECT_TRUE(h.events().empty());
    EXPECT_EQ(h.ctrl().CurrentPosition(), paused);
    // The paused picture is the one last played: that of the paused position, or the one
    // before when the machine was too busy to show it in time.
    const int due = static_cast<int>(paused / 0.04);
    const int shown = h.frameShown();
    EXPECT_TRUE(shown == due || shown == due - 1) << shown << " for " << paused;
    // Stepping by nothing puts the picture exactly on the position.
    h.ctrl().SetRelativeFramePosition(0);
    EXPECT_EQ(h.frameShown(), due);

    ASSERT_EQ(h.ctrl().Play(), 0);
    h.pump(200);
    ASSERT_EQ(h.ctrl().Stop(), 0);
    h.pump(50);
    h.clear();
    h.pump(300);
    EXPECT_TRUE(h.events().empty());
    EXPECT_TRUE(h.messages().empty());
}

TEST(Playback, CompletesAtTheEndAndKeepsPlayingState) {
    ClipHarness h;
    h.open(fixtureVideo("silent.mpg"));
    h.ctrl().setCurrentPosition(4.6);
    h.pump();
    h.clear();
    h.ctrl().Play();
    QElapsedTimer timer;
    timer.start();
    while (h.count("Complete") == 0 && timer.elapsed() < 5000) {
        h.pump(20);
    }
    ASSERT_EQ(h.count("Complete"), 1);
    EXPECT_EQ(h.ctrl().playState(), 2);
    EXPECT_EQ(h.frameShown(), kVideoFrames - 1);
    // After the end the reports go on, all at the final position.
    h.pump(60);
    h.clear();
    h.pump(300);
    const std::vector<double> after = h.positions();
    EXPECT_GE(after.size(), 4u);
    for (double ms : after) {
        EXPECT_EQ(ms, after.front());
    }
    EXPECT_NEAR(after.front(), 5000, 45);
    EXPECT_EQ(h.count("Complete"), 0);
    EXPECT_EQ(h.ctrl().playState(), 2);
    // Stepping while playing pauses first; from the end a step back shows the frame before.
    EXPECT_EQ(h.ctrl().SetRelativeFramePosition(-2), 0);
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_TRUE(h.messages().empty());
}

TEST(Playback, SeeksWhilePlayingKeepPlaying) {
    ClipHarness h;
    h.open(fixtureVideo("clip.wmv"));
    h.ctrl().Play();
    h.pump(150);
    h.ctrl().setCurrentPosition(3.0);
    EXPECT_EQ(h.ctrl().playState(), 2);
    h.pump(20);
    h.clear();
    h.pump(300);
    const std::vector<double> positions = h.positions();
    ASSERT_GE(positions.size(), 3u);
    EXPECT_GE(positions.front(), 3000);
    EXPECT_LE(positions.back(), 3500);
    EXPECT_TRUE(isSorted(positions));
}

TEST(Playback, AWorkerFailureIsShownOnceOnTheControlsThread) {
    ClipHarness h;
    h.open(fixtureVideo("silent.mpg"));
    h.ctrl().Play();
    h.pump(100);
    GstElement* pipeline = GST_ELEMENT(h.ctrl().pipeline());
    for (int i = 0; i < 2; ++i) {
        GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "broken");
        gst_element_post_message(pipeline,
                                 gst_message_new_error(GST_OBJECT(pipeline), error, nullptr));
        g_error_free(error);
    }
    h.pump(100);
    const int before = h.count("PositionChange");
    h.pump(300);
    EXPECT_EQ(h.count("PositionChange"), before) << "a failed position is not reported";
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(h.messages()[0].first, "Video EEG Message");
    EXPECT_EQ(h.messages()[0].second, "FAILED(hr=0x8004022f) in pMS->GetCurrentPosition(&posi)\n");
    EXPECT_TRUE(h.messagesOnControlThread());
    // The getter shows its own message each time it is asked.
    h.clear();
    h.ctrl().CurrentPosition();
    EXPECT_EQ(h.messages().size(), 1u);
    // The next open starts afresh.
    h.open(fixtureVideo("silent.mpg"));
    h.clear();
    h.ctrl().Play();
    h.pump(300);
    EXPECT_GE(h.count("PositionChange"), 3);
    EXPECT_TRUE(h.messages().empty());
}

TEST(Playback, ClosingWhilePlayingReleasesEverythingPromptly) {
    for (const char* name : {"clip.mpg", "sound.mts", "clip.wmv"}) {
        auto h = std::make_unique<ClipHarness>();
        h->open(fixtureVideo(name));
        h->ctrl().Play();
        h->pump(200);
        GWeakRef pipeline;
        g_weak_ref_init(&pipeline, h->ctrl().pipeline());
        QElapsedTimer timer;
        timer.start();
        h.reset();
        EXPECT_LT(timer.elapsed(), 1000) << name;
        GObject* left = static_cast<GObject*>(g_weak_ref_get(&pipeline));
        EXPECT_EQ(left, nullptr) << name << ": the pipeline outlived its control";
        if (left) {
            g_object_unref(left);
        }
        g_weak_ref_clear(&pipeline);
    }
    // Reassigning the file while playing closes the old graph the same way.
    ClipHarness h;
    h.open(fixtureVideo("clip.mpg"));
    h.ctrl().Play();
    h.pump(200);
    GWeakRef pipeline;
    g_weak_ref_init(&pipeline, h.ctrl().pipeline());
    h.open(fixtureVideo("clip.avi"));
    EXPECT_EQ(g_weak_ref_get(&pipeline), nullptr);
    g_weak_ref_clear(&pipeline);
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_EQ(h.frameShown(), 0);
}
