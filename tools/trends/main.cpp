// trends: computes the trends of a recording (spectral array, aEEG, asymmetry, suppression)
// on every core and writes them as CSV files, and with --png the trend panel's picture.

#include "CViewerCtrl.h"
#include "TrendMontages.h"
#include "TrendsPicture.h"
#include "montage_catalogue.h"
#include "trend_csv.h"
#include "trend_engine.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <chrono>
#include <cstdio>

namespace tr = viewer::trends;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

void say(const QString& text) { std::fprintf(stderr, "trends: %s\n", qPrintable(text)); }

// The montage named `name` among the montage list of `ctrl`'s recording; false, with the
// montages offered in `error`, when there is none.
bool montageNamed(CViewerCtrl& ctrl, const QString& name, tr::TrendMontage& out, QString& error) {
    const MontageCatalogue catalogue = MontageCatalogue::withUserMontages(ctrl, say);
    const OfferedMontage* entry = catalogue.chooseNamed(ctrl, name, error);
    if (entry == nullptr) {
        return false;
    }
    std::vector<viewer::MontageDefinition> definitions = catalogue.standard();
    definitions.insert(definitions.end(), catalogue.own().begin(), catalogue.own().end());
    out = montageOnScreen(ctrl, definitions);
    out.name = entry->name.toStdString();
    return true;
}

bool writePicture(const QString& path, const tr::TrendData& d, CViewerCtrl& ctrl) {
    QImage image(1600, 640, QImage::Format_RGB32);
    TrendsView view;
    view.to = d.rate > 0 ? d.frames / d.rate : 0.0;
    view.lowDb = -10.0;
    view.highDb = 30.0;
    view.startClock = ctrl.GetMont(0) % 86400;
    for (int i = 0; ctrl.GetPosNote(i) > 0; ++i) {
        view.notes.push_back(ctrl.GetPosNote(i));
    }
    QPainter p(&image);
    drawTrends(p, image.rect(), d, view);
    p.end();
    return image.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes the trends of a recording (spectral array, aEEG, asymmetry, suppression) as CSV.");
    parser.addHelpOption();
    parser.addPositionalArgument("FILE", "the recording");
    parser.addOptions({
        {"out", "the folder the files are written to (made when missing)", "DIR"},
        {"segment", "seconds per segment, 2 to 60 (default 10)", "S", "10"},
        {"montage", "the montage's name (default: Double banana, else the recording's)", "NAME"},
        {"png", "also draw the trend panel to DIR/trends.png"},
    });
    if (!parser.parse(app.arguments())) {
        say(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet("help")) {
        parser.showHelp(0);
    }
    bool number = false;
    const double segment = parser.value("segment").toDouble(&number);
    if (parser.positionalArguments().size() != 1 || !parser.isSet("out")) {
        say(QStringLiteral("usage: trends FILE --out DIR [--segment S] [--montage NAME] [--png]"));
        return kExitUsage;
    }
    if (!number || !(segment >= tr::kMinSegment && segment <= tr::kMaxSegment)) {
        say(QStringLiteral("--segment must be a number of seconds from 2 to 60"));
        return kExitUsage;
    }
    const QString file = parser.positionalArguments().first();
    const QString out = parser.value("out");
    CViewerCtrl ctrl;
    if (ctrl.FileName(file) != 0 || !ctrl.recording().isOpen()) {
        say(QStringLiteral("cannot open %1 as a recording").arg(file));
        return kExitFailed;
    }
    tr::TrendMontage montage;
    QString error;
    if (parser.isSet("montage") && !montageNamed(ctrl, parser.value("montage"), montage, error)) {
        say(error);
        return kExitUsage;
    }
    if (!parser.isSet("montage")) {
        montage = trendMontage(ctrl, {});
    }
    if (!QDir().mkpath(out)) {
        say(QStringLiteral("cannot make the folder %1").arg(out));
        return kExitFailed;
    }
    tr::TrendEngine engine;
    std::string why;
    if (!engine.open({QFile::encodeName(file).toStdString(), montage, segment, 0.0, 0, false},
                     why)) {
        say(QString::fromStdString(why));
        return kExitFailed;
    }
    const int total = engine.layout().segments;
    say(QStringLiteral("%1 segments of %2 s, %3 lines of \"%4\"")
            .arg(total)
            .arg(segment)
            .arg(engine.layout().lines())
            .arg(QString::fromStdString(montage.name)));
    std::atomic<int> done{0};
    std::atomic<int> shown{-1};
    engine.start(
        [&](const tr::BlockResult& b) {
            const int percent = 100 * (done += b.count) / std::max(total, 1);
            // Every tenth percent once, whichever worker gets there.
            if (percent / 10 > shown.load() && shown.exchange(percent / 10) < percent / 10) {
                say(QStringLiteral("%1 %").arg(percent / 10 * 10));
            }
        },
        {});
    engine.wait();
    const tr::TrendData& d = engine.result();
    const std::string failed = tr::writeTrendCsv(QFile::encodeName(out).toStdString(), d);
    if (!failed.empty()) {
        say(QStringLiteral("cannot write %1").arg(QString::fromStdString(failed)));
        return kExitFailed;
    }
    if (parser.isSet("png") && !writePicture(QDir(out).filePath("trends.png"), d, ctrl)) {
        say(QStringLiteral("cannot write %1").arg(QDir(out).filePath("trends.png")));
        return kExitFailed;
    }
    say(QStringLiteral("wrote cdsa.csv, aeeg.csv, asymmetry.csv, suppression.csv%1 in %2")
            .arg(parser.isSet("png") ? QStringLiteral(", trends.png") : QString(), out));
    return 0;
}
