// events FILE list | add ... | remove ... | import OTHER.tsv|.csv
// The reviewer events of a recording, kept in NAME.events.tsv beside it (or in the user's
// data folder when the recording's folder cannot be written). The recording is only read.

#include "event_commands.h"
#include "recording.h"

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace viewer::events;

namespace {

constexpr const char* kUsage =
    "usage: events FILE list\n"
    "       events FILE add --onset SECONDS --duration SECONDS --type TYPE\n"
    "                       [--channel LABEL[,LABEL...]] [--comment TEXT]\n"
    "       events FILE remove --onset SECONDS --type TYPE\n"
    "       events FILE import OTHER.tsv|OTHER.csv\n";

int usage(const std::string& problem) {
    std::fprintf(stderr, "events: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

// "--name value" pairs among `allowed`; a problem for anything else.
bool readOptions(const std::vector<std::string>& args, const std::set<std::string>& allowed,
                 std::map<std::string, std::string>& options, std::string& problem) {
    for (size_t i = 2; i < args.size(); i += 2) {
        if (allowed.count(args[i]) == 0) {
            problem = "unknown option \"" + args[i] + "\"";
            return false;
        }
        if (i + 1 >= args.size()) {
            problem = args[i] + " needs a value";
            return false;
        }
        options[args[i]] = args[i + 1];
    }
    return true;
}

struct RecordingFacts {
    int64_t lengthMs = 0;
    std::string identity;
};

// The recording's length and identity; the file is closed again on return.
std::optional<RecordingFacts> readFacts(const std::string& path) {
    viewer::Recording rec;
    if (!viewer::openRecording(rec, path) || rec.header.rate == 0) {
        return std::nullopt;
    }
    return RecordingFacts{rec.totalSamples * 1000 / rec.header.rate, identityName(rec)};
}

int finish(const CommandResult& r) {
    std::fputs(r.out.c_str(), stdout);
    if (!r.err.empty()) {
        std::fprintf(stderr, "events: %s", r.err.c_str());
    }
    return r.exitCode;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) {
        return usage("a recording and a command are needed");
    }
    const std::string& command = args[1];
    static const std::map<std::string, std::set<std::string>> kOptions = {
        {"list", {}},
        {"add", {"--onset", "--duration", "--type", "--channel", "--comment"}},
        {"remove", {"--onset", "--type"}},
    };
    std::map<std::string, std::string> options;
    std::string problem;
    const auto known = kOptions.find(command);
    if (command == "import"
            ? args.size() != 3
            : known == kOptions.end() || !readOptions(args, known->second, options, problem)) {
        return usage(problem.empty() ? "unknown command \"" + command + "\"" : problem);
    }
    const std::optional<RecordingFacts> facts = readFacts(args[0]);
    if (!facts) {
        std::fprintf(stderr, "events: %s is not a recording that can be read\n", args[0].c_str());
        return 1;
    }
    EventStore store(sidecarPlace(args[0], facts->identity, userDataFolder(), folderWritable));
    if (store.place().fallback && command != "list") {
        std::fprintf(stderr,
                     "events: the recording's folder cannot be written; the events are in %s\n",
                     store.place().tsv.c_str());
    }
    if (command == "list") {
        return finish(listEvents(store));
    }
    if (command == "add") {
        return finish(addEvent(store, options, facts->lengthMs));
    }
    if (command == "remove") {
        return finish(removeEvent(store, options));
    }
    return finish(importEvents(store, args[2]));
}
