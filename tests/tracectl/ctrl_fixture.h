#pragma once
// A trace control with a recording written for the test and the montage events it fires.

#include "CViewerCtrl.h"
#include "montage_recordings.h"
#include "temp_dir.h"
#include "text.h"

#include <QString>

#include <string>

namespace viewer::testing {

struct CtrlFixture {
    TempDir dir;
    CViewerCtrl ctrl;
    int montageEvents = 0;

    CtrlFixture() {
        QObject::connect(&ctrl, &CViewerCtrl::CambiatoMontaggio, [this] { ++montageEvents; });
    }

    // Writes `d` under `name` and opens it; FileName's result.
    int16_t open(const RecordingDescription& d, const std::string& name = "rec.vwr") {
        writeRecording(dir.file(name), d);
        return ctrl.FileName(QString::fromStdString(dir.file(name)));
    }

    std::string montageName() const {
        const auto& d = ctrl.recording().currentMontage.description;
        return std::string(fieldText(d.data(), d.size()));
    }
    int lines() const { return ctrl.recording().currentMontage.numLines; }
};

} // namespace viewer::testing
