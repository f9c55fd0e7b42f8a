// The gain and filter members through the control: results, the beep, and which layer
// each of them redraws.

#include "drawing_fixture.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

const std::vector<int32_t> kSteps = {10, 50, 100, 200, -1};

std::vector<int32_t> gains(const CViewerCtrl& ctrl) {
    const MontageRecord& m = ctrl.recording().currentMontage;
    return {m.gain.begin(), m.gain.begin() + m.numLines};
}

TEST(ControlSettings, WithoutAFileTheGainMembersAnswerNeutrally) {
    DrawingFixture f;
    int beeps = 0;
    f.ctrl.setBeeper([&] { ++beeps; });
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, true), 0);
    EXPECT_EQ(f.ctrl.SetGainEEG(100), 0);
    EXPECT_EQ(f.ctrl.GetGainEEG(), 0);
    EXPECT_EQ(f.ctrl.GetHighFilterEEG(), -1);
    EXPECT_EQ(f.ctrl.GetLowFilterEEG(), -1);
    EXPECT_EQ(f.ctrl.SetHighFilterEEG(530), 0);
    EXPECT_EQ(beeps, 0);
}

TEST(ControlSettings, ModifyGainBeepsAtEitherEndAndChangesNothing) {
    DrawingFixture f;
    f.show();
    int beeps = 0;
    f.ctrl.setBeeper([&] { ++beeps; });
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{100, 100, 100, 100, 100, 50}));
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, true), 0);
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{200, 200, 200, 200, 200, 100}));
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, true), -1);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{200, 200, 200, 200, 200, 100}));
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, false), 0);
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, false), 0);
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, false), -1); // line 5 is at 10
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{50, 50, 50, 50, 50, 10}));
    // The page layer waits for Redraw.
    const QImage before = f.ctrl.pageLayer();
    EXPECT_EQ(f.ctrl.ModifyGain(kSteps, true), 0);
    EXPECT_EQ(f.ctrl.pageLayer(), before);
}

TEST(ControlSettings, SetGainEegRedrawsTheMarkersButNotTheTraces) {
    RecordingDescription d = flatRecording();
    d.montages[0].selected[1] = 1;
    DrawingFixture f;
    f.show(d);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage page = f.ctrl.pageLayer();
    const QRgb markerYellow = f.ctrl.staticLayer().pixel(1, f.row(0));
    EXPECT_EQ(f.ctrl.GetGainEEG(), 100);
    EXPECT_EQ(f.ctrl.SetGainEEG(500), 0);
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{100, 500, 100, 100, 100, 50}));
    EXPECT_EQ(f.ctrl.GetGainEEG(), -1);
    // Line 1 now differs from the prevailing settings: the marker stands at (1, rowCentre).
    const QImage& layer = f.ctrl.staticLayer();
    EXPECT_NE(layer.pixel(1, f.row(1)), markerYellow);
    EXPECT_NE(layer.pixel(1, f.row(1)), layer.pixel(0, f.row(1)));
    EXPECT_EQ(layer.pixel(1, f.row(0)), markerYellow);
    EXPECT_EQ(f.ctrl.pageLayer(), page);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.ctrl.pageLayer().pixel(1, f.row(1)), layer.pixel(1, f.row(1)));

    f.ctrl.DeselectAll();
    EXPECT_EQ(f.ctrl.SetGainEEG(70), 0);
    // EEG lines and the 174 line; the value line's electrode is polygraphic.
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{70, 70, 70, 70, 100, 70}));
    EXPECT_EQ(f.ctrl.GetGainEEG(), 70);
}

