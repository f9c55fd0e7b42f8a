#include "demo_recording.h"

#include "demo_signals.h"
#include "demo_videos.h"

#include <cmath>
#include <memory>

using viewer::MontageRecord;
using viewer::testing::RecordingDescription;

namespace demo {

namespace {

constexpr int kRate = 256;
constexpr int kSeconds = 20 * 60;

struct Input {
    Code code;
    const char* label;
};

constexpr Input kScalp[] = {
    {Fp1, "Fp1"}, {Fp2, "Fp2"}, {F3, "F3"}, {F4, "F4"}, {F7, "F7"}, {F8, "F8"}, {Fz, "Fz"},
    {C3, "C3"},   {C4, "C4"},   {Cz, "Cz"}, {P3, "P3"}, {P4, "P4"}, {Pz, "Pz"}, {O1, "O1"},
    {O2, "O2"},   {T3, "T3"},   {T4, "T4"}, {T5, "T5"}, {T6, "T6"}, {A2, "A2"}, {A1, "A1"},
};

// File colour codes: left side blue, right side red, midline green, polygraphy grey.
uint8_t colourOf(uint16_t code) {
    switch (code) {
    case Fz:
    case Cz:
    case Pz:
        return 2;
    case Fp1:
    case F3:
    case F7:
    case C3:
    case P3:
    case O1:
    case T3:
    case T5:
    case A1:
        return 1;
    case ECG:
    case EOG:
        return 0;
    default:
        return 4;
    }
}

MontageRecord withPolygraphy(MontageRecord m) {
    const uint16_t polygraphic[] = {ECG, EOG};
    for (uint16_t code : polygraphic) {
        const int i = m.numLines++;
        m.inputA[i] = code;
        m.inputB[i] = 0;
        m.highPass[i] = 530;
        m.lowPass[i] = 3000;
        m.gain[i] = code == ECG ? 1000 : 300;
    }
    for (int i = 0; i < m.numLines; ++i) {
        m.colourCode[i] = colourOf(m.inputA[i]);
        if (m.gain[i] == 100) {
            m.gain[i] = 70;
        }
    }
    return m;
}

MontageRecord longitudinal() {
    return withPolygraphy(viewer::testing::montage("Longitudinal bipolar", {{Fp1, F7},
                                                                            {F7, T3},
                                                                            {T3, T5},
                                                                            {T5, O1},
                                                                            {Fp2, F8},
                                                                            {F8, T4},
                                                                            {T4, T6},
                                                                            {T6, O2},
                                                                            {Fp1, F3},
                                                                            {F3, C3},
                                                                            {C3, P3},
                                                                            {P3, O1},
                                                                            {Fp2, F4},
                                                                            {F4, C4},
                                                                            {C4, P4},
                                                                            {P4, O2},
                                                                            {Fz, Cz},
                                                                            {Cz, Pz}}));
}

MontageRecord transverse() {
    return withPolygraphy(viewer::testing::montage("Transverse bipolar", {{Fp1, Fp2},
                                                                          {F7, F3},
                                                                          {F3, Fz},
                                                                          {Fz, F4},
                                                                          {F4, F8},
                                                                          {A1, T3},
                                                                          {T3, C3},
                                                                          {C3, Cz},
                                                                          {Cz, C4},
                                                                          {C4, T4},
                                                                          {T4, A2},
                                                                          {T5, P3},
                                                                          {P3, Pz},
                                                                          {Pz, P4},
                                                                          {P4, T6},
                                                                          {O1, O2}}));
}

MontageRecord referential() {
    std::vector<std::pair<uint16_t, uint16_t>> lines;
    for (const Input& in : kScalp) {
        if (in.code != A1 && in.code != A2) {
            lines.emplace_back(in.code, 0);
        }
    }
    MontageRecord m = withPolygraphy(viewer::testing::montage("Referential to A1+A2", lines));
    m.refMode = 2; // the ear reference
    return m;
}

} // namespace

RecordingDescription demoRecording(uint8_t generation) {
    RecordingDescription d;
    d.headerType = generation;
    d.surname = "DEMO";
    d.name = "Patient";
    d.birthDay = 12;
    d.birthMonth = 4;
    d.birthYear = 85;
    d.recDay = 2;
    d.recMonth = 11;
    d.recYear = 126;
    d.recHour = 10;
    d.recMinute = 15;
    d.recSecond = 0;
    d.rate = kRate;
    d.bytesPerSample = 2;

    // Electrode code 0 is the zero level of the ear reference and of the frames past the
    // data: the same logic range and zero level as the scalp inputs.
    d.electrodes[0] = viewer::testing::eegElectrode("G2");
    for (const Input& in : kScalp) {
        d.order.push_back(in.code);
        d.electrodes[in.code] = viewer::testing::eegElectrode(in.label);
    }
    d.order.push_back(ECG);
    d.electrodes[ECG] = viewer::testing::polygraphicElectrode("ECG1+", "ECG1-", 3200);
    d.order.push_back(EOG);
    d.electrodes[EOG] = viewer::testing::polygraphicElectrode("EOG1+", "EOG1-", 3200);

    const struct {
        int second;
        const char* text;
    } notes[] = {{5, "Eyes closed"},        {125, "Eyes open"},  {245, "Eyes closed"},
                 {300, "Photic 10 Hz"},     {330, "Photic off"}, {360, "Hyperventilation"},
                 {540, "Post HV"},          {660, "Eyes open"},  {900, "Eyes closed"},
                 {1180, "End of recording"}};
    for (const auto& n : notes) {
        d.notes.push_back(viewer::testing::note(n.second * kRate, n.text));
    }

    d.montages = {longitudinal(), transverse(), referential()};
    d.history = true;
    d.historySamples = {0, 300 * kRate, 660 * kRate};
    d.historyMontages = {longitudinal(), transverse(), longitudinal()};

    // Only the newest generation keeps a video index.
    if (generation == 4) {
        d.videoFlag = true;
        d.videoIndex = true;
        d.videos = demoVideoIndex();
    }

    d.frames = static_cast<int64_t>(kSeconds) * kRate;
    const std::vector<Stage> stages = {{0, true, false, false},   {5, false, false, false},
                                       {125, true, false, false}, {245, false, false, false},
                                       {300, false, true, false}, {330, false, false, false},
                                       {360, true, false, true},  {540, true, false, false},
                                       {660, true, false, false}, {900, false, false, false}};
    auto signals = std::make_shared<DemoSignals>(d.order, kRate, stages);
    // 16-bit generations: 0.09765625 uV per step around 32768 (6400 uV over 16 bits).
    // 8-bit generations calibrate from their label tables with a divisor of 400: 200 uV
    // each side of 128 for EEG, 1600 uV for ECG.
    const bool eightBit = generation <= 1;
    d.calibrationDivisor = 400;
    std::vector<double> stepMicrovolts;
    for (uint16_t code : d.order) {
        stepMicrovolts.push_back(!eightBit     ? 6400.0 / 65536.0
                                 : code == ECG ? 3200.0 / 256
                                               : 400.0 / 256);
    }
    d.sample = [signals, stepMicrovolts, eightBit](int64_t frame, int channel) {
        const long steps =
            std::lround(signals->microvolts(frame, channel) / stepMicrovolts[channel]);
        return static_cast<int32_t>(eightBit ? std::clamp(steps + 128L, 0L, 255L)
                                             : std::clamp(steps + 32768L, 0L, 65535L));
    };
    return d;
}

} // namespace demo
