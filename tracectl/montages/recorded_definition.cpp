#include "recorded_definition.h"

#include "montage_lines.h"
#include "own_montage.h"
#include "text.h"

#include <algorithm>

namespace viewer {

namespace {

constexpr uint32_t kBlack = 0x000000;

void addTerm(const Recording& rec, uint16_t code, double weight, MontageLine& line) {
    if (code == 0) {
        return; // the reference: the samples are taken as read
    }
    const ElectrodeRecord& e = electrodeOf(rec, code);
    const std::string name =
        windows1252ToUtf8(fieldText(e.positiveLabel.data(), e.positiveLabel.size()));
    if (!name.empty()) {
        line.terms.push_back({name, weight});
    }
}

} // namespace

MontageDefinition recordedDefinition(const Recording& rec,
                                     const std::array<uint32_t, 48>& palette) {
    MontageDefinition def;
    def.name = montageName(rec);
    const MontageRecord& m = rec.currentMontage;
    const PageSettings page = pageSettingsOf(rec, PageSettings{});
    const int lines = std::min<int>(m.numLines, kMaxLines);
    for (int i = 0; i < lines; ++i) {
        if (isValueLine(m, i)) {
            continue;
        }
        MontageLine line;
        line.label = lineLabelText(rec, i);
        addTerm(rec, m.inputA[i], 1.0, line);
        addTerm(rec, m.inputB[i], -1.0, line);
        line.colour = m.colourIndex[i] < palette.size() ? palette[m.colourIndex[i]] : kBlack;
        if (m.gain[i] != page.gain) {
            line.gainUvPerCm = m.gain[i];
        }
        if (m.highPass[i] != page.highPass) {
            line.highPassHz = m.highPass[i] / 1000.0;
        }
        if (m.lowPass[i] != page.lowPass) {
            line.lowPassHz = m.lowPass[i] / 100.0;
        }
        def.lines.push_back(std::move(line));
    }
    return def;
}

} // namespace viewer
