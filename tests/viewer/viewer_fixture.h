#pragma once
// The main window started as the program starts it, its settings in a folder of the test's own,
// its beeps and page drawings counted; recordings and fixture videos written for it.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "ViewerError.h"
#include "fixture_folder.h"
#include "frmView.h"
#include "recording_writer.h"
#include "temp_dir.h"

#include <QAction>
#include <QComboBox>
#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
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
    for (const auto& [code, label] :
         {std::pair<uint16_t, const char*>{1, "Fp1"}, {2, "Fp2"}, {14, "O1"}, {15, "O2"}}) {
        d.order.push_back(code);
        d.electrodes[code] = eegElectrode(label);
    }
    d.frames = int64_t{seconds} * 256;
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

// 30 s recorded from 10:00:00 with the video index `videos` and a sawtooth on every channel.
inline RecordingDescription videoRecording(std::vector<VideoRecord> videos) {
    RecordingDescription d = programRecording(30);
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + (frame % 64) * 8 - 256 + 40 * channel);
    };
    d.recHour = 10;
    d.recMinute = 0;
    d.videoFlag = true;
    d.videoIndex = !videos.empty();
    d.videos = std::move(videos);
    return d;
}

// Puts a 3 s MPEG-2 program stream (25 frames per second, 160 x 120, made with ffmpeg once per
// build into a shared folder) at `path`, as a link.
inline void placeVideo(const std::string& path) {
    const auto make = [](const std::filesystem::path& dir) {
        const std::string command =
            "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=s=160x120:r=25:d=3 "
            "-c:v mpeg2video -q:v 4 -g 12 -an -f vob '" +
            (dir / "three.mpg").string() + "' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    };
    const auto folder =
        fixtureFolder(std::filesystem::path(VIEWER_BIN_DIR).parent_path() / "test-fixtures",
                      "viewer-video-v2", make);
    std::error_code ec;
    std::filesystem::create_symlink(folder / "three.mpg", path, ec);
    EXPECT_FALSE(ec) << "cannot place " << path << ": " << ec.message();
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

    static QSettings store() {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, "Viewer", "Viewer");
    }
    void setSetting(const QString& key, const QString& text) {
        store().setValue("Settings/" + key, text);
    }
    QString setting(const QString& key) const {
        return store().value("Settings/" + key).toString();
    }

    CViewerCtrl& trace() { return *window().ViewTrace1(); }
    MyScrollBar& scroll() { return *window().hscroll1(); }
    QAction& button(const char* key) { return *window().button(QLatin1String(key)); }
    void click(const char* key) { button(key).trigger(); }

    TempDir settingsDir;
    TempDir recordings;
    int beeps = 0;
    int draws = 0;
    std::unique_ptr<frmView> window_;
};

} // namespace viewer::testing
