// Real playback: steps and seeks land on the frame whose number is burnt in, for every kind
// of file; positions while playing; play-out and Complete; worker failures; closing.

#include "clip_fixture.h"

#include <QElapsedTimer>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

using namespace viewer::testing;

class FramePosition : public ::testing::TestWithParam<const char*> {};

TEST_P(FramePosition, StepsAndSeeksLandOnTheirFrame) {
    // A step by `by` frames, or a seek to `by` seconds, the position reported, whether
    // Complete followed, and the frame shown. Between two frames the earlier one shows and
    // steps go on from the time; the last frame starts 40 ms before the end, which lies
    // after the last key picture of longgop.mpg.
    const struct {
        bool seek;
        double by, ms;
        bool completes;
        int frame;
    } cases[] = {{0, 1, 40, 0, 1},        {0, 24, 1000, 0, 25},   {0, -10, 600, 0, 15},
                 {1, 3.0, 3000, 0, 75},   {0, 1, 3040, 0, 76},    {0, -100, 0, 0, 0},
                 {0, -1, 0, 0, 0},        {1, 0.52, 520, 0, 13},  {1, 0.5, 500, 0, 12},
                 {0, 1, 540, 0, 13},      {1, 4.9, 4900, 0, 122}, {1, 4.16, 4160, 0, 104},
                 {0, 30, 5000, 1, 124},   {1, 4.0, 4000, 0, 100}, {0, 25, 5000, 0, 124},
                 {1, 4.96, 4960, 0, 124}, {0, 2, 5000, 1, 124},   {0, -1, 4960, 0, 124},
                 {0, -1, 4920, 0, 123},   {1, 1.2, 1200, 0, 30}};
    Clip h;
    h.open(GetParam());
    ASSERT_EQ(h.ctrl.playState(), 3);
    EXPECT_EQ(h.frameShown(), 0);
    for (const auto& c : cases) {
        h.clear();
        if (c.seek) {
            h.ctrl.setCurrentPosition(c.by);
        } else {
            EXPECT_EQ(h.ctrl.SetRelativeFramePosition(static_cast<int>(c.by)), 0);
            EXPECT_TRUE(h.events.empty()) << "events come after the call has returned";
        }
        h.pump();
        EXPECT_EQ(
            std::pair(h.events, h.frameShown()),
            std::pair(c.completes ? std::vector{c.ms, kComplete} : std::vector{c.ms}, c.frame))
            << (c.seek ? "seek " : "step ") << c.by;
    }
    EXPECT_EQ(h.ctrl.playState(), 3);
    EXPECT_DOUBLE_EQ(h.ctrl.CurrentPosition(), 1.2);
    EXPECT_TRUE(h.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FramePosition,
                         ::testing::Values("clip.mpg", "silent.mpg", "longgop.mpg", "clip.dat",
                                           "clip.wmv", "clip.avi", "clip.mts", "sound.mts"));

TEST(Playback, AboutTwentyPositionsASecondOnlyWhilePlaying) {
    Clip h;
    h.open("clip.mpg");
    h.ctrl.setCurrentPosition(1.0);
    h.settle(0);
    ASSERT_EQ(h.ctrl.Play(), 0);
    h.pump(1000);
    const std::vector<double> played = h.events;
    ASSERT_GE(played.size(), 15u);
    EXPECT_LE(played.size(), 25u);
    EXPECT_TRUE(std::is_sorted(played.begin(), played.end()));
    EXPECT_TRUE(played.front() >= 1000 && std::abs(played.back() - 2000) < 250);
    // Paused: no reports; the picture is the one last played (or the one before, when the
    // machine was too busy to show it in time), and a step by 0 puts it on the position.
    ASSERT_EQ(h.ctrl.Pause(), 0);
    const double paused = h.ctrl.CurrentPosition();
    EXPECT_NEAR(paused * 1000, played.back(), 120);
    h.settle();
    EXPECT_TRUE(h.events.empty());
    EXPECT_EQ(h.ctrl.CurrentPosition(), paused);
    const int due = static_cast<int>(paused / 0.04);
    EXPECT_LE(due - h.frameShown(), 1);
    h.ctrl.SetRelativeFramePosition(0);
    EXPECT_EQ(h.frameShown(), due);
    // A seek while playing plays on from there; stopped, no reports.
    ASSERT_EQ(h.ctrl.Play(), 0);
    h.ctrl.setCurrentPosition(3.0);
    EXPECT_EQ(h.ctrl.playState(), 2);
    h.settle();
    ASSERT_GE(h.events.size(), 3u);
    EXPECT_TRUE(h.events.front() >= 3000 && h.events.back() <= 3500);
    ASSERT_EQ(h.ctrl.Stop(), 0);
    h.settle();
    EXPECT_TRUE(h.events.empty() && h.messages.empty());
}

TEST(Playback, PlaysOutPastTheLastKeyPictureCompletesAndKeepsPlayingState) {
    Clip h;
    h.open("longgop.mpg");
    h.ctrl.setCurrentPosition(3.8);
    h.settle(0);
    ASSERT_EQ(h.ctrl.Play(), 0);
    QElapsedTimer timer;
    for (timer.start(); !h.completes() && timer.elapsed() < 5000;) {
        h.pump(20);
    }
    h.pump(60);
    EXPECT_TRUE(h.events.front() >= 3800 && h.events.front() < 4000) << h.events.front();
    EXPECT_EQ(std::tuple(h.completes(), h.ctrl.playState(), h.frameShown()),
              std::tuple(1, 2, kVideoFrames - 1));
    // After the end the reports go on, all at the end; a step pauses first.
    h.settle();
    EXPECT_GE(h.events.size(), 4u);
    EXPECT_EQ(h.events, std::vector<double>(h.events.size(), 5000));
    EXPECT_DOUBLE_EQ(h.ctrl.CurrentPosition(), 5.0);
    EXPECT_EQ(h.ctrl.SetRelativeFramePosition(-2), 0);
    EXPECT_EQ(h.ctrl.playState(), 3);
    EXPECT_TRUE(h.messages.empty());
}

TEST(Playback, AWorkerFailureIsShownOnceOnTheControlsThreadAndTheNextOpenStartsAfresh) {
    Clip h;
    h.open("silent.mpg");
    h.ctrl.Play();
    h.pump(100);
    GstElement* pipeline = GST_ELEMENT(h.ctrl.pipeline());
    for (int i = 0; i < 2; ++i) {
        GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "broken");
        gst_element_post_message(pipeline,
                                 gst_message_new_error(GST_OBJECT(pipeline), error, nullptr));
        g_error_free(error);
    }
    h.settle(); // a failed position is not reported
    EXPECT_TRUE(h.events.empty());
    EXPECT_TRUE(h.messagesOnControlThread);
    h.ctrl.CurrentPosition(); // the getter shows its own message each time
    EXPECT_EQ(h.messages, (std::vector<std::pair<QString, QString>>(
                              2, {"Video EEG Message",
                                  "FAILED(hr=0x8004022f) in pMS->GetCurrentPosition(&posi)\n"})));
    h.open("silent.mpg");
    h.clear();
    h.ctrl.Play();
    h.settle();
    EXPECT_GE(h.events.size(), 3u);
    EXPECT_TRUE(h.messages.empty());
}

TEST(Playback, ClosingOrReopeningWhilePlayingReleasesThePipelinePromptly) {
    // "" stands for opening clip.avi in a control playing clip.mpg.
    for (const char* name : {"clip.mpg", "sound.mts", "clip.wmv", ""}) {
        auto h = std::make_unique<Clip>();
        h->open(*name ? name : "clip.mpg");
        h->ctrl.Play();
        h->pump(200);
        GWeakRef pipeline;
        g_weak_ref_init(&pipeline, h->ctrl.pipeline());
        QElapsedTimer timer;
        timer.start();
        *name ? h.reset() : h->open("clip.avi");
        EXPECT_LT(timer.elapsed(), 1000) << name;
        EXPECT_EQ(g_weak_ref_get(&pipeline), nullptr)
            << name << ": the pipeline outlived its graph";
        g_weak_ref_clear(&pipeline);
        EXPECT_TRUE(*name || (h->ctrl.playState() == 3 && h->frameShown() == 0));
    }
}
