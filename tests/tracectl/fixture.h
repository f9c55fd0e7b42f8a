#pragma once
// A trace control 1000 x 600 at 50 pixels per cm, the events it fires, recordings to show.

#include "CViewerCtrl.h"
#include "montage_recordings.h"
#include "temp_dir.h"
#include "text.h"

#include <QImage>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace viewer::testing {

constexpr QRgb kDarkRed = qRgb(0x80, 0, 0);
constexpr QRgb kGreen = qRgb(0, 0x80, 0);
constexpr QRgb kNavy = qRgb(0, 0, 0x80);
constexpr QRgb kPurple = qRgb(0x80, 0, 0x80);
constexpr QRgb kLabelInk = qRgb(0, 128, 128);

// Six flat channels (Fp1, Fp2, O1, O2, a value input 173, an unfiltered input 174), 256 Hz,
// 30 s. Fp1 and 174 sit 1000 steps above the zero level 32768, Fp2 2000 below, 173 holds 100.
// Archived montage "Flat", unfiltered: Fp1 (dark red), Fp2 (green), no input, Fp1 against
// C4 (not acquired), the value input (purple), 174 at gain 50 (navy).
inline RecordingDescription flatRecording() {
    RecordingDescription d;
    const uint16_t codes[] = {1, 2, 14, 15, 173, 174};
    const char* labels[] = {"Fp1", "Fp2", "O1", "O2", "SAT", "PHO"};
    for (int i = 0; i < 6; ++i) {
        d.order.push_back(codes[i]);
        d.electrodes[codes[i]] = eegElectrode(labels[i]);
    }
    d.electrodes[173] = polygraphicElectrode("SAT", "", 0);
    d.electrodes[173].logicMax = d.electrodes[173].physicalMax = 1000;
    d.electrodes[174].electrodeType = 1;
    d.electrodes[9] = eegElectrode("C4");
    d.electrodes[9].status = 0;
    d.frames = 256 * 30;
    d.sample = [](int64_t, int channel) {
        const int32_t levels[] = {33768, 30768, 32768, 32768, 100, 33768};
        return levels[channel];
    };
    MontageRecord m = montage("Flat", {{1, 0}, {2, 0}, {0, 0}, {1, 9}, {173, 0}, {174, 0}});
    const uint8_t colourCodes[] = {4, 2, 0, 0, 5, 1}; // palette 10, 28, 4, 4, 46, 40
    for (int i = 0; i < m.numLines; ++i) {
        m.highPass[i] = 0;
        m.lowPass[i] = 100000; // above half the rate: passes
        m.colourCode[i] = colourCodes[i];
    }
    m.gain[5] = 50;
    d.montages = {m};
    return d;
}

struct Ctrl {
    TempDir dir;
    CViewerCtrl ctrl;
    int montageEvents = 0;
    int deletes = 0;
    int noteCount = 0;
    std::string notes; // "number@x:text " per note event

    Ctrl() {
        ctrl.setVerticalResolution(1000); // 50 pixels per cm
        ctrl.resize(1000, 600);
        QObject::connect(&ctrl, &CViewerCtrl::CambiatoMontaggio, [this] { ++montageEvents; });
        QObject::connect(&ctrl, &CViewerCtrl::DeleteNote, [this] { ++deletes; });
        QObject::connect(
            &ctrl, &CViewerCtrl::NoteNotification, [this](int16_t n, int32_t x, const QString& t) {
                notes += std::to_string(n) + "@" + std::to_string(x) + ":" + t.toStdString() + " ";
                ++noteCount;
            });
    }

    QString path(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
    // Writes `d` under `name` and opens it; FileName's result.
    int16_t open(const RecordingDescription& d, const std::string& name = "rec.vwr") {
        writeRecording(dir.file(name), d);
        return ctrl.FileName(path(name));
    }
    // Opens `d` and shows archived montage 0.
    void show(const RecordingDescription& d = flatRecording()) {
        ASSERT_EQ(open(d), 0);
        ctrl.setNumMont(30);
        ASSERT_EQ(lines(), d.montages.front().numLines);
    }
    std::string montageName() const {
        const auto& d = ctrl.recording().currentMontage.description;
        return std::string(fieldText(d.data(), d.size()));
    }
    int lines() const { return ctrl.recording().currentMontage.numLines; }
    int32_t row(int line) const { return ctrl.rowCentre().at(line); }
    std::vector<float> values(int line) const {
        const std::span<const float> v = ctrl.model().lineValues(line);
        return {v.begin(), v.end()};
    }
    QImage shown() { return ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// Whether the warning marker stands at the left of the row at `y`.
inline ::testing::AssertionResult markerAt(const QImage& layer, int y) {
    const QImage marker =
        QImage(QStringLiteral(":/tracectl/warning.png")).convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < 14 * 15; ++i) {
        if (layer.pixel(1 + i % 14, y + i / 14) != marker.pixel(i % 14, i / 14)) {
            return ::testing::AssertionFailure() << "differs at " << i % 14 << "," << i / 14;
        }
    }
    return ::testing::AssertionSuccess();
}

// The columns of `image` between rows y0 and y1 (inclusive) that hold `colour`.
inline std::set<int> columnsWith(const QImage& image, QRgb colour, int y0, int y1) {
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

} // namespace viewer::testing
