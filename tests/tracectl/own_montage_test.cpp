// Montages defined outside the recording on the trace control: drawn exactly as a recorded
// montage of the same lines, and chosen by name in tracecall and page-export.

#include "fixture.h"
#include "montage_files.h"
#include "montages.h"
#include "recorded_definition.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace viewer::testing {
namespace {

// Every kind of line: no input, an electrode against the zero level, the zero level less an
// electrode, A - B, an electrode not acquired; each in another colour.
RecordingDescription mixedRecording() {
    RecordingDescription d = montageRecording(256, 30);
    d.sample = [](int64_t f, int c) {
        return static_cast<int32_t>(32768 + 300 * std::sin(0.05 * f * (c + 1)) + 50 * c);
    };
    MontageRecord& mixed = d.montages[2];
    for (int i = 0; i < mixed.numLines; ++i) {
        mixed.colourCode[i] = static_cast<uint8_t>(3 + 2 * i);
    }
    mixed.gain[3] = 50; // a line off the prevailing settings carries the warning marker
    return d;
}

MontageLine line(const char* label, std::vector<MontageTerm> terms) {
    MontageLine l;
    l.label = label;
    l.terms = std::move(terms);
    return l;
}

TEST(OwnMontage, DrawsAsTheRecordedMontageOfTheSameLines) {
    Ctrl f;
    ASSERT_EQ(f.open(mixedRecording()), 0);
    f.ctrl.setTraceOverLabel(false);
    f.ctrl.setGridType(3);
    f.ctrl.setNumMont(32);
    ASSERT_EQ(f.montageName(), "Mixed");
    f.ctrl.DrawPage(3);
    const QImage recordedStatic = f.ctrl.staticLayer();
    const QImage recorded = f.ctrl.pageLayer();
    const std::vector<float> values = f.values(3);

    // The same lines by electrode name, the labels and colours the recording gives them
    // (input 0 is labelled with the reference's name).
    MontageDefinition def{"Same",
                          {line("G2 G2", {}), line("G2 Fp1", {{"Fp1", 1}}),
                           line("Fp2 G2", {{"Fp2", -1}}), line("F3 Fp1", {{"Fp1", 1}, {"F3", -1}}),
                           line("C4 Fp1", {{"Fp1", 1}, {"C4", -1}})}};
    for (size_t i = 0; i < def.lines.size(); ++i) {
        def.lines[i].colour = f.ctrl.traceColours()[paletteIndex(3 + 2 * i)] & 0xFFFFFF;
    }
    def.lines[3].gainUvPerCm = 50;
    ASSERT_TRUE(f.ctrl.showMontage(def));
    EXPECT_EQ(f.ctrl.ownMontageName(), "Same");
    EXPECT_FALSE(f.ctrl.gratis());
    f.ctrl.DrawPage(3);
    EXPECT_EQ(f.ctrl.staticLayer(), recordedStatic);
    EXPECT_EQ(f.ctrl.pageLayer(), recorded);
    EXPECT_EQ(f.values(3), values);
    f.ctrl.setNumMont(30);
    EXPECT_TRUE(f.ctrl.ownMontageName().isEmpty()) << "a recorded montage replaces it";
}

// A recorded montage copied as a start of one's own draws the same page: its lines' own
// gain where it differs from the page's, and nothing else of its own.
TEST(OwnMontage, ACopyOfTheRecordedMontageDrawsTheSamePage) {
    Ctrl f;
    ASSERT_EQ(f.open(mixedRecording()), 0);
    f.ctrl.setNumMont(32);
    f.ctrl.DrawPage(3);
    const QImage recorded = f.ctrl.pageLayer();
    std::array<uint32_t, 48> palette{};
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = f.ctrl.traceColours()[i] & 0xFFFFFF;
    }
    const MontageDefinition copy = recordedDefinition(f.ctrl.recording(), palette);
    EXPECT_EQ(copy.name, "Mixed");
    ASSERT_EQ(copy.lines.size(), 5u);
    EXPECT_EQ(copy.lines[3].terms, (std::vector<MontageTerm>{{"Fp1", 1}, {"F3", -1}}));
    for (size_t i = 0; i < copy.lines.size(); ++i) {
        EXPECT_EQ(copy.lines[i].gainUvPerCm, i == 3 ? std::optional<int32_t>(50) : std::nullopt);
        EXPECT_FALSE(copy.lines[i].highPassHz || copy.lines[i].lowPassHz || copy.lines[i].notch);
    }
    ASSERT_TRUE(f.ctrl.showMontage(copy));
    f.ctrl.DrawPage(3);
    EXPECT_EQ(f.ctrl.pageLayer(), recorded);
}

// Runs `program` with the user's configuration in `config`; its exit code and output.
std::pair<int, QByteArray> run(const char* program, const QStringList& args,
                               const TempDir& config) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VIEWER_BIN_DIR "/") + program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput()};
}

// A montage file written by hand is offered by its name, with the standard montages.
TEST(OwnMontage, AHandWrittenFileIsChosenByNameInTheTools) {
    Ctrl f;
    writeRecording(f.dir.file("rec.vwr"), mixedRecording());
    TempDir config;
    const QString folder = QString::fromStdString(config.file("Viewer/montages"));
    QDir().mkpath(folder);
    QFile file(folder + "/hand.json");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"name": "Hand made", "lines": [{"label": "F3 inverted", "terms":
        [{"electrode": "EEG F3-REF", "weight": 1}], "inverted": true, "colour": "#00a000"}]})");
    file.close();
    const QString open = "FileName(\"" + f.path("rec.vwr") + "\")";
    const auto [code, out] = run(
        "tracecall",
        {open, "@use(\"Hand made\")", "@montage", "DrawPage(0)", "@trace(0)", "@use(\"no such\")"},
        config);
    EXPECT_EQ(code, 2) << "the unknown name";
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6) << out.toStdString();
    const QJsonObject montage = QJsonDocument::fromJson(lines[2]).object()["result"].toObject();
    EXPECT_EQ(montage["name"].toString(), "Hand made");
    const QJsonObject first = montage["lines"].toArray()[0].toObject();
    EXPECT_EQ(first["terms"].toArray()[0].toObject()["weight"].toDouble(), -1.0);
    EXPECT_EQ(first["colour"].toString(), "#00a000");
    EXPECT_EQ(QJsonDocument::fromJson(lines[4]).object()["result"].toArray().size(), 2560);
    EXPECT_TRUE(lines[5].contains("Hand made") && lines[5].contains("Double banana") &&
                lines[5].contains("Mixed"))
        << "names the montages offered: " << lines[5].toStdString();

    const auto [exported, said] =
        run("page-export",
            {f.path("rec.vwr"), "--at", "0", "--montage", "hand made", "--out", f.path("page.png")},
            config);
    EXPECT_EQ(exported, 0) << said.toStdString();
    EXPECT_TRUE(QFile::exists(f.path("page.png")));
}

} // namespace
} // namespace viewer::testing
