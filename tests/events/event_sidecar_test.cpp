#include "atomic_file.h"
#include "event_import.h"
#include "event_store.h"
#include "sidecar_tsv.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace viewer::events;
using viewer::testing::TempDir;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) { return readWholeFile(path).text; }

SidecarPlace besideIn(const TempDir& dir) {
    return sidecarPlace(dir.file("rec.vwr"), "rec-id", dir.file("data"),
                        [](const std::string&) { return true; });
}

TEST(EventSidecar, RoundTripKeepsMillisecondsTextAndLines) {
    const std::vector<Event> events = {
        {0, 0, "Spike", "", {}, "anna", "2026-03-01T10:23:41Z"},
        {754250,
         1500,
         "Sharp wave",
         "tab\there, new\nline, back\\slash",
         {"Fp1 F3", "T3"},
         "anna",
         "2026-03-01T10:23:42Z"},
        {3723001, 85999, "Crisi è 発作", "n/a", {"a,b"}, "", ""},
        {1, 0, "", "\r", {}, "ü", "x"},
    };
    const std::string text = formatSidecar(events);
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "onset\tduration\ttrial_type\tchannel\tcomment\tannotator\tcreated");
    EXPECT_NE(text.find("\n754.250\t1.500\tSharp wave\tFp1 F3,T3\t"), std::string::npos);
    EXPECT_NE(text.find("\n0.000\t0.000\tSpike\tn/a\tn/a\tanna\t"), std::string::npos);
    const ParsedEvents parsed = parseEvents(text, TableKind::Tabs);
    ASSERT_TRUE(parsed.whole()) << parsed.problem;
    ASSERT_EQ(parsed.events.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        Event want = events[i];
        if (want.comment == "n/a") {
            want.comment.clear(); // the table's word for nothing
        }
        EXPECT_EQ(parsed.events[i], want) << i;
    }
}

TEST(EventSidecar, BadLinesAreNamedByNumber) {
    const std::string header = "onset\tduration\ttrial_type\n";
    struct Case {
        const char* name;
        std::string text;
        std::vector<int> bad;
    };
    const Case cases[] = {
        {"fields", header + "1\t0\n2\t0\tSpike\n", {2}},
        {"onset", header + "1\t0\tA\nx\t0\tB\n\n1e400\t0\tC\n", {3, 5}},
        {"duration", header + "1\t-1\tA\n1\tn/a\tB\n", {2}},
        {"escape", header + "1\t0\tA\\q\n", {2}},
        {"utf8", header + "1\t0\t\xE8t\xE9\n", {2}},
        {"header", "start\tlength\n1\t2\n", {1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseEvents(c.text, TableKind::Tabs).badLines, c.bad) << c.name;
    }
}

TEST(EventSidecar, BrokenSidecarOpensReadOnlyAndIsNeverOverwritten) {
    TempDir dir;
    const SidecarPlace place = besideIn(dir);
    const std::string broken = formatSidecar({{1000, 0, "Spike", "", {}, "a", "b"}}) +
                               "12.5\t0\tSeizure\tn/a\n" + "oops\t0\tA\tn/a\tn/a\tn/a\tn/a\n";
    writeText(place.tsv, broken);
    EventStore store(place);
    EXPECT_TRUE(store.readOnly());
    EXPECT_NE(store.readOnlyReason().find("lines 3 and 4"), std::string::npos)
        << store.readOnlyReason();
    EXPECT_EQ(store.events().size(), 1U);
    EventList more = store.events();
    more.add({5000, 0, "Spike", "", {}, "a", "b"});
    EXPECT_FALSE(store.commit(more).empty());
    EXPECT_TRUE(store.unsaved());
    EXPECT_EQ(readText(place.tsv), broken);
    EXPECT_FALSE(std::filesystem::exists(place.backup()));
}

TEST(EventSidecar, SaveKeepsThePreviousVersionAndTheDescription) {
    TempDir dir;
    const SidecarPlace place = besideIn(dir);
    EventStore store(place);
    ASSERT_FALSE(store.readOnly()) << store.readOnlyReason();
    EventList list;
    list.add({1000, 0, "Spike", "", {}, "a", "b"});
    ASSERT_EQ(store.commit(list), "");
    const std::string first = readText(place.tsv);
    list.add({2000, 0, "Spike", "", {}, "a", "b"});
    ASSERT_EQ(store.commit(list), "");
    EXPECT_EQ(readText(place.backup()), first);
    EXPECT_NE(readText(place.json()).find("\"trial_type\""), std::string::npos);
    EXPECT_FALSE(store.changedOnDisk());
    // Another program appends a finding: the change is seen and read.
    writeText(place.tsv, readText(place.tsv) + "9.000\t0.000\tDetector\tn/a\tn/a\tn/a\tn/a\n");
    EXPECT_TRUE(store.changedOnDisk());
    ASSERT_TRUE(store.reload());
    EXPECT_EQ(store.events().size(), 3U);
}

// A writer saving two versions in turn is killed at varied moments; the sidecar is then one
// of the two versions, whole, and no temporary file is mistaken for it.
TEST(EventSidecar, SaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    const std::string path = dir.file("rec.events.tsv");
    std::vector<std::string> versions;
    for (const int count : {2000, 3000}) {
        std::vector<Event> events;
        for (int i = 0; i < count; ++i) {
            events.push_back({i * 100LL, count, "Spike", "c", {"Fp1"}, "a", "b"});
        }
        versions.push_back(formatSidecar(events));
    }
    ASSERT_EQ(writeFileAtomically(path, versions[0]), "");
    std::mt19937 random(24);
    for (int round = 0; round < 24; ++round) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int k = 1;; ++k) {
                writeFileAtomically(path, versions[k % 2], path + ".bak");
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        const std::string now = readText(path);
        EXPECT_TRUE(now == versions[0] || now == versions[1]) << "round " << round;
        EXPECT_TRUE(parseEvents(now, TableKind::Tabs).whole());
        const std::string backup = readText(path + ".bak");
        EXPECT_TRUE(backup.empty() || backup == versions[0] || backup == versions[1]);
    }
}

