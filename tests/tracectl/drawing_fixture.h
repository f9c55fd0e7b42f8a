#pragma once
// A trace control 1000 x 600 on a recording of flat channels, so that each trace lies at a
// known height: EEG 1, 2, 14, 15, an unfiltered input 174 and a value input 173, 256 frames
// per second, 30 s. Archived montage 0 ("Flat") passes every sample unfiltered.

#include "ctrl_fixture.h"

#include <QImage>
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace viewer::testing {

// Channel values above (or below) the zero level 32768.
constexpr int32_t kLine0Steps = 1000;
constexpr int32_t kLine1Steps = -2000;
constexpr int32_t kValueRaw = 100;

inline MontageRecord flatMontage() {
    // 0: Fp1   1: Fp2   2: no input   3: Fp1 against C4 (not acquired)   4: value   5: 174
    MontageRecord m = montage("Flat", {{1, 0}, {2, 0}, {0, 0}, {1, 9}, {173, 0}, {174, 0}});
    const uint8_t colourCodes[] = {4, 2, 0, 0, 5, 1}; // palette 10, 28, 4, 4, 46, 40
    for (int i = 0; i < m.numLines; ++i) {
        m.highPass[i] = 0;
        m.lowPass[i] = 100000; // above half the rate: passes
        m.colourCode[i] = colourCodes[i];
    }
    m.gain[5] = 50;
    return m;
}

inline RecordingDescription flatRecording() {
    RecordingDescription d;
    const uint16_t codes[] = {1, 2, 14, 15, 173, 174};
    const char* labels[] = {"Fp1", "Fp2", "O1", "O2", "SAT", "PHO"};
    for (int i = 0; i < 6; ++i) {
        d.order.push_back(codes[i]);
        d.electrodes[codes[i]] = eegElectrode(labels[i]);
    }
    ElectrodeRecord& value = d.electrodes[173];
    value.electrodeType = 1;
    value.logicMin = 0;
    value.logicMax = 1000;
    value.physicalMin = 0;
    value.physicalMax = 1000;
    d.electrodes[174].electrodeType = 1;
    d.electrodes[9] = eegElectrode("C4");
    d.electrodes[9].status = 0;
    d.frames = 256 * 30;
    d.sample = [](int64_t, int channel) {
        switch (channel) {
        case 0:
        case 5:
            return 32768 + kLine0Steps;
        case 1:
            return 32768 + kLine1Steps;
        case 4:
            return kValueRaw;
        default:
            return 32768;
        }
    };
    d.montages = {flatMontage()};
    return d;
}

struct DrawingFixture : CtrlFixture {
    int deletes = 0;
    std::vector<std::tuple<int16_t, int32_t, QString>> notes;

    DrawingFixture() {
        ctrl.setVerticalResolution(1000); // 50 pixels per cm
        ctrl.resize(1000, 600);
        QObject::connect(&ctrl, &CViewerCtrl::DeleteNote, [this] { ++deletes; });
        QObject::connect(&ctrl, &CViewerCtrl::NoteNotification,
                         [this](int16_t n, int32_t pix, const QString& text) {
                             notes.emplace_back(n, pix, text);
                         });
    }

    // Opens `d` and shows archived montage 0.
    void show(const RecordingDescription& d = flatRecording()) {
        ASSERT_EQ(open(d), 0);
        ctrl.setNumMont(30);
        ASSERT_EQ(lines(), d.montages.front().numLines);
    }

    int32_t row(int line) const { return ctrl.rowCentre().at(line); }
    QRgb colour(int paletteIndex) const { return ctrl.traceColours()[paletteIndex]; }

    // The columns of `image` between rows y0 and y1 (inclusive) that hold `colour`.
    static std::set<int> columnsWith(const QImage& image, QRgb colour, int y0, int y1) {
        std::set<int> xs;
        for (int y = std::max(y0, 0); y <= std::min(y1, image.height() - 1); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == colour) {
                    xs.insert(x);
                }
            }
        }
        return xs;
    }
};

} // namespace viewer::testing
