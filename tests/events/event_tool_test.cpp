#include "atomic_file.h"
#include "event_store.h"
#include "recording_writer.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

using namespace viewer::events;
namespace vt = viewer::testing;

struct ToolRun {
    int exitCode = -1;
    std::string output; // standard output and standard error
};

ToolRun runTool(const std::string& arguments) {
    std::string command = VIEWER_BIN_DIR;
    command += "/events ";
    command += arguments;
    command += " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        run.output.append(chunk, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class EventTool : public ::testing::Test {
protected:
    void SetUp() override {
        vt::RecordingDescription d;
        d.order = {1, 2};
        d.electrodes[1] = vt::eegElectrode("Fp1");
        d.electrodes[2] = vt::eegElectrode("T3");
        d.rate = 100, d.frames = 6000; // one minute
        d.notes = {vt::note(500, "Recording note")};
        vt::writeRecording(recording, d);
        original = readWholeFile(recording).text;
    }
    vt::TempDir dir;
    std::string recording = dir.file("rec.vwr");
    std::string original;
};

TEST_F(EventTool, AddsListsRemovesAndImportsLeavingTheRecordingAsItWas) {
    std::ofstream(dir.file("other.tsv"))
        << "onset\tduration\ttrial_type\n12.5\t0\tSpike\n30\t2\tSeizure\n";
    struct Step {
        std::string arguments;
        int exitCode;
        std::string says;
    };
    const Step steps[] = {
        {"add --onset 12.5 --duration 0 --type Spike --channel Fp1,T3 --comment 'é\tx'", 0,
         "added Spike at 12.500 s"},
        {"add --onset 12.5 --duration 0 --type Spike --channel Fp1,T3", 0, "already there"},
        {"add --onset 59 --duration 2 --type Seizure", 1, "after the end of the recording"},
        {"add --onset -1 --duration 0 --type Spike", 1, "--onset takes seconds"},
        {"add --onset 1 --duration 0", 1, "--type is missing"},
        {"add --onset 1 --type Spike --bogus 1", 2, "unknown option \"--bogus\""},
        {"import " + dir.file("other.tsv"), 0, "imported 2 of 2 events"},
        {"import " + dir.file("other.tsv"), 0, "imported 0 of 2 events (2 already there)"},
        {"remove --onset 30 --type Seizure", 0, "removed Seizure at 30.000 s"},
        {"remove --onset 30 --type Seizure", 1, "there is no Seizure event at 30.000 s"},
        {"import " + dir.file("missing.csv"), 1, "cannot read"},
        {"list", 0, "12.500\t0.000\tSpike\tFp1,T3\t\xC3\xA9\\tx\t"},
    };
    for (const Step& step : steps) {
        const ToolRun run = runTool("'" + recording + "' " + step.arguments);
        EXPECT_EQ(run.exitCode, step.exitCode) << step.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(step.says), std::string::npos) << step.arguments << "\n"
                                                                 << run.output;
    }
    const ToolRun list = runTool("'" + recording + "' list");
    EXPECT_EQ(list.output.find("Recording note"), std::string::npos);
    EXPECT_EQ(std::count(list.output.begin(), list.output.end(), '\n'), 3);
    EXPECT_EQ(readWholeFile(recording).text, original);
    const std::string nothing = dir.file("nothing.vwr");
    EXPECT_EQ(runTool(nothing + " list").exitCode, 1);
}

TEST_F(EventTool, RefusesToWriteWhileTheViewerHoldsTheEvents) {
    const EventStore window(sidecarPlace(recording, "id", dir.file("data"), folderWritable));
    const ToolRun run = runTool("'" + recording + "' add --onset 1 --duration 0 --type Spike");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("held by " + currentUser()), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir.file("rec.events.tsv")));
}

} // namespace
