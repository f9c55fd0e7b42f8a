// The gain and filter members: which lines they change, and the values the host shows.

#include "CViewerCtrl.h"

#include "line_settings.h"

#include <QPainter>

using namespace viewer;

int16_t CViewerCtrl::ModifyGain(std::span<const int32_t> gainPref, bool incr) {
    if (!rec().isOpen()) {
        return 0;
    }
    if (!stepGains(rec(), gainPref, incr)) {
        if (beep_) {
            beep_();
        }
        return -1;
    }
    return 0;
}

int32_t CViewerCtrl::GetGainEEG() { return rec().isOpen() ? eegGain(rec()) : 0; }

int16_t CViewerCtrl::SetGainEEG(int32_t gain) {
    if (!rec().isOpen()) {
        return 0;
    }
    setEegGain(rec(), gain);
    // The warning markers depend on the gains.
    redrawStatic();
    return 0;
}

int16_t CViewerCtrl::SetHighFilterEEG(int32_t filtVal) {
    setEegFilter(rec(), FilterSetting::HighPass, static_cast<uint32_t>(filtVal));
    model_->recomputeFilters();
    redrawStatic();
    return 0;
}

int16_t CViewerCtrl::SetLowFilterEEG(int32_t filtVal) {
    setEegFilter(rec(), FilterSetting::LowPass, static_cast<uint32_t>(filtVal));
    model_->recomputeFilters();
    redrawStatic();
    return 0;
}

int32_t CViewerCtrl::GetHighFilterEEG() { return prevailingFilter(rec(), FilterSetting::HighPass); }

int32_t CViewerCtrl::GetLowFilterEEG() { return prevailingFilter(rec(), FilterSetting::LowPass); }

void CViewerCtrl::DeselectAll() {
    deselectAll(rec().currentMontage);
    drawPendingTraces(); // the traces stay as drawn
    redrawStatic();
    // Only the label column of the page on screen changes; its traces stay.
    const int height = staticLayer_.height();
    if (layerLabelWidth_ > 0 && !pageLayer_.isNull()) {
        QPainter p(&pageLayer_);
        p.drawImage(QPoint(0, 0), staticLayer_, QRect(0, 0, layerLabelWidth_, height));
    }
    update();
}