TEST(EventSidecar, SecondStoreIsReadOnlyAndAStaleLockIsTakenOver) {
    TempDir dir;
    const SidecarPlace place = besideIn(dir);
    {
        EventStore first(place);
        EXPECT_FALSE(first.readOnly());
        EventStore second(place);
        EXPECT_TRUE(second.readOnly());
        EXPECT_NE(second.readOnlyReason().find(currentUser() + " on " + currentHost()),
                  std::string::npos)
            << second.readOnlyReason();
        EXPECT_NE(second.commit(EventList()), "");
    }
    EXPECT_FALSE(std::filesystem::exists(place.lock()));
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    struct Case {
        std::string host;
        bool taken;
    };
    for (const Case& c : {Case{currentHost(), true}, Case{"another-host", false}}) {
        writeText(place.lock(), "someone\n" + c.host + "\n" + std::to_string(gone) + "\n");
        EventStore store(place);
        EXPECT_EQ(store.readOnly(), !c.taken) << c.host;
    }
}

TEST(EventSidecar, UnwritableFolderFallsBackToTheDataFolderByIdentity) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("archive"));
    std::filesystem::create_directories(dir.file("copy"));
    writeText(dir.file("archive/rec.events.tsv"),
              formatSidecar({{7000, 0, "Spike", "", {}, "a", "b"}}));
    const auto readOnlyArchive = [&](const std::string& folder) {
        return folder.find("archive") == std::string::npos;
    };
    const SidecarPlace place =
        sidecarPlace(dir.file("archive/rec.vwr"), "rec-1234", dir.file("data"), readOnlyArchive);
    EXPECT_TRUE(place.fallback);
    EXPECT_EQ(place.tsv, dir.file("data/events/rec-1234.events.tsv"));
    {
        EventStore store(place);
        ASSERT_EQ(store.events().size(), 1U); // the archive's own sidecar, read
        EventList list = store.events();
        list.add({8000, 0, "Spike", "", {}, "a", "b"});
        ASSERT_EQ(store.commit(list), "");
    }
    // A copy of the recording elsewhere, also read-only, finds the same events.
    const SidecarPlace copy =
        sidecarPlace(dir.file("archive2/rec.vwr"), "rec-1234", dir.file("data"), readOnlyArchive);
    EXPECT_EQ(EventStore(copy).events().size(), 2U);
    EXPECT_FALSE(
        sidecarPlace(dir.file("copy/rec.vwr"), "rec-1234", dir.file("data"), folderWritable)
            .fallback);
}

TEST(EventSidecar, ImportMergesWithoutDuplicates) {
    TempDir dir;
    writeText(dir.file("detector.CSV"), "Onset,Duration,Description,channel\n"
                                        "1.5,0,Spike,\"Fp1,F3\"\n"
                                        "1.5,0,Spike,\"Fp1,F3\"\n"
                                        "2,0.25,\"Sharp, wave\",\n"
                                        "3,0,Spike,\n");
    const ParsedEvents parsed = readEventTable(dir.file("detector.CSV"));
    ASSERT_TRUE(parsed.whole()) << parsed.problem;
    ASSERT_EQ(parsed.events.size(), 4U);
    EXPECT_EQ(parsed.events[0].lines, (std::vector<std::string>{"Fp1", "F3"}));
    EXPECT_EQ(parsed.events[2].type, "Sharp, wave");
    EventList list;
    list.add({3000, 0, "Spike", "mine", {}, "anna", "x"});
    EXPECT_EQ(mergeEvents(list, parsed.events), 2U);
    EXPECT_EQ(mergeEvents(list, parsed.events), 0U);
    EXPECT_EQ(list.size(), 3U);
    EXPECT_EQ(list.at(2).comment, "mine");
    EXPECT_FALSE(readEventTable(dir.file("missing.tsv")).problem.empty());
}

TEST(EventList, PageQueryMatchesEveryEventThatOverlaps) {
    std::mt19937 random(7);
    std::vector<Event> events;
    for (int i = 0; i < 3000; ++i) {
        const int64_t onset = std::uniform_int_distribution<int64_t>(0, 600000)(random);
        const int64_t duration =
            i % 3 == 0
                ? 0
                : std::uniform_int_distribution<int64_t>(1, i % 50 == 0 ? 90000 : 900)(random);
        events.push_back({onset, duration, "T" + std::to_string(i % 4), "", {}, "", ""});
    }
    const EventList list(events);
    for (int64_t t0 = -5000; t0 < 700000; t0 += 9973) {
        const int64_t t1 = t0 + 10000;
        std::vector<size_t> want;
        for (size_t i = 0; i < list.size(); ++i) {
            const Event& e = list.at(i);
            if (e.onsetMs < t1 && (e.durationMs > 0 ? e.endMs() > t0 : e.onsetMs >= t0)) {
                want.push_back(i);
            }
        }
        ASSERT_EQ(list.overlapping(t0, t1), want) << t0;
        std::optional<int64_t> next;
        for (const Event& e : list.all()) {
            if (e.onsetMs > t0 && (!next || e.onsetMs < *next)) {
                next = e.onsetMs;
            }
        }
        EXPECT_EQ(list.nextOnsetAfter(t0), next);
    }
    ASSERT_TRUE(std::is_sorted(list.all().begin(), list.all().end(), eventBefore));
    EXPECT_FALSE(list.previousOnsetBefore(list.at(0).onsetMs).has_value());
}

} // namespace
