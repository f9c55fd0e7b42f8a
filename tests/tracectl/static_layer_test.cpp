// The static layer read pixel by pixel: labels, label column, grids, markers, "Not Present".

#include "recording_writer.h"
#include "static_layer.h"
#include "temp_dir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <set>

namespace viewer::testing {
namespace {

constexpr QRgb kLabel = qRgb(0, 128, 128);
constexpr QRgb kGrid = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

class StaticLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingDescription d;
        for (uint16_t code : {1, 2, 14, 15}) {
            d.order.push_back(code);
            d.electrodes[code] = eegElectrode(code == 1    ? "Fp1"
                                              : code == 2  ? "Fp2"
                                              : code == 14 ? "O1"
                                                           : "O2");
        }
        d.frames = 2560;
        writeRecording(dir.file("rec.vwr"), d);
        ASSERT_TRUE(openRecording(rec, dir.file("rec.vwr")));
        rec.currentMontage = montage("four", {{1, 2}, {2, 14}, {14, 15}, {15, 1}});
        rec.currentMontage.pageMs = 10000;
        marker = QImage(14, 15, QImage::Format_RGB32);
        marker.fill(qRgb(255, 224, 0));
        settings.gridColour = kGrid;
    }

    StaticLayerGeometry draw(std::vector<uint8_t> kinds = {6, 6, 6, 6}) {
        return drawStaticLayer(layer, rec, kinds, settings, marker);
    }

    std::set<int> columnsWith(QRgb colour) const {
        std::set<int> xs;
        for (int y = 0; y < layer.height(); ++y) {
            for (int x = 0; x < layer.width(); ++x) {
                if (layer.pixel(x, y) == colour) {
                    xs.insert(x);
                }
            }
        }
        return xs;
    }

    TempDir dir;
    Recording rec;
    QImage layer{1000, 400, QImage::Format_RGB32};
    QImage marker;
    StaticLayerSettings settings;
};

TEST_F(StaticLayerTest, LabelsFillTheLabelColumnUnlessTracesGoOverThem) {
    settings.traceOverLabel = false;
    const StaticLayerGeometry g = draw();
    EXPECT_EQ(g.rowCentre, (std::vector<int32_t>{50, 150, 250, 350}));
    ASSERT_GT(g.labelWidth, 10);
    const std::set<int> label = columnsWith(kLabel);
    ASSERT_FALSE(label.empty());
    EXPECT_GE(*label.begin(), 4);
    // The column is the widest label, which starts at x = 4, and 10 pixels more.
    EXPECT_LT(*label.rbegin(), g.labelWidth - 6);
    EXPECT_GT(*label.rbegin(), g.labelWidth - 20);

    settings.traceOverLabel = true;
    const StaticLayerGeometry over = draw();
    EXPECT_EQ(over.labelWidth, 0);
    EXPECT_FALSE(columnsWith(kLabel).empty()); // still drawn, under the traces

    rec.header.fileType = 128;
    draw();
    EXPECT_TRUE(columnsWith(kLabel).empty());
}

TEST_F(StaticLayerTest, TimeGridHasFiveLinesASecondAndDenserWholeSeconds) {
    settings.gridType = 2;
    settings.traceOverLabel = true;
    draw();
    const std::set<int> columns = columnsWith(kGrid);
    EXPECT_EQ(columns.size(), 51u - 1); // the last line falls on x = 1000, outside the layer
    int dense = 0;
    for (int x : columns) {
        const bool everySecond = layer.pixel(x, 0) == kGrid && layer.pixel(x, 2) == kGrid;
        const bool everyFourth =
            layer.pixel(x, 0) == kGrid && layer.pixel(x, 4) == kGrid && layer.pixel(x, 2) != kGrid;
        EXPECT_TRUE(everySecond || everyFourth) << x;
        dense += everySecond ? 1 : 0;
    }
    EXPECT_EQ(dense, 10);
    EXPECT_TRUE(columns.count(0));
    EXPECT_TRUE(columns.count(100)); // one second is 100 pixels
    EXPECT_TRUE(columns.count(20));
}

TEST_F(StaticLayerTest, BaselinesAreDotsEveryThirdPixelFromTheLabelColumn) {
    settings.gridType = 1;
    settings.traceOverLabel = false;
    const StaticLayerGeometry g = draw();
    for (int32_t y : g.rowCentre) {
        for (int x = g.labelWidth; x < layer.width(); ++x) {
            const bool expected = (x - g.labelWidth) % 3 == 0;
            ASSERT_EQ(layer.pixel(x, y) == kGrid, expected) << x << "," << y;
        }
    }
    EXPECT_NE(layer.pixel(g.labelWidth, g.rowCentre[0] + 1), kGrid);
}

TEST_F(StaticLayerTest, MarkersStandOnLinesOffThePrevailingSettingsAndNotPresentOnMissingOnes) {
    rec.currentMontage.gain[2] = 500;
    settings.traceOverLabel = false;
    const StaticLayerGeometry g = draw({6, 10, 6, 6});
    const QRgb yellow = qRgb(255, 224, 0);
    EXPECT_EQ(layer.pixel(1, g.rowCentre[2]), yellow);
    EXPECT_EQ(layer.pixel(14, g.rowCentre[2] + 14), yellow);
    EXPECT_NE(layer.pixel(0, g.rowCentre[2]), yellow);
    EXPECT_NE(layer.pixel(15, g.rowCentre[2]), yellow);
    EXPECT_NE(layer.pixel(1, g.rowCentre[2] - 1), yellow);
    for (int line : {0, 1, 3}) {
        EXPECT_NE(layer.pixel(1, g.rowCentre[line]), yellow) << line;
    }
    // "Not Present" starts 120 pixels right of the label column, on line 1 only.
    const int from = g.labelWidth + 120;
    bool found = false;
    for (int y = g.rowCentre[1] - 10; y < g.rowCentre[1] + 10; ++y) {
        for (int x = from; x < from + 100; ++x) {
            found = found || layer.pixel(x, y) == kLabel;
        }
        for (int x = g.labelWidth; x < from; ++x) {
            ASSERT_NE(layer.pixel(x, y), kLabel) << x << "," << y;
        }
    }
    EXPECT_TRUE(found);
    for (int x = g.labelWidth; x < layer.width(); ++x) {
        ASSERT_NE(layer.pixel(x, g.rowCentre[0]), kLabel) << x;
    }
}

TEST_F(StaticLayerTest, NothingIsDrawnWithoutLinesAndTheReferenceNamesElectrodeZero) {
    layer.fill(kWhite);
    rec.currentMontage.numLines = 0;
    settings.background = qRgb(1, 2, 3);
    draw();
    EXPECT_EQ(layer.pixel(500, 200), kWhite);

    rec.currentMontage = montage("ref", {{1, 0}});
    rec.currentMontage.refMode = 2;
    draw({2});
    EXPECT_EQ(layer.pixel(500, 200), qRgb(1, 2, 3));
    EXPECT_STREQ(rec.electrodes[0].positiveLabel.data(), "A1+A2");
    rec.currentMontage.refMode = 9; // an unknown mode keeps the name
    draw({2});
    EXPECT_STREQ(rec.electrodes[0].positiveLabel.data(), "A1+A2");
}

} // namespace
} // namespace viewer::testing
