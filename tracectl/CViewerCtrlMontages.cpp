// Montages defined outside the recording, shown through the same page model, filters and
// drawing as the recording's own. None of it is in the dispatch interface.

#include "CViewerCtrl.h"

using namespace viewer;

bool CViewerCtrl::showMontage(const MontageDefinition& def) {
    if (!model_->useOwnMontage(def)) {
        return false;
    }
    // The montage no longer follows the recording's history.
    gratis_ = false;
    redrawStatic();
    update();
    setModified();
    return true;
}

QString CViewerCtrl::ownMontageName() const {
    const OwnMontage& own = recording().own;
    return own.inForce ? QString::fromStdString(own.name) : QString();
}
