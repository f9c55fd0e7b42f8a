#pragma once
// The demo recording: twenty minutes of a routine EEG of 19 scalp electrodes of the 10-20
// system, both ears, ECG and EOG, with notes, three archived montages, a montage history and
// two video files.

#include "recording_writer.h"

namespace demo {

// Electrode codes of the demo's inputs.
enum Code : uint16_t {
    Fp1 = 1,
    Fp2 = 2,
    F3 = 3,
    F4 = 4,
    F7 = 5,
    F8 = 6,
    Fz = 7,
    C3 = 8,
    C4 = 9,
    Cz = 10,
    P3 = 11,
    P4 = 12,
    Pz = 13,
    O1 = 14,
    O2 = 15,
    T3 = 16,
    T4 = 17,
    T5 = 18,
    T6 = 19,
    A2 = 22,
    A1 = 23,
    ECG = 167,
    EOG = 171
};

// The description of the whole demo recording, samples included (computed as written), in
// header generation `generation` (0 to 4). Generations 0 and 1 store one byte per sample;
// generations before 3 keep no archived montages or montage history; only generation 4 has
// video (the index of demo_videos.h and the video flag of checkWord).
viewer::testing::RecordingDescription demoRecording(uint8_t generation = 4);

} // namespace demo
