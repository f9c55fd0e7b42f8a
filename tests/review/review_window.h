#pragma once
// A main window on the offscreen platform for the review and events tests, with its own
// settings folder and a folder for recordings.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "frmView.h"
#include "recording_writer.h"
#include "temp_dir.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace viewer::testing {

// Four EEG channels at 256 frames per second, `seconds` long, recorded at 09:30:00, a sine of
// 1000 steps at 3 Hz on the first; notes at 12.5 s and 42 s.
inline RecordingDescription recording(int seconds, uint8_t headerType = 4) {
    RecordingDescription d;
    d.headerType = headerType;
    const uint16_t codes[] = {1, 2, 14, 15};
    for (const char* label : {"Fp1", "Fp2", "O1", "O2"}) {
        d.order.push_back(codes[d.order.size()]);
        d.electrodes[d.order.back()] = eegElectrode(label);
    }
    d.frames = int64_t{seconds} * 256;
    d.sample = [](int64_t f, int c) {
        return c == 0 ? 32768 + static_cast<int32_t>(1000 * std::sin(f * 6.2832 * 3 / 256)) : 32768;
    };
    d.notes = {note(12 * 256 + 128, "Eyes closed"), note(42 * 256, "Photic 10 Hz")};
    return d;
}

class ReviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(settings.path().string()));
        owned = std::make_unique<frmView>();
        owned->setBeepHook([this] { ++beeps; });
        owned->ViewTrace1()->setVerticalResolution(1080);
        owned->Form_Load(QString());
        resize(1200);
    }
    void resize(int width) {
        win().show();
        win().resize(width, 700);
        QApplication::processEvents();
    }
    QString write(const RecordingDescription& d, const std::string& name = "rec.vwr") {
        writeRecording(files.file(name), d);
        return QString::fromStdString(files.file(name));
    }
    void drop(const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        // As a drag does: the drop arrives only where the entering drag was accepted.
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&win(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&win(), &event);
    }
    frmView& win() { return *owned; }
    MyScrollBar& scroll() { return *win().hscroll1(); }
    CViewerCtrl& trace() { return *win().ViewTrace1(); }

    TempDir settings;
    TempDir files;
    std::unique_ptr<frmView> owned;
    int beeps = 0;
};

} // namespace viewer::testing
