#include "trace_model.h"

#include "derivations.h"
#include "montages.h"
#include "page_length.h"
#include "page_loading.h"

#include <algorithm>
#include <limits>

namespace viewer {

namespace {

constexpr int kArchivedBase = 30;

} // namespace

TraceModel::OpenResult TraceModel::open(const std::string& path, bool asRecorded,
                                        NotesReading notes) {
    if (!openRecording(rec_, path, notes)) {
        return {};
    }
    rec_.maxPageMs = maxPageMsFor(rec_.header.numChannels, rec_.header.rate);
    leaveOwnMontage(); // its lines named the electrodes of the recording before
    bool loaded = false;
    if (asRecorded && rec_.historyPresent) {
        loaded = LoadHistoryMontage(rec_);
    }
    if (!loaded) {
        rec_.currentMontage.numLines = 0;
        // The page length kept from before must still fit this recording's page buffer.
        applyPageMs(rec_, rec_.currentMontage.pageMs);
    }
    rec_.pageBuffer.assign(static_cast<size_t>(kPageBufferValues), 0);
    buildDerivations();
    return {true, loaded};
}

bool TraceModel::setAsRecorded(bool on, bool& historyLoaded) {
    historyLoaded = false;
    bool kept = on;
    if (!on) {
        rec_.currentMontage.numLines = 0;
        leaveOwnMontage();
    } else if (rec_.isOpen() && rec_.historyPresent) {
        historyLoaded = LoadHistoryMontage(rec_);
        leaveOwnMontage();
        if (!historyLoaded) {
            rec_.currentMontage.numLines = 0;
        }
    } else {
        kept = false;
    }
    buildDerivations();
    return kept;
}

int16_t TraceModel::chooseMontage(int16_t numMont, int16_t notchFreq) {
    const int archived = usableArchivedMontages(rec_);
    if (numMont > archived + kArchivedBase) {
        numMont = 0;
    }
    if (numMont == archived + kArchivedBase) {
        loadAllElectrodesMontage(rec_);
        leaveOwnMontage();
    } else if (numMont >= kArchivedBase && LoadArchivedMontage(rec_, numMont - kArchivedBase)) {
        leaveOwnMontage();
    }
    MontageRecord& m = rec_.currentMontage;
    if (m.notch != 0) {
        if (notchFreq == 50) {
            m.notch = 1;
        } else if (notchFreq == 60) {
            m.notch = 2;
        }
    }
    buildDerivations();
    return numMont;
}

bool TraceModel::useOwnMontage(const MontageDefinition& def) {
    if (!rec_.isOpen()) {
        return false;
    }
    lastPage_ = pageSettingsOf(rec_, lastPage_);
    applyOwnMontage(rec_, def, lastPage_);
    buildDerivations();
    return true;
}

float TraceModel::setPageSeconds(float seconds) {
    const float inForce = applyPageSeconds(rec_, seconds);
    buildDerivations();
    return inForce;
}

void TraceModel::setNotch(int16_t notch) {
    rec_.currentMontage.notch = static_cast<uint8_t>(notch & 0xFF);
    recomputeFilters();
}

bool TraceModel::seekPage(int32_t sec, bool asRecorded, bool& historySwitched) {
    historySwitched = false;
    if (!rec_.isOpen() || sec < 0) {
        return false;
    }
    const int64_t frame = static_cast<int64_t>(sec) * rec_.header.rate;
    if (frame >= rec_.totalSamples || frame > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    rec_.pageStart = static_cast<uint32_t>(frame);
    if (!asRecorded || !rec_.historyPresent) {
        return true;
    }
    const int i = historyMontageFor(rec_, rec_.pageStart);
    if (i != rec_.historyIndex && i != -1 && i != kHistoryMontagesUsed) {
        rec_.historyIndex = i;
        if (LoadHistoryMontage(rec_)) {
            leaveOwnMontage();
            buildDerivations();
            historySwitched = true;
        }
    }
    return true;
}

bool TraceModel::loadPage() { return LoadPage(rec_, rec_.pageStart, rec_.samplesPerPage); }

void TraceModel::buildDerivations() {
    if (!rec_.isOpen()) {
        return;
    }
    buildDerivationRecords(rec_);
    recomputeFilters();
}

void TraceModel::recomputeFilters() {
    const MontageRecord& m = rec_.currentMontage;
    const size_t lines = std::min<size_t>(m.numLines, kMaxLines);
    std::array<uint8_t, kMaxLines> notch{};
    for (size_t i = 0; i < lines; ++i) {
        const bool own = keepsOwn(rec_.own, static_cast<int>(i), kOwnNotch);
        notch[i] = own ? rec_.own.lines[i].notch : m.notch;
    }
    filters_.recompute(rec_.header.rate, std::span(notch.data(), lines),
                       std::span(m.highPass.data(), lines), std::span(m.lowPass.data(), lines));
}

} // namespace viewer
