// Which file the video window loads for a video number, next to the trace file.

#include "temp_dir.h"
#include "video_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace viewer::testing {
namespace {

class VideoPathChoice : public ::testing::Test {
protected:
    void place(std::initializer_list<const char*> names, const std::string& sub = "") {
        std::filesystem::create_directories(dir.path() / sub);
        for (const char* name : names) {
            std::ofstream((dir.path() / sub / name).string()) << "video";
        }
    }
    QString path(const std::string& relative) const {
        return QString::fromStdString((dir.path() / relative).string());
    }
    QString choose(const std::string& trace, int32_t number) const {
        return VideoPath::choose(path(trace), number, QStringLiteral("/opt/viewer"));
    }

    TempDir dir;
};

TEST_F(VideoPathChoice, NumberedFilesComeFirstInTheOrderOfTheirExtensions) {
    place({"rec_2.wmv", "rec_2.mpg", "rec.avi"});
    EXPECT_EQ(choose("rec.vwr", 2), path("rec_2.mpg"));
    place({"rec_2.avi"});
    EXPECT_EQ(choose("rec.vwr", 2), path("rec_2.avi"));
    place({"rec_3.mpe", "rec_4.mts"});
    EXPECT_EQ(choose("rec.vwr", 3), path("rec_3.mpe"));
    EXPECT_EQ(choose("rec.vwr", 4), path("rec_4.mts"));
    place({"rec_10.asf"});
    EXPECT_EQ(choose("rec.vwr", 10), path("rec_10.asf"));
    EXPECT_EQ(choose("rec.vwr", 1), path("rec.avi")) << "then the trace's own name";
    EXPECT_EQ(choose("other.vwr", 1), path("other.mpe")) << "nothing found: mpe unchecked";
    EXPECT_EQ(choose("rec.vwr", 0), path("rec.avi"));
}

TEST_F(VideoPathChoice, TheSingleOlderVideoReplacesTheTraceExtension) {
    place({"rec.mts", "rec.wmv", "rec_1.avi"});
    EXPECT_EQ(choose("rec.vwr", -2), path("rec.wmv"));
    place({"rec.mpg"});
    EXPECT_EQ(choose("rec.vwr", -2), path("rec.mpg"));
    EXPECT_EQ(choose("none.vwr", -2), path("none.mpe"));
}

TEST_F(VideoPathChoice, NoVideoIsThePlaceholderInTheProgramFolder) {
    EXPECT_EQ(choose("rec.vwr", -1), QStringLiteral("/opt/viewer/noVideo.mpg"));
    EXPECT_EQ(VideoPath::choose(QString(), -1, QStringLiteral("/opt/viewer")),
              QStringLiteral("/opt/viewer/noVideo.mpg"));
    EXPECT_EQ(VideoPath::choose(QString(), 1, QStringLiteral("/opt/viewer")), QString());
}

TEST_F(VideoPathChoice, TheExtensionIsTakenFromTheFileNameNeverFromAFolder) {
    place({"patient_1.mpg", "patient.avi"}, "study.2024");
    EXPECT_EQ(choose("study.2024/patient.vwr", 1), path("study.2024/patient_1.mpg"));
    EXPECT_EQ(choose("study.2024/patient", 1), path("study.2024/patient_1.mpg"))
        << "a trace path without extension is the stem as it stands";
    EXPECT_EQ(choose("study.2024/patient", -2), path("study.2024/patient.avi"));
    EXPECT_EQ(choose("study.2024/patient.x.vwr", 1), path("study.2024/patient.x.mpe"))
        << "only the last dot of the name starts the extension";
}

TEST_F(VideoPathChoice, NamesDifferingOnlyInCaseAreFound) {
    place({"PATIENT_1.MPG", "Patient.Avi", "patient_2.MPG", "patient_2.wmv"});
    EXPECT_EQ(choose("patient.vwr", 1), path("PATIENT_1.MPG"));
    EXPECT_EQ(choose("patient.vwr", -2), path("Patient.Avi"));
    EXPECT_EQ(choose("patient.vwr", 2), path("patient_2.MPG")) << "the extension order holds";
    EXPECT_EQ(choose("patient.vwr", 3), path("Patient.Avi"));
}

} // namespace
} // namespace viewer::testing
