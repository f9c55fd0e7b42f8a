#include "demo_videos.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX declares it nowhere

namespace demo {

namespace {

constexpr char kFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr char kClockFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

std::string seconds(int64_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(milliseconds / 1000),
                  static_cast<long long>(milliseconds % 1000));
    return text;
}

// Runs `command` and waits for it; whether it ran and succeeded.
bool run(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& a : command) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

std::vector<viewer::VideoRecord> demoVideoIndex() {
    return {{2000, 598000, 1}, {615000, 580000, 2}};
}

std::string demoVideoPath(const std::string& tracePath, int32_t fileNumber) {
    std::filesystem::path path(tracePath);
    const std::string stem = path.stem().string();
    path.replace_filename(stem + "_" + std::to_string(fileNumber) + ".mpg");
    return path.string();
}

std::vector<std::string> demoVideoCommand(const std::string& path,
                                          const viewer::VideoRecord& record,
                                          int32_t clockStartSeconds) {
    const int64_t clockMs = int64_t{clockStartSeconds} * 1000 + record.startMs;
    const std::string card = "color=c=0x1a2430:s=320x240:r=25:d=" + seconds(record.lengthMs);
    const std::string picture =
        "drawbox=x='mod(t*64\\,iw-16)':y=204:w=16:h=16:color=0x60a0e0:t=fill,"
        "drawtext=fontfile=" +
        std::string(kFont) + ":fontcolor=0xb0b8c0:fontsize=16:x=10:y=10:text='Demo camera  file " +
        std::to_string(record.fileNumber) + "',drawtext=fontfile=" + kClockFont +
        ":fontcolor=white:fontsize=34:x=(w-tw)/2:y=(h-th)/2:text='%{pts\\:hms\\:" +
        seconds(clockMs) + "}'";
    return {"ffmpeg", "-nostdin", "-loglevel", "error", "-y",   "-f",         "lavfi",
            "-i",     card,       "-vf",       picture, "-c:v", "mpeg2video", "-g",
            "12",     "-q:v",     "5",         "-an",   "-f",   "vob",        path};
}

void writeDemoVideos(const std::string& tracePath, const viewer::testing::RecordingDescription& d) {
    const int32_t clockStart = d.recHour * 3600 + d.recMinute * 60 + d.recSecond;
    for (const viewer::VideoRecord& record : d.videos) {
        const std::string path = demoVideoPath(tracePath, record.fileNumber);
        if (!run(demoVideoCommand(path, record, clockStart))) {
            throw std::runtime_error("cannot make the video " + path + " (is ffmpeg installed?)");
        }
    }
}

} // namespace demo
