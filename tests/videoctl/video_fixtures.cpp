#include "video_fixtures.h"

#include "fixture_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace viewer::testing {

namespace {

// Bump when the recipe below changes, so that no test sees videos of an older recipe.
constexpr char kFolder[] = "videoctl-fixtures-v2";

const char* kPicture =
    "geq=r='X*255/W':g='Y*255/H':b='if(lt(Y,H/4),255*mod(floor(N/pow(2,floor(X*8/W))),2),0)',"
    "drawtext=fontfile=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf:text='%{frame_num}':"
    "x=(w-tw)/2:y=h*0.45:fontsize=48:fontcolor=white";
const char* kBlank = "-f lavfi -i color=c=black:s=256x144:r=25:d=5";
const char* kTone = "-f lavfi -i sine=frequency=440:duration=5";

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

bool ffmpeg(const fs::path& out, const std::string& inputs, const std::string& codecs) {
    return run("ffmpeg -nostdin -loglevel error -y " + inputs + " -vf \"" + kPicture + "\" " +
               codecs + " " + quoted(out));
}

bool gstEncode(const fs::path& source, const fs::path& out, const std::string& chain,
               const std::string& extra = "") {
    return run("gst-launch-1.0 -q filesrc location=" + quoted(source) +
               " ! y4mdec ! videoconvert ! " + chain + " ! filesink location=" + quoted(out) + " " +
               extra);
}

// Wraps a program stream of 2324-byte packs in RIFF "CDXA" sectors of 2352 bytes, as a
// video CD stores it: sync, header and subheader before each pack, error codes after it.
bool writeCdxa(const fs::path& stream, const fs::path& out) {
    std::ifstream in(stream, std::ios::binary);
    const std::vector<char> data((std::istreambuf_iterator<char>(in)), {});
    if (data.empty()) {
        return false;
    }
    constexpr size_t kPayload = 2324;
    std::vector<char> body;
    for (size_t at = 0; at < data.size(); at += kPayload) {
        const char head[24] = {0, -1, -1, -1, -1, -1, -1,  -1,   -1, -1, -1,  0,
                               0, 2,  0,  2,  1,  1,  100, -128, 1,  1,  100, -128};
        body.insert(body.end(), head, head + 24);
        const size_t n = std::min(kPayload, data.size() - at);
        body.insert(body.end(), data.begin() + at, data.begin() + at + n);
        body.insert(body.end(), kPayload - n + 4, 0);
    }
    auto le32 = [](uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    std::ofstream o(out, std::ios::binary);
    o << "RIFF" << le32(static_cast<uint32_t>(4 + 8 + 16 + 8 + body.size())) << "CDXA"
      << "fmt " << le32(16) << std::string(16, '\0') << "data"
      << le32(static_cast<uint32_t>(body.size()));
    o.write(body.data(), static_cast<std::streamsize>(body.size()));
    return static_cast<bool>(o);
}

bool makeAll(const fs::path& dir) {
    const std::string blank = kBlank;
    const std::string tone = kTone;
    const fs::path source = dir / "source.y4m";
    const fs::path packs = dir / "packs.mpg";
    const bool made =
        ffmpeg(dir / "clip.mpg", blank + " " + tone, "-c:v mpeg2video -q:v 2 -c:a mp2 -f vob") &&
        ffmpeg(dir / "silent.mpg", blank, "-c:v mpeg2video -q:v 2 -an -f vob") &&
        ffmpeg(dir / "longgop.mpg", blank, "-c:v mpeg2video -q:v 2 -g 50 -bf 2 -an -f vob") &&
        ffmpeg(packs, blank, "-c:v mpeg2video -q:v 2 -an -f vob -packetsize 2324") &&
        writeCdxa(packs, dir / "clip.dat") &&
        ffmpeg(dir / "clip.wmv", blank + " " + tone, "-c:v wmv2 -q:v 2 -c:a wmav2 -f asf") &&
        ffmpeg(dir / "silent.wmv", blank, "-c:v wmv2 -q:v 2 -an -f asf") &&
        ffmpeg(source, blank, "-pix_fmt yuv420p -f yuv4mpegpipe") &&
        gstEncode(source, dir / "clip.avi", "jpegenc quality=90 ! avimux") &&
        gstEncode(source, dir / "clip.mts",
                  "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mpegtsmux") &&
        gstEncode(source, dir / "sound.mts",
                  "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mpegtsmux name=m",
                  "audiotestsrc num-buffers=215 ! audio/x-raw,rate=44100 ! voaacenc ! "
                  "aacparse ! m.");
    fs::remove(source);
    fs::remove(packs);
    return made;
}

fs::path folder() {
    return viewer::testing::fixtureFolder(fs::path(VIEWER_BIN_DIR).parent_path() / "test-fixtures",
                                          kFolder, makeAll);
}

} // namespace

std::string fixtureVideo(const std::string& name) {
    const fs::path path = folder() / name;
    EXPECT_TRUE(fs::exists(path)) << "fixture video " << name << " could not be made";
    return path.string();
}

} // namespace viewer::testing
