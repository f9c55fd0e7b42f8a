// What a host reads off the page under the mouse: line labels, the sample drawn at a pixel
// column, the microvolts of a line at a sample, note texts. None of it is in the dispatch
// interface.

#include "CViewerCtrl.h"

#include "derivations.h"
#include "montage_lines.h"
#include "text.h"
#include "trace_geometry.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace viewer;

int CViewerCtrl::lineCount() const {
    const Recording& r = recording();
    return r.isOpen() ? std::min<int>(r.currentMontage.numLines, kMaxLines) : 0;
}

QString CViewerCtrl::lineLabel(int i) const {
    if (i < 0 || i >= lineCount()) {
        return {};
    }
    return QString::fromStdString(lineLabelText(recording(), i)).trimmed();
}

int32_t CViewerCtrl::sampleAtPixel(int x) const {
    const int64_t samples = recording().samplesPerPage;
    const int64_t width = clientSize().width() - labelWidth_;
    const int64_t offset = x - labelWidth_;
    if (samples <= 0 || width <= 0 || offset < 0 || offset >= width) {
        return -1;
    }
    // The first sample whose column is at or after x, or the one before it when that
    // column lies past x (fewer samples than columns).
    int64_t l = (offset * samples + width - 1) / width;
    if (l >= samples || sampleX(labelWidth_, static_cast<uint32_t>(l), static_cast<int32_t>(width),
                                static_cast<uint32_t>(samples)) > x) {
        --l;
    }
    return static_cast<int32_t>(std::max<int64_t>(l, 0));
}

double CViewerCtrl::lineMicrovolts(int i, int32_t l) const {
    if (i < 0 || i >= lineCount() || l < 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const std::span<const float> values = model_->lineValues(i);
    if (static_cast<size_t>(l) >= values.size()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return static_cast<double>(values[static_cast<size_t>(l)]) *
           lineScale(recording().derivations[static_cast<size_t>(i)]);
}

QString CViewerCtrl::noteText(int32_t numNota) const {
    const Recording& r = recording();
    if (r.isOpen() && r.edf) {
        return edfNoteText(numNota);
    }
    if (!r.isOpen() || numNota < 0 || numNota >= std::min(r.noteCount, kNoteCapacity)) {
        return {};
    }
    const auto& text = r.notes[static_cast<size_t>(numNota)].text;
    const std::string stored(text.data(), strnlen(text.data(), text.size()));
    return QString::fromStdString(windows1252ToUtf8(stored)).trimmed();
}
