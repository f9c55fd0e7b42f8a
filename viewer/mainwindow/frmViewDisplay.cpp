// The display-setting lists, the montage choice, the gain keys, the notch and the background.

#include "frmView.h"

#include "CViewerCtrl.h"
#include "CalibrationTools.h"
#include "MontageList.h"
#include "MyScrollBar.h"
#include "ViewerSettings.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>

namespace {

// numMont counts archived montages from this number on.
constexpr int32_t kFirstArchivedMontage = 30;
constexpr int32_t kAllElectrodesGain = 200;

uint32_t toOleColour(const QColor& c) {
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

int32_t selectedValue(const QComboBox* list) { return list->currentData().toInt(); }

} // namespace

void frmView::CaricaCombo() {
    cmbGain_->clear();
    for (int i = 0; i < DisplayTables::kGainEntries; ++i) {
        cmbGain_->addItem(DisplayTables::gainText(gainTable_[i]), gainTable_[i]);
    }
    cmbHighPass_->clear();
    for (int32_t value : DisplayTables::kHighPass) {
        cmbHighPass_->addItem(DisplayTables::highPassText(value), value);
    }
    cmbLowPass_->clear();
    for (int32_t value : DisplayTables::kLowPass) {
        cmbLowPass_->addItem(DisplayTables::lowPassText(value), value);
    }
    // Nothing is shown until the control's values are known.
    for (QComboBox* list : {cmbGain_, cmbHighPass_, cmbLowPass_}) {
        list->setCurrentIndex(-1);
    }
}

// Selecting from code runs the handler, as a choice of the user does.
void frmView::selectEntry(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    if (list == cmbGain_) {
        cmbGain_Click();
    } else if (list == cmbHighPass_) {
        cmbHighPass_Click();
    } else if (list == cmbLowPass_) {
        cmbLowPass_Click();
    } else if (list == cmbBaseTime_) {
        cmbBaseTime_Click();
    } else if (list == cmbViewMode_) {
        cmbViewMode_Click();
    }
}

void frmView::selectMatching(QComboBox* list, int32_t value) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemData(i).toInt() == value) {
            selectEntry(list, i);
        }
    }
}

void frmView::ImpostaComboGain(int32_t valGain) { selectMatching(cmbGain_, valGain); }

void frmView::ImpostaComboHighPassFilter(int32_t valFilt) { selectMatching(cmbHighPass_, valFilt); }

void frmView::ImpostaComboLowPassFilter(int32_t valFilt) { selectMatching(cmbLowPass_, valFilt); }

void frmView::ImpostaComboBaseTime(int32_t sec) {
    if (sec >= 1 && sec <= DisplayTables::kBaseTimeEntries) {
        selectEntry(cmbBaseTime_, sec - 1);
    }
}

void frmView::cmbGain_Click() {
    if (cmbGain_->currentIndex() < 0) {
        return;
    }
    ViewTrace1_->SetGainEEG(selectedValue(cmbGain_));
    ViewTrace1_->DrawPage(posSec_);
}

void frmView::cmbHighPass_Click() {
    if (cmbHighPass_->currentIndex() < 0) {
        return;
    }
    ViewTrace1_->SetHighFilterEEG(selectedValue(cmbHighPass_));
    ViewTrace1_->DrawPage(posSec_);
}

void frmView::cmbLowPass_Click() {
    if (cmbLowPass_->currentIndex() < 0) {
        return;
    }
    ViewTrace1_->SetLowFilterEEG(selectedValue(cmbLowPass_));
    ViewTrace1_->DrawPage(posSec_);
}

void frmView::cmbBaseTime_Click() {
    if (cmbBaseTime_->currentIndex() < 0) {
        return;
    }
    const int index = cmbBaseTime_->currentIndex();
    // Entries after the page lengths are time bases: the page length follows the traces' width.
    const double seconds =
        index < DisplayTables::kBaseTimeEntries ? index + 1 : calibration_->pageSeconds(index);
    ViewTrace1_->SetSecNumber(static_cast<float>(seconds));
    ViewTrace1_->DrawPage(posSec_);
    hscroll1_->setMax(ViewTrace1_->totalTrcSec());
    hscroll1_->setLargeChange(ViewTrace1_->secNumber());
}

