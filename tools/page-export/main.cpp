// page-export: pages of a recording to PDF, PNG or SVG for reports, without a display.
//   page-export FILE --at 10:23:45|SECONDS [--pages N] [--montage "As recorded"|all|NUMBER]
//               [--gain UV_PER_CM] [--page-seconds S] [--size WxH] [--dpi D] --out OUT

#include "EventMarks.h"
#include "event_text.h"
#include "CViewerCtrl.h"
#include "page_files.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>
#include <QTime>

#include <cstdio>

namespace {

constexpr int16_t kFirstArchivedMontage = 30;
constexpr int32_t kGridGrey = 0x808080;

int fail(const QString& message) {
    std::fprintf(stderr, "page-export: %s\n", qPrintable(message));
    return 1;
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
    if (!ok || n < 1 || n > archived) {
        return QStringLiteral("no montage %1 (the recording keeps %2)").arg(montage).arg(archived);
    }
    ctrl.setNumMont(static_cast<int16_t>(n - 1 + kFirstArchivedMontage));
    return {};
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
        {"pages", "consecutive pages (default 1)", "N", "1"},
        {"montage", "\"As recorded\" (default; all without a history), all, or NUMBER", "MONTAGE",
         "As recorded"},
        {"gain", "gain of the EEG lines in µV/cm", "UV_PER_CM"},
        {"page-seconds", "page length in seconds", "S"},
        {"size", "PNG and SVG size in pixels (default A4 landscape)", "WxH"},
        {"dpi", "PNG and SVG resolution (default 150)", "D", "150"},
        {"out", "OUT.pdf (all pages), OUT.png or OUT.svg (numbered per page)", "OUT"},
    });
    parser.process(app);
    if (parser.positionalArguments().size() != 1 || !parser.isSet("at") || !parser.isSet("out")) {
        parser.showHelp(2);
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
        return fail(error);
    }
    if (!error.isEmpty()) {
        chooseMontage(ctrl, QStringLiteral("all"));
    }
    if (parser.isSet("gain")) {
        ctrl.SetGainEEG(parser.value("gain").toInt());
    }
    if (parser.isSet("page-seconds")) {
        ctrl.SetSecNumber(parser.value("page-seconds").toFloat());
    }
    const int32_t at = startSecond(ctrl, parser.value("at"));
    if (at < 0 || (!ctrl.DrawPage(at) && ctrl.pageStartSecond() != at)) {
        return fail("no page at " + parser.value("at"));
    }
    // The reviewer's events of the recording are marked and listed on the pages.
    namespace ev = viewer::events;
    const std::string path = QFile::encodeName(parser.positionalArguments().first()).toStdString();
    std::string warning;
    const ev::EventList events(ev::readEventsOnly(
        ev::sidecarPlace(path, ev::identityName(ctrl.recording()), ev::userDataFolder(),
                         ev::folderWritable),
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
    request.pages = std::max(parser.value("pages").toInt(), 1);
    request.dotsPerInch = parser.value("dpi").toDouble();
    const QRegularExpressionMatch size =
        QRegularExpression("^(\\d+)x(\\d+)$").match(parser.value("size"));
    if (size.hasMatch()) {
        request.pixels = QSize(size.captured(1).toInt(), size.captured(2).toInt());
    }
    const PageExportResult result = exportPages(ctrl, request);
    if (!result.error.isEmpty()) {
        return fail(result.error);
    }
    for (const QString& file : result.files) {
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
