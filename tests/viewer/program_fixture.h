#pragma once
// A main window started as the program starts it, with its settings in a folder of the test's
// own, its beeps counted, and small recordings written for it.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "ViewerError.h"
#include "frmView.h"
#include "recording_writer.h"
#include "temp_dir.h"

#include <QAction>
#include <QComboBox>
#include <QSettings>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace viewer::testing {

// Four EEG channels at 256 frames per second, `seconds` long, born 15/06/1980, recorded on
// 3 November 2026 at 09:30:00.
inline RecordingDescription programRecording(int seconds) {
    RecordingDescription d;
    const uint16_t codes[] = {1, 2, 14, 15};
    const char* labels[] = {"Fp1", "Fp2", "O1", "O2"};
    for (int i = 0; i < 4; ++i) {
        d.order.push_back(codes[i]);
        d.electrodes[codes[i]] = eegElectrode(labels[i]);
    }
    d.frames = static_cast<int64_t>(seconds) * 256;
    return d;
}

// The same with two archived montages, whose names carry blanks around them, and with or
// without a montage history.
inline RecordingDescription montageRecording(int seconds, bool history) {
    RecordingDescription d = programRecording(seconds);
    d.montages = {montage("  Longitudinal ", {{1, 2}, {14, 15}}),
                  montage("Referential  ", {{1, 0}})};
    d.history = history;
    if (history) {
        d.historySamples = {0};
        d.historyMontages = {montage("Recorded", {{1, 2}, {14, 15}})};
    }
    return d;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Settings of this test only; no display, so that no real window is ever looked up.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(settingsDir.path().string()));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(settingsDir.path().string()));
        qunsetenv("DISPLAY");
    }

    // A fresh window with the beep counted; start() runs its load step.
    frmView& window() {
        if (!window_) {
            window_ = std::make_unique<frmView>();
            window_->setBeepHook([this] { ++beeps; });
            // Every trace drawing of a page with lines ends with DeleteNote.
            QObject::connect(window_->ViewTrace1(), &CViewerCtrl::DeleteNote, window_->ViewTrace1(),
                             [this] { ++draws; });
        }
        return *window_;
    }
    void start(const QString& commandLine = QString()) { window().Form_Load(commandLine); }
    void closeWindow() { window_.reset(); }

    QString write(const std::string& name, const RecordingDescription& d) {
        writeRecording(recordings.file(name), d);
        return QString::fromStdString(recordings.file(name));
    }
    // Starts without an argument and opens the recording, as File > Open does.
    void open(const RecordingDescription& d) {
        start();
        window().OpenTrace(write("rec.vwr", d));
    }

    void setSetting(const QString& key, const QString& text) {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Viewer", "Viewer");
        s.setValue("Settings/" + key, text);
    }
    QVariant setting(const QString& key) const {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Viewer", "Viewer");
        return s.value("Settings/" + key);
    }

    CViewerCtrl& trace() { return *window().ViewTrace1(); }
    MyScrollBar& scroll() { return *window().hscroll1(); }
    QAction& button(const char* key) {
        QAction* action = window().button(QLatin1String(key));
        EXPECT_NE(action, nullptr) << key;
        return *action;
    }
    void click(const char* key) { button(key).trigger(); }

    static std::vector<QString> texts(const QComboBox* list) {
        std::vector<QString> out;
        for (int i = 0; i < list->count(); ++i) {
            out.push_back(list->itemText(i));
        }
        return out;
    }
    static std::vector<int> values(const QComboBox* list) {
        std::vector<int> out;
        for (int i = 0; i < list->count(); ++i) {
            out.push_back(list->itemData(i).toInt());
        }
        return out;
    }

    TempDir settingsDir;
    TempDir recordings;
    int beeps = 0;
    int draws = 0;

private:
    std::unique_ptr<frmView> window_;
};

} // namespace viewer::testing
