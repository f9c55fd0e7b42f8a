#include "TrendMontages.h"

#include "CViewerCtrl.h"
#include "montage_lines.h"
#include "own_montage.h"

namespace tr = viewer::trends;

tr::TrendMontage montageOnScreen(const CViewerCtrl& trace,
                                 const std::vector<viewer::MontageDefinition>& definitions) {
    const std::string own = trace.ownMontageName().toStdString();
    if (!own.empty()) {
        for (const viewer::MontageDefinition& def : definitions) {
            if (def.name == own) {
                return {def.name, def};
            }
        }
    }
    const viewer::Recording& rec = trace.recording();
    return {viewer::montageName(rec), rec.currentMontage};
}

tr::TrendMontage trendMontage(const CViewerCtrl& trace,
                              const std::vector<viewer::MontageDefinition>& definitions) {
    return tr::chooseMontage(viewer::eegElectrodeNames(trace.recording()),
                             montageOnScreen(trace, definitions));
}
