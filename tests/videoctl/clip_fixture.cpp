#include "clip_fixture.h"

#include "fixture_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace viewer::testing {

namespace {

bool makeAll(const fs::path& dir) {
    auto run = [](const std::string& c) {
        return std::system((c + " >/dev/null 2>&1").c_str()) == 0;
    };
    const std::string picture =
        " -vf \"geq=r='X*255/W':g='Y*255/H':b='if(lt(Y,H/4),255*mod(floor(N/pow(2,floor(X*8/W))),"
        "2),0)',drawtext=fontfile=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf:"
        "text='%{frame_num}':x=(w-tw)/2:y=h*0.45:fontsize=48:fontcolor=white\" ";
    const std::string blank = "-f lavfi -i color=c=black:s=256x144:r=25:d=5";
    const std::string tone = blank + " -f lavfi -i sine=frequency=440:duration=5";
    const std::string mpeg = "-c:v mpeg2video -q:v 2 -f vob";
    const std::pair<std::string, std::string> ffmpegMade[] = {
        {"clip.mpg", tone + picture + mpeg + " -c:a mp2"},
        {"silent.mpg", blank + picture + mpeg + " -an"},
        {"longgop.mpg", blank + picture + mpeg + " -g 50 -bf 2 -an"},
        {"clip.wmv", tone + picture + "-c:v wmv2 -q:v 2 -c:a wmav2 -f asf"},
        {"silent.wmv", blank + picture + "-c:v wmv2 -q:v 2 -an -f asf"},
        {"source.y4m", blank + picture + "-pix_fmt yuv420p -f yuv4mpegpipe"}};
    const std::string x264 = "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! ";
    const std::string sound =
        " audiotestsrc num-buffers=215 ! audio/x-raw,rate=44100 ! voaacenc ! aacparse ! m.";
    const std::string gstMade[][3] = {{"clip.avi", "jpegenc quality=90 ! avimux", ""},
                                      {"clip.mts", x264 + "mpegtsmux", ""},
                                      {"sound.mts", x264 + "mpegtsmux name=m", sound}};
    auto at = [&](const std::string& name) { return "'" + (dir / name).string() + "'"; };
    bool made = true;
    for (const auto& [name, arguments] : ffmpegMade) {
        made = made && run("ffmpeg -nostdin -loglevel error -y " + arguments + " " + at(name));
    }
    for (const auto& [name, chain, extra] : gstMade) {
        made = made && run("gst-launch-1.0 -q filesrc location=" + at("source.y4m") +
                           " ! y4mdec ! videoconvert ! " + chain +
                           " ! filesink location=" + at(name) + extra);
    }
    // silent.mpg behind the RIFF "CDXA" header of a video CD file (its sizes left 0).
    std::ifstream stream(dir / "silent.mpg", std::ios::binary);
    std::ofstream(dir / "clip.dat", std::ios::binary)
        << std::string("RIFF\0\0\0\0CDXA", 12) << stream.rdbuf();
    fs::remove(dir / "source.y4m");
    return made;
}

} // namespace

std::string fixtureVideo(const std::string& name) {
    // Bump the version when the recipe changes, so that no test sees videos of an older one.
    const fs::path path = fixtureFolder(fs::path(VIEWER_BIN_DIR).parent_path() / "test-fixtures",
                                        "videoctl-fixtures-v4", makeAll) /
                          name;
    EXPECT_TRUE(fs::exists(path)) << "fixture video " << name << " could not be made";
    return path.string();
}

Clip::Clip() {
    ctrl.resize(320, 240);
    ctrl.show();
    ctrl.setMessageReporter([this](const QString& caption, const QString& text) {
        messagesOnControlThread &= QThread::currentThread() == ctrl.thread();
        messages.emplace_back(caption, text);
    });
    QObject::connect(&ctrl, &CClipdeckCtrl::Complete, [this] { events.push_back(kComplete); });
    QObject::connect(&ctrl, &CClipdeckCtrl::PositionChange,
                     [this](double ms) { events.push_back(ms); });
    QCoreApplication::processEvents();
}

void Clip::open(const std::string& name) {
    ctrl.setFileName(
        QString::fromStdString(name.find('/') == std::string::npos ? fixtureVideo(name) : name));
}

void Clip::pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(ms > 0 ? 2 : 0);
    } while (timer.elapsed() < ms);
}

QImage Clip::paint() {
    QCoreApplication::processEvents();
    return ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int Clip::frameShown() {
    // Bit i of the number lies in the i-th eighth of the top quarter of the 16:9 picture
    // letterboxed in the control.
    const QImage image = paint();
    const double w = std::min<double>(ctrl.width(), ctrl.height() * 16.0 / 9);
    const QRectF picture((ctrl.width() - w) / 2, (ctrl.height() - w * 9 / 16) / 2, w, w * 9 / 16);
    int number = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const QPointF at = picture.topLeft() + QPointF((bit + 0.5) * w / 8, picture.height() / 8);
        const int blue = image.valid(at.toPoint()) ? qBlue(image.pixel(at.toPoint())) : 128;
        if (blue > 96 && blue <= 160) {
            return -1;
        }
        number |= (blue > 160 ? 1 : 0) << bit;
    }
    return number;
}

} // namespace viewer::testing
