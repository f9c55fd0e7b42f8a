// Montage files: the documented format read and written back, malformed files rejected with
// a reason, skipped in a folder and never written over.

#include "montage_files.h"
#include "montage_json.h"
#include "temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

QString folderOf(const TempDir& dir) { return QString::fromStdString(dir.file("montages")); }

void put(const QString& folder, const QString& name, const QByteArray& text) {
    QDir().mkpath(folder);
    QFile file(folder + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The example of the format, written by hand, and every field it can take.
TEST(MontageFiles, TheFormatReadsAndWritesBack) {
    const QByteArray text = R"({"name": "Mine", "lines": [
        {"label": "F3-F7", "terms": [{"electrode": "F3", "weight": 1}, {"electrode": "F7",
         "weight": -1}], "colour": "#0000c0", "inverted": false, "gain_uv_per_cm": null,
         "high_pass_hz": null, "low_pass_hz": null, "notch": null, "hidden": false},
        {"label": "ECG", "terms": [{"electrode": "EEG ECG1", "weight": 0.5}], "inverted": true,
         "gain_uv_per_cm": 500, "high_pass_hz": 0, "low_pass_hz": 30.5, "notch": 60,
         "hidden": true, "comment": "fields the format does not know are passed over"}]})";
    MontageDefinition def;
    QString error;
    ASSERT_TRUE(montageFromJson(text, def, error)) << error.toStdString();
    MontageLine first;
    first.label = "F3-F7";
    first.terms = {{"F3", 1}, {"F7", -1}};
    first.colour = 0x0000c0u;
    MontageLine second{"ECG", {{"EEG ECG1", 0.5}}, std::nullopt, true, 500, 0.0,
                       30.5,  LineNotch::Hz60,     true};
    EXPECT_EQ(def, (MontageDefinition{"Mine", {first, second}}));

    TempDir dir;
    ASSERT_TRUE(writeMontageFile(folderOf(dir), def, error)) << error.toStdString();
    def.lines[0].notch = LineNotch::Off;
    ASSERT_TRUE(writeMontageFile(folderOf(dir), def, error)) << "replaces its own file";
    MontageDefinition back;
    ASSERT_TRUE(readMontageFile(folderOf(dir) + "/Mine.json", back, error));
    EXPECT_EQ(back, def);
    EXPECT_EQ(QDir(folderOf(dir)).entryList(QDir::Files), QStringList{"Mine.json"})
        << "nothing left beside it";
    EXPECT_EQ(montageFileName("a/b\\c"), "a_b_c.json");
    EXPECT_EQ(montageFileName(".hidden"), "_.hidden.json");
}

TEST(MontageFiles, MalformedDocumentsSayWhatIsWrong) {
    const auto line = [](const char* fields) {
        return QByteArray(R"({"name": "M", "lines": [{"label": "a", "terms": []}, {"label": "b",
                             "terms": [{"electrode": "Cz", "weight": 1}])") +
               fields + "}]}";
    };
    QByteArray tooMany = R"({"name": "M", "lines": [)";
    for (int i = 0; i < 129; ++i) {
        tooMany += QByteArray(i ? "," : "") + R"({"label": "x", "terms": []})";
    }
    const struct {
        QByteArray text;
        const char* reason;
    } cases[] = {
        {"{\"name\": \"M\", \"lines\": [", "not JSON"},
        {"[]", "needs a \"name\""},
        {R"({"name": " ", "lines": []})", "needs a \"name\""},
        {R"({"name": "M", "lines": {}})", "\"lines\" list"},
        {R"({"name": "M", "lines": [{"terms": []}]})", "line 1: a line must be"},
        {R"({"name": "M", "lines": [{"label": "a"}]})", "line 1: \"terms\" must be a list"},
        {R"({"name": "M", "lines": [{"label": "a", "terms": [{"electrode": "Cz"}]}]})",
         "each term needs"},
        {R"({"name": "M", "lines": [{"label": "a", "terms": [{"electrode": "", "weight": 1}]}]})",
         "each term needs"},
        {line(R"(, "colour": "blue")"), "line 2: \"colour\""},
        {line(R"(, "inverted": "yes")"), "line 2: \"inverted\""},
        {line(R"(, "gain_uv_per_cm": 0)"), "line 2: \"gain_uv_per_cm\""},
        {line(R"(, "gain_uv_per_cm": "70")"), "line 2: \"gain_uv_per_cm\""},
        {line(R"(, "high_pass_hz": -1)"), "line 2: \"high_pass_hz\""},
        {line(R"(, "low_pass_hz": 0)"), "line 2: \"low_pass_hz\""},
        {line(R"(, "notch": 55)"), "line 2: \"notch\""},
        {line(R"(, "notch": true)"), "line 2: \"notch\""},
        {line(R"(, "hidden": 1)"), "line 2: \"hidden\""},
        {tooMany + "]}", "129 lines shown, at most 128"},
    };
    for (const auto& c : cases) {
        MontageDefinition def{"untouched", {}};
        QString error;
        EXPECT_FALSE(montageFromJson(c.text, def, error)) << c.text.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
        EXPECT_EQ(def.name, "untouched");
    }
}

// A folder: montages in file-name order; a malformed file and a second file of a name
// already read are skipped and named; a malformed file is never written over.
TEST(MontageFiles, AFolderSkipsAndKeepsWhatDoesNotRead) {
    TempDir dir;
    const QString folder = folderOf(dir);
    EXPECT_TRUE(readMontageFolder(folder).montages.empty()) << "no folder yet";
    put(folder, "b.json", R"({"name": "Beta", "lines": []})");
    put(folder, "a.json", R"({"name": "Alpha", "lines": []})");
    put(folder, "c.json", R"({"name": "Alpha", "lines": []})");
    put(folder, "Broken.json", "{\"name\": \"Broken\", \"lines\": [}");
    put(folder, "notes.txt", "not a montage");
    const MontageFolderContents read = readMontageFolder(folder);
    ASSERT_EQ(read.montages.size(), 2u);
    EXPECT_EQ(read.montages[0].name, "Alpha");
    EXPECT_EQ(read.files, (std::vector<QString>{"a.json", "b.json"}));
    ASSERT_EQ(read.problems.size(), 2u);
    EXPECT_EQ(read.problems[0].file, "Broken.json");
    EXPECT_EQ(read.problems[1].file, "c.json");
    EXPECT_TRUE(read.problems[1].reason.contains("Alpha"));

    QString error;
    EXPECT_FALSE(writeMontageFile(folder, MontageDefinition{"Broken", {}}, error));
    EXPECT_TRUE(error.contains("kept as it is"));
    EXPECT_EQ(bytesOf(folder + "/Broken.json"), "{\"name\": \"Broken\", \"lines\": [}");
}

} // namespace
} // namespace viewer::testing
