// page-export: pages of a recording to PDF, PNG or SVG for reports, without a display.
//   page-export FILE --at 10:23:45|SECONDS [--pages N] [--montage "As recorded"|all|NUMBER|NAME]
//               [--gain UV_PER_CM] [--page-seconds S] [--size WxH] [--dpi D] --out OUT

#include "CViewerCtrl.h"
#include "EventMarks.h"
#include "event_text.h"
#include "montage_catalogue.h"
#include "page_files.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTime>

#include <cstdio>

namespace {

constexpr int16_t kFirstArchivedMontage = 30;
constexpr int32_t kGridGrey = 0x808080;

// Gains the program offers, in µV/cm.
constexpr int32_t kLeastGain = 1;
constexpr int32_t kGreatestGain = 1000000;
// PNG and SVG sizes and resolutions the page files are written at.
constexpr int kMaxPixels = 16384;
constexpr double kLeastDpi = 10;
constexpr double kGreatestDpi = 2400;
// A page draws at least this many samples of each line.
constexpr uint32_t kLeastPageSamples = 2;

int fail(const QString& message) {
    std::fprintf(stderr, "page-export: %s\n", qPrintable(message));
    return 1;
}

// An argument the tool cannot carry out.
int refuse(const QString& message) {
    std::fprintf(stderr, "page-export: %s\n", qPrintable(message));
    return 2;
}

void say(const QString& message) { std::fprintf(stderr, "page-export: %s\n", qPrintable(message)); }

// The values of the options that need no recording, or why one is refused.
struct Values {
    int pages = 1;
    double dpi = 150;
    QSize size;
    QString error;
};

Values checkValues(const QCommandLineParser& parser) {
    Values v;
    bool ok = false;
    v.pages = parser.value("pages").toInt(&ok);
    if (!ok || v.pages < 1) {
        v.error = QStringLiteral("--pages must be a whole number of pages from 1 on (got %1)")
                      .arg(parser.value("pages"));
        return v;
    }
    v.dpi = parser.value("dpi").toDouble(&ok);
    if (!ok || !(v.dpi >= kLeastDpi && v.dpi <= kGreatestDpi)) {
        v.error = QStringLiteral("--dpi must be a resolution from %1 to %2 (got %3)")
                      .arg(kLeastDpi)
                      .arg(kGreatestDpi)
                      .arg(parser.value("dpi"));
        return v;
    }
    if (parser.isSet("size")) {
        const QRegularExpressionMatch m =
            QRegularExpression("^(\\d{1,5})x(\\d{1,5})$").match(parser.value("size"));
        v.size = m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
        if (v.size.width() < 1 || v.size.height() < 1 || v.size.width() > kMaxPixels ||
            v.size.height() > kMaxPixels) {
            v.error = QStringLiteral("--size must be WIDTHxHEIGHT in pixels, each from 1 to %1 "
                                     "(got %2)")
                          .arg(kMaxPixels)
                          .arg(parser.value("size"));
            return v;
        }
    }
    const QString suffix = QFileInfo(parser.value("out")).suffix().toLower();
    if (suffix != "pdf" && suffix != "png" && suffix != "svg") {
        v.error = QStringLiteral("--out must name a .pdf, .png or .svg file (got %1)")
                      .arg(parser.value("out"));
    }
    return v;
}

// Applies --gain and --page-seconds; why one is refused, or nothing.
QString applyDisplay(const QCommandLineParser& parser, CViewerCtrl& ctrl) {
    bool ok = false;
    if (parser.isSet("gain")) {
        const int gain = parser.value("gain").toInt(&ok);
        if (!ok || gain < kLeastGain || gain > kGreatestGain) {
            return QStringLiteral("--gain must be a whole number of µV/cm from %1 to %2 (got %3)")
                .arg(kLeastGain)
                .arg(kGreatestGain)
                .arg(parser.value("gain"));
        }
        ctrl.SetGainEEG(gain);
    }
    if (parser.isSet("page-seconds")) {
        const float asked = parser.value("page-seconds").toFloat(&ok);
        const float inForce = ok && asked > 0 ? ctrl.SetSecNumber(asked) : 0.0F;
        if (inForce <= 0 || ctrl.recording().samplesPerPage < kLeastPageSamples) {
            return QStringLiteral("--page-seconds must be a length in seconds that holds at least "
                                  "%1 samples (got %2)")
                .arg(kLeastPageSamples)
                .arg(parser.value("page-seconds"));
        }
        if (inForce < asked) {
            say(QStringLiteral("--page-seconds %1 is limited to %2 s: a page of this recording "
                               "holds no more")
                    .arg(parser.value("page-seconds"))
                    .arg(static_cast<double>(inForce)));
        }
    }
    return {};
}

// `at` as a recording second: a clock time (the first such time after the recording
// start, over midnight if need be) or seconds from the start. -1 when it is neither.
int32_t startSecond(CViewerCtrl& ctrl, const QString& at) {
    bool number = false;
    const double seconds = at.toDouble(&number);
    if (number) {
        return seconds >= 0 && seconds < 2e9 ? static_cast<int32_t>(seconds) : -1;
    }
    const QTime clock = QTime::fromString(at, at.count(':') == 2 ? "H:mm:ss" : "H:mm");
    if (!clock.isValid()) {
        return -1;
    }
    const int32_t day = 86400;
    const int32_t offset = clock.msecsSinceStartOfDay() / 1000 - ctrl.GetMont(0) % day;
    return offset < 0 ? offset + day : offset;
}

// Any montage of the list by name, the standard and the user's included.
QString chooseByName(CViewerCtrl& ctrl, const QString& name) {
    QString error;
    MontageCatalogue::withUserMontages(ctrl, say).chooseNamed(ctrl, name, error);
    return error;
}

QString chooseMontage(CViewerCtrl& ctrl, const QString& montage) {
    const int16_t archived = ctrl.GetNumArchivedMontage();
    if (montage.compare(QLatin1String("as recorded"), Qt::CaseInsensitive) == 0) {
        ctrl.setGratis(true);
        if (ctrl.gratis()) {
            return {};
        }
        return QStringLiteral("the recording keeps no montage history");
    }
    ctrl.setGratis(false);
    if (montage == QLatin1String("all")) {
        ctrl.setNumMont(static_cast<int16_t>(archived + kFirstArchivedMontage));
        return {};
    }
    bool ok = false;
    const int n = montage.toInt(&ok);
    if (ok && (n < 1 || n > archived)) {
        return QStringLiteral("no montage %1 (the recording keeps %2)").arg(montage).arg(archived);
    }
    if (ok) {
        ctrl.setNumMont(static_cast<int16_t>(n - 1 + kFirstArchivedMontage));
        return {};
    }
    return chooseByName(ctrl, montage);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes pages of a recording to PDF, PNG or SVG.");
    parser.addHelpOption();
    parser.addPositionalArgument("FILE", "the recording");
    parser.addOptions({
        {"at", "page start: a clock time HH:MM:SS or seconds from the start", "TIME"},
        {"pages", "consecutive pages, 1 or more (default 1)", "N", "1"},
        {"montage",
         "\"As recorded\" (default; all without a history), all, NUMBER, or the NAME of any "
         "montage of the list (standard and own ones included)",
         "MONTAGE", "As recorded"},
        {"gain", "gain of the EEG lines in µV/cm, 1 to 1000000", "UV_PER_CM"},
        {"page-seconds", "page length in seconds (limited to what a page holds)", "S"},
        {"size", "PNG and SVG size in pixels, up to 16384x16384 (default A4 landscape)", "WxH"},
        {"dpi", "PNG and SVG resolution, 10 to 2400 (default 150)", "D", "150"},
        {"out", "OUT.pdf (all pages), OUT.png or OUT.svg (numbered per page)", "OUT"},
    });
    if (!parser.parse(QCoreApplication::arguments())) {
        return refuse(parser.errorText());
    }
    if (parser.isSet("help")) {
        parser.showHelp(0);
    }
    if (parser.positionalArguments().size() != 1 || !parser.isSet("at") || !parser.isSet("out")) {
        return refuse(QStringLiteral("one FILE, --at and --out are needed (see --help)"));
    }
    const Values values = checkValues(parser);
    if (!values.error.isEmpty()) {
        return refuse(values.error);
    }
    CViewerCtrl ctrl;
    ctrl.resize(320, 200); // the layers on screen are not what is written
    ctrl.setVerticalResolution(1080);
    // The look of the program: a label column, both grids in grey.
    ctrl.setTraceOverLabel(false);
    ctrl.setGridType(3);
    ctrl.setGridColor(kGridGrey);
    if (ctrl.FileName(parser.positionalArguments().first()) != 0 || !ctrl.recording().isOpen()) {
        return fail("cannot open " + parser.positionalArguments().first());
    }
    QString error = chooseMontage(ctrl, parser.value("montage"));
    if (!error.isEmpty() && parser.isSet("montage")) {
        return refuse(error);
    }
    if (!error.isEmpty()) {
        chooseMontage(ctrl, QStringLiteral("all"));
    }
    error = applyDisplay(parser, ctrl);
    if (!error.isEmpty()) {
        return refuse(error);
    }
    const int32_t at = startSecond(ctrl, parser.value("at"));
    if (at < 0 || (!ctrl.DrawPage(at) && ctrl.pageStartSecond() != at)) {
        return refuse("no page at " + parser.value("at") + " (the recording lasts " +
                      QString::number(ctrl.totalTrcSec()) + " s)");
    }
    // The reviewer's events of the recording are marked and listed on the pages.
    namespace ev = viewer::events;
    const std::string path = QFile::encodeName(parser.positionalArguments().first()).toStdString();
    std::string warning;
    const ev::EventList events(
        ev::readEventsOnly(ev::sidecarPlace(path, ev::identityName(ctrl.recording()),
                                            ev::userDataFolder(), ev::folderWritable),
                           warning));
    if (!warning.empty()) {
        std::fprintf(stderr, "page-export: warning: %s\n", warning.c_str());
    }
    const EventTypes types = EventTypes::load();
    ctrl.setReportEvents([&](double start, double seconds) {
        return pageEventMarks(events, types, ctrl, start, seconds);
    });
    PageExportRequest request;
    request.path = parser.value("out");
    request.pages = values.pages;
    request.dotsPerInch = values.dpi;
    request.pixels = values.size;
    const PageExportResult result = exportPages(ctrl, request);
    if (!result.error.isEmpty()) {
        return fail(result.error);
    }
    if (static_cast<int>(result.pageStarts.size()) < values.pages) {
        say(QStringLiteral("--pages %1 is limited to %2: the recording ends")
                .arg(values.pages)
                .arg(result.pageStarts.size()));
    }
    for (const QString& file : result.files) {
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
