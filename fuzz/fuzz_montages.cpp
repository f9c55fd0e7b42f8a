// Opens the input as a recording and loads every archived and history montage, the
// montage of all recorded electrodes, the standard montages for its electrodes, and what the
// host reads and changes on each.

#include "derivations.h"
#include "fuzz_input.h"
#include "line_settings.h"
#include "montage_lines.h"
#include "montages.h"
#include "own_montage.h"
#include "page_length.h"
#include "recording_queries.h"
#include "standard_montages.h"

#include <array>
#include <cmath>

namespace {

void useMontage(viewer::Recording& rec) {
    using namespace viewer;
    buildDerivationRecords(rec);
    for (int i = 0; i < rec.currentMontage.numLines; ++i) {
        lineLabelText(rec, i);
        lineScale(rec.derivations[i]);
        isValueLine(rec.currentMontage, i);
    }
    referenceName(rec.currentMontage.refMode);
    linesOffPrevailingSettings(rec);
    for (const FilterSetting which : {FilterSetting::HighPass, FilterSetting::LowPass}) {
        setEegFilter(rec, which, static_cast<uint32_t>(prevailingFilter(rec, which)));
    }
    constexpr std::array<int32_t, 4> kSteps = {50, 100, 200, -1};
    stepGains(rec, kSteps, rec.currentMontage.gain[0] < 100);
    deselectAll(rec.currentMontage);
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
    for (const MontageDefinition& def : standardMontages(eegElectrodeNames(rec))) {
        applyOwnMontage(rec, def, pageSettingsOf(rec, PageSettings{}));
        useMontage(rec);
    }
    for (const float seconds : {-1.0f, NAN, 1e9f}) {
        applyPageSeconds(rec, seconds);
    }
    return 0;
}