TEST(ControlSettings, FilterSettersRestartTheFiltersAndRedrawTheStaticLayer) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.ctrl.GetHighFilterEEG(), 0);
    EXPECT_EQ(f.ctrl.GetLowFilterEEG(), 100000);
    EXPECT_EQ(f.ctrl.model().filters().line(0).coefficients().K, 1.0);
    EXPECT_EQ(f.ctrl.SetHighFilterEEG(530), 0);
    EXPECT_EQ(f.ctrl.SetLowFilterEEG(7000), 0);
    EXPECT_EQ(f.ctrl.GetHighFilterEEG(), 530);
    EXPECT_EQ(f.ctrl.GetLowFilterEEG(), 7000);
    const FilterCoefficients& c = f.ctrl.model().filters().line(0).coefficients();
    EXPECT_LT(c.K, 1.0);
    EXPECT_NE(c.J, 0.0);
    EXPECT_EQ(f.ctrl.model().filters().line(0).state().t1, 0.0);
    // The value line is polygraphic and kept its filters; line 5 (polygraphic 174) too.
    EXPECT_EQ(f.ctrl.recording().currentMontage.highPass[4], 0u);
    // A first page through the new high-pass falls from its step toward 0.
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const std::span<const float> v = f.ctrl.model().lineValues(0);
    EXPECT_LT(std::abs(v.back()), std::abs(v.front()) / 2);
}

TEST(ControlSettings, DeselectAllCopiesOnlyTheLabelColumnIntoThePage) {
    DrawingFixture f;
    f.show();
    f.ctrl.setTraceOverLabel(false);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage page = f.ctrl.pageLayer();
    f.ctrl.setGridColor(0x000000FF);
    f.ctrl.setGridType(3); // the static layer changes, the page layer waits
    EXPECT_EQ(f.ctrl.pageLayer(), page);
    f.ctrl.DeselectAll();
    const int32_t label = f.ctrl.GetMaxLarghEtichette();
    const QImage& now = f.ctrl.pageLayer();
    const QImage& layer = f.ctrl.staticLayer();
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 1000; ++x) {
            ASSERT_EQ(now.pixel(x, y), x < label ? layer.pixel(x, y) : page.pixel(x, y))
                << x << "," << y;
        }
    }
}

TEST(ControlSettings, PropertyHandlersRedrawTheStaticLayerOrOnlyMarkModified) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage layer = f.ctrl.staticLayer();
    const QImage page = f.ctrl.pageLayer();
    f.ctrl.setFontSize(20);
    f.ctrl.setFontBold(true);
    f.ctrl.setLabelsColor(0xFF);
    f.ctrl.setBackColor(0x00000080);
    EXPECT_EQ(f.ctrl.staticLayer(), layer);
    EXPECT_TRUE(f.ctrl.isModified());
    f.ctrl.setGridColor(0x00FF0000);
    EXPECT_NE(f.ctrl.staticLayer(), layer); // background, font and grid colour at once
    EXPECT_EQ(f.ctrl.staticLayer().pixel(999, 599), qRgb(0x80, 0, 0));
    EXPECT_EQ(f.ctrl.pageLayer(), page);
    f.ctrl.Redraw(false);
    EXPECT_EQ(f.ctrl.pageLayer().pixel(999, 599), qRgb(0x80, 0, 0));

    f.ctrl.setViewMode(0x101); // low byte: the average reference
    EXPECT_EQ(f.ctrl.ViewMode(), 1);
    EXPECT_STREQ(f.ctrl.recording().electrodes[0].positiveLabel.data(), "AVG");
}

TEST(ControlSettings, RedrawWithoutReadingRunsTheFiltersAgainFromTheirState) {
    DrawingFixture f;
    f.show(montageRecording(256, 30));
    auto values = [&f] {
        const std::span<const float> v = f.ctrl.model().lineValues(0);
        return std::vector<float>(v.begin(), v.end());
    };
    ASSERT_TRUE(f.ctrl.DrawPage(0)); // "Bipolar": notch, 0.53 Hz and 70 Hz
    const std::vector<float> first = values();
    f.ctrl.Redraw(false);
    EXPECT_NE(values(), first); // the same samples, the filters going on
    f.ctrl.SetNotchFilter(1);
    f.ctrl.Redraw(false);
    EXPECT_EQ(values(), first); // cleared state: the page as first drawn
}

} // namespace
} // namespace viewer::testing
