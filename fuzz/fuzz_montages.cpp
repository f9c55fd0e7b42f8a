// Opens the input as a recording and loads every archived and history montage, the
// montage of all recorded electrodes, and what the host reads and changes on each.

#include "derivations.h"
#include "fuzz_input.h"
#include "line_settings.h"
#include "montage_lines.h"
#include "montages.h"
#include "recording_queries.h"

#include <array>

namespace {

void useMontage(viewer::Recording& rec) {
    using namespace viewer;
    buildDerivationRecords(rec);
    for (int i = 0; i < rec.currentMontage.numLines; ++i) {
        lineLabel(rec, i);
        lineScale(rec.derivations[i]);
        examinedElectrode(rec.currentMontage, i);
    }
    linesOffPrevailingSettings(rec);
    prevailingFilter(rec, FilterSetting::HighPass);
    prevailingFilter(rec, FilterSetting::LowPass);
    constexpr std::array<int32_t, 4> kSteps = {50, 100, 200, -1};
    stepGains(rec, kSteps, true);
    setEegGain(rec, eegGain(rec));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace viewer;
    const fuzz::InputFile input(data, size);
    Recording rec;
    if (!openRecording(rec, input.path())) {
        return 0;
    }
    rec.maxPageMs = maxPageMsFor(rec.header.numChannels, rec.header.rate);
    const int16_t archived = queries::GetNumArchivedMontage(rec);
    for (int k = -1; k <= archived; ++k) {
        if (LoadArchivedMontage(rec, k)) {
            useMontage(rec);
        }
    }
    loadAllElectrodesMontage(rec);
    useMontage(rec);
    for (int i = 0; rec.historyPresent && i < kHistoryMontagesUsed; ++i) {
        rec.historyIndex = i;
        if (LoadHistoryMontage(rec)) {
            useMontage(rec);
        }
    }
    for (const int32_t point : rec.historySamples) {
        historyMontageFor(rec, static_cast<uint32_t>(point) + 1);
    }
    return 0;
}
