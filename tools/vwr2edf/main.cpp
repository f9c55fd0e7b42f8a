// vwr2edf FILE.vwr [OUT.edf|OUT.bdf] [--from T] [--to T] [--force]
// Writes the recording (or the frames from T to T, each a clock time "10:23:45" or elapsed
// seconds) in the format OUT's name asks for (without OUT as EDF+, BDF+ for 4-byte samples),
// prints progress on standard error and one line of summary at the end. Ctrl-C cancels and
// removes what was begun. Arguments it cannot carry out end it with status 2, --help with 0.

#include "edf_export.h"
#include "event_text.h"
#include "recording.h"
#include "stretches.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <pthread.h>

namespace {

constexpr const char* kUsage =
    "usage: vwr2edf FILE.vwr [OUT.edf|OUT.bdf] [--from T] [--to T] [--force]\n"
    "  writes FILE.vwr as EDF+ (OUT.edf) or BDF+ (OUT.bdf); without OUT, FILE.edf (FILE.bdf\n"
    "  for 4-byte samples)\n"
    "  T is a clock time (10:23:45) or seconds from the start of the file\n";

struct Arguments {
    std::string input;
    std::string output;
    viewer::edf::ExportRequest::Format format = viewer::edf::ExportRequest::Format::AsSamples;
    std::string from;
    std::string to;
    bool force = false;
    bool help = false;
    std::string error; // why the arguments are refused
};

// The format the output's name asks for; a device (/dev/null) takes the samples' own.
void chooseFormat(Arguments& a) {
    std::error_code ec;
    const std::filesystem::path out(a.output);
    if (std::filesystem::exists(out, ec) && !std::filesystem::is_regular_file(out, ec)) {
        return;
    }
    const auto format = viewer::edf::formatNamed(a.output);
    if (format) {
        a.format = *format;
    } else {
        a.error = a.output + ": the output's name must end in .edf (EDF+) or .bdf (BDF+)";
    }
}

Arguments parse(const std::vector<std::string>& args) {
    Arguments a;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size() && a.error.empty(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            a.help = true;
            return a;
        }
        if (args[i] == "--force") {
            a.force = true;
        } else if (args[i] == "--from" || args[i] == "--to") {
            if (i + 1 == args.size()) {
                a.error = args[i] + " needs a time";
            } else {
                std::string& time = args[i] == "--from" ? a.from : a.to;
                time = args[++i];
            }
        } else if (args[i].rfind("--", 0) == 0) {
            a.error = "unknown option " + args[i];
        } else {
            paths.push_back(args[i]);
        }
    }
    if (a.error.empty() && (paths.empty() || paths.size() > 2)) {
        a.error = paths.empty() ? "no recording named" : "more than one output named";
    }
    if (!a.error.empty()) {
        return a;
    }
    a.input = paths[0];
    if (paths.size() == 2) {
        a.output = paths[1];
        chooseFormat(a);
    } else {
        a.output = std::filesystem::path(a.input).replace_extension(".edf").string();
    }
    return a;
}

// Waits for Ctrl-C (blocked in every thread, taken here) until the export is over.
class InterruptWatch {
public:
    InterruptWatch() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set_, nullptr);
        thread_ = std::thread([this] {
            const timespec wait{0, 100'000'000};
            while (!over_) {
                if (sigtimedwait(&set_, nullptr, &wait) > 0) {
                    interrupted_ = true;
                }
            }
        });
    }
    ~InterruptWatch() {
        over_ = true;
        thread_.join();
    }
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;
    bool interrupted() const { return interrupted_; }

private:
    sigset_t set_{};
    std::atomic<bool> over_{false};
    std::atomic<bool> interrupted_{false};
    std::thread thread_;
};

std::optional<int64_t> timeArgument(const viewer::Recording& rec, const std::string& text,
                                    int64_t fallback) {
    if (text.empty()) {
        return fallback;
    }
    const auto frame = viewer::edf::frameAtTime(rec, text);
    if (!frame) {
        std::fprintf(stderr, "vwr2edf: not a time: %s\n", text.c_str());
    }
    return frame;
}

// The reviewer events of the recording at `path`, as annotations.
std::vector<viewer::edf::ExportRequest::Annotation> eventAnnotations(const viewer::Recording& rec,
                                                                     const std::string& path) {
    namespace ev = viewer::events;
    std::string warning;
    const ev::SidecarPlace place =
        ev::sidecarPlace(path, ev::identityName(rec), ev::userDataFolder(), ev::folderWritable);
    std::vector<viewer::edf::ExportRequest::Annotation> annotations;
    for (const ev::Event& e : ev::readEventsOnly(place, warning)) {
        annotations.push_back({e.onsetMs, e.durationMs, ev::annotationText(e)});
    }
    if (!warning.empty()) {
        std::fprintf(stderr, "vwr2edf: warning: %s\n", warning.c_str());
    }
    return annotations;
}

} // namespace

int main(int argc, char** argv) {
    const Arguments args = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (args.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "vwr2edf: %s\n%s", args.error.c_str(), kUsage);
        return 2;
    }
    viewer::Recording rec;
    if (!viewer::openRecording(rec, args.input)) {
        std::fprintf(stderr, "vwr2edf: %s is not a readable trace file\n", args.input.c_str());
        return 1;
    }
    const auto from = timeArgument(rec, args.from, 0);
    const auto to = timeArgument(rec, args.to, viewer::edf::exportableFrames(rec));
    if (!from || !to) {
        return 2;
    }
    if (*to <= *from) {
        std::fprintf(stderr, "vwr2edf: no samples lie between %s and %s\n",
                     args.from.empty() ? "the start" : args.from.c_str(),
                     args.to.empty() ? "the end" : args.to.c_str());
        return 2;
    }
    InterruptWatch interrupt;
    viewer::edf::ExportRequest request;
    request.output = args.output;
    request.format = args.format;
    request.firstFrame = *from;
    request.endFrame = *to;
    request.overwrite = args.force;
    request.annotations = eventAnnotations(rec, args.input);
    int shown = -1;
    request.progress = [&](int64_t done, int64_t total) {
        const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
        if (percent != shown) {
            std::fprintf(stderr, "\rvwr2edf: %3d%%", percent);
            shown = percent;
        }
        return !interrupt.interrupted();
    };
    const auto result = viewer::edf::exportRecording(rec, request);
    if (shown >= 0) {
        std::fputc('\n', stderr);
    }
    for (const std::string& w : result.warnings) {
        std::fprintf(stderr, "vwr2edf: warning: %s\n", w.c_str());
    }
    if (result.outcome != viewer::edf::ExportResult::Outcome::Written) {
        std::fprintf(stderr, "vwr2edf: %s; nothing written\n", result.error.c_str());
        return 1;
    }
    std::printf("%s\n", viewer::edf::summaryLine(result, rec.header.rate).c_str());
    return 0;
}
