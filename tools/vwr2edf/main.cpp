// vwr2edf FILE.vwr [OUT.edf|OUT.bdf] [--from T] [--to T] [--force]
// Writes the recording (or the frames from T to T, each a clock time "10:23:45" or elapsed
// seconds) as EDF+ (BDF+ for 4-byte samples), prints progress on standard error and one line
// of summary at the end. Ctrl-C cancels and removes what was begun.

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
    "  T is a clock time (10:23:45) or seconds from the start of the file\n";

struct Arguments {
    std::string input;
    std::string output;
    std::string from;
    std::string to;
    bool force = false;
};

std::optional<Arguments> parse(const std::vector<std::string>& args) {
    Arguments a;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--force") {
            a.force = true;
        } else if ((args[i] == "--from" || args[i] == "--to") && i + 1 < args.size()) {
            (args[i] == "--from" ? a.from : a.to) = args[i + 1];
            ++i;
        } else if (args[i].rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.empty() || paths.size() > 2) {
        return std::nullopt;
    }
    a.input = paths[0];
    a.output = paths.size() == 2
                   ? paths[1]
                   : std::filesystem::path(a.input).replace_extension(".edf").string();
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
    const auto args = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!args) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    viewer::Recording rec;
    if (!viewer::openRecording(rec, args->input)) {
        std::fprintf(stderr, "vwr2edf: %s is not a readable trace file\n", args->input.c_str());
        return 1;
    }
    const auto from = timeArgument(rec, args->from, 0);
    const auto to = timeArgument(rec, args->to, -1);
    if (!from || !to) {
        return 2;
    }
    InterruptWatch interrupt;
    viewer::edf::ExportRequest request;
    request.output = args->output;
    request.firstFrame = *from;
    request.endFrame = *to;
    request.overwrite = args->force;
    request.annotations = eventAnnotations(rec, args->input);
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