void frmView::cmbViewMode_Click() {
    if (cmbViewMode_->currentIndex() < 0) {
        return;
    }
    const int32_t value = selectedValue(cmbViewMode_);
    if (value == kAsRecorded) {
        ImpostaAsRecorded();
    } else if (value == kAllLinesRecorded) {
        ImpostaAllElectrode();
    } else if (montages_->choose(value)) {
        // The montage took the page's settings: the lists show them, the page is drawn once
        // (by the time base's handler when one is chosen: its labels may be wider).
        showControlValues();
        if (calibration_->timeBaseChosen()) {
            showPageLength();
        } else {
            ViewTrace1_->DrawPage(posSec_);
        }
    } else {
        ViewTrace1_->setGratis(false);
        ViewTrace1_->setNumMont(static_cast<int16_t>(value + kFirstArchivedMontage));
        refreshFromControl();
        ViewTrace1_->DrawPage(posSec_);
    }
}

void frmView::showPageLength() {
    if (calibration_ != nullptr && calibration_->timeBaseChosen()) {
        selectEntry(cmbBaseTime_, cmbBaseTime_->currentIndex());
    } else {
        ImpostaComboBaseTime(toWholeSeconds(ViewTrace1_->secNumber()));
    }
}

void frmView::refreshFromControl() {
    showPageLength();
    ImpostaComboGain(ViewTrace1_->GetGainEEG());
    ImpostaComboHighPassFilter(ViewTrace1_->GetHighFilterEEG());
    ImpostaComboLowPassFilter(ViewTrace1_->GetLowFilterEEG());
    CompilaNotch();
}

void frmView::showControlValues() {
    const auto show = [](QComboBox* list, int32_t value) {
        const int index = list->findData(value);
        if (index >= 0) {
            list->setCurrentIndex(index);
        }
    };
    show(cmbGain_, ViewTrace1_->GetGainEEG());
    show(cmbHighPass_, ViewTrace1_->GetHighFilterEEG());
    show(cmbLowPass_, ViewTrace1_->GetLowFilterEEG());
    CompilaNotch();
}

void frmView::ImpostaAsRecorded() {
    ViewTrace1_->setGratis(true);
    if (ViewTrace1_->gratis()) {
        refreshFromControl();
        ViewTrace1_->DrawPage(posSec_);
    } else {
        // No montage history in the recording: the control cleared gratis again.
        ImpostaAllElectrode();
    }
}

void frmView::ImpostaAllElectrode() {
    ViewTrace1_->setGratis(false);
    ViewTrace1_->setNumMont(
        static_cast<int16_t>(ViewTrace1_->GetNumArchivedMontage() + kFirstArchivedMontage));
    ImpostaComboGain(kAllElectrodesGain);
    showPageLength();
    ImpostaComboHighPassFilter(ViewTrace1_->GetHighFilterEEG());
    ImpostaComboLowPassFilter(ViewTrace1_->GetLowFilterEEG());
    CompilaNotch();
    ViewTrace1_->DrawPage(posSec_);
}

void frmView::ViewTrace1_CambiatoMontaggio() {
    ViewTrace1_->DeselectAll();
    refreshFromControl();
}

void frmView::CompilaNotch() {
    button(QStringLiteral("notch"))->setChecked(ViewTrace1_->GetNotchFilter());
}

void frmView::ApplicaNotch() {
    if (button(QStringLiteral("notch"))->isChecked()) {
        ViewTrace1_->SetNotchFilter(frequenzaNotch_ == 50 ? 1 : 2);
    } else {
        ViewTrace1_->SetNotchFilter(0);
    }
    ViewTrace1_->Redraw(false);
}

void frmView::mnuNotch_Click(int16_t hertz) {
    mnu50Hz_->setChecked(hertz == 50);
    mnu60Hz_->setChecked(hertz == 60);
    frequenzaNotch_ = hertz;
    ViewerSettings().write(QStringLiteral("FrequenzaNotch"), hertz);
}

void frmView::IncrDecrGainFromKeyAscii(QChar keyAscii) {
    if (keyAscii == QLatin1Char('+')) {
        ViewTrace1_->ModifyGain(gainTable_, false);
    } else if (keyAscii == QLatin1Char('-')) {
        ViewTrace1_->ModifyGain(gainTable_, true);
    } else {
        return;
    }
    ViewTrace1_->Redraw(false);
    ImpostaComboGain(ViewTrace1_->GetGainEEG());
}

void frmView::mnuBackColor_Click() {
    if (CommonDialogColor()->exec() != QDialog::Accepted) {
        return;
    }
    ViewTrace1_->setBackColor(toOleColour(CommonDialogColor_->currentColor()));
    ViewerSettings().write(QStringLiteral("BackColor"), ViewTrace1_->BackColor());
    ViewTrace1_->Redraw(false);
}
