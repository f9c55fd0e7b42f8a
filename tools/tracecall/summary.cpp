#include "summary.h"

#include "CViewerCtrl.h"
#include "text.h"

#include <QDateTime>

#include <cmath>
#include <cstdio>

namespace tracecall {

namespace {

QString clock(int32_t seconds) {
    return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

QString label(const std::array<char, 6>& field) {
    return QString::fromStdString(viewer::windows1252ToUtf8(
               viewer::trimRight(viewer::fieldText(field.data(), field.size()))));
}

} // namespace

int printSummary(CViewerCtrl& ctrl, const QString& path) {
    if (ctrl.FileName(path) != 0) {
        std::printf("Cannot open %s: it is missing or not a trace file.\n", qPrintable(path));
        return 1;
    }
    const viewer::Recording& r = ctrl.recording();
    const double start = ctrl.GetDateTimeFromSeconds(0);
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    const QString recorded = std::isnan(start)
                                 ? QStringLiteral("invalid date")
                                 : epoch.addMSecs(std::llround(start * 86400000.0))
                                       .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    std::printf("Patient:   %s %s, born %s\n", qPrintable(ctrl.GetSurName()),
                qPrintable(ctrl.GetName()), qPrintable(ctrl.GetBirthDate()));
    std::printf("Recorded:  %s\n", qPrintable(recorded));
    const int32_t seconds = ctrl.totalTrcSec();
    std::printf("Length:    %s (%d s)\n", qPrintable(clock(seconds)), seconds);
    QStringList channels;
    for (int c = 0; c < r.header.numChannels; ++c) {
        channels << label(r.electrodes[r.orderTable[c] % viewer::kElectrodeCount].positiveLabel);
    }
    std::printf("Channels:  %d at %d frames per second: %s\n", r.header.numChannels,
                r.header.rate, qPrintable(channels.join(QStringLiteral(" "))));
    const int16_t montages = ctrl.GetNumArchivedMontage();
    std::printf("Montages:  %d%s\n", montages, r.historyPresent ? ", with a montage history" : "");
    for (int16_t k = 0; k < montages; ++k) {
        std::printf("           %s\n", qPrintable(ctrl.GetArchivedMontName(k).trimmed()));
    }
    std::printf("Video:     %s\n", ctrl.ThereIsVideo() ? "yes" : "no");
    std::printf("Notes:\n");
    for (int32_t n = 0;; ++n) {
        const float at = ctrl.GetPosNote(n);
        if (at == 0.0f) {
            break;
        }
        // An EDF file's notes are as many as it has, beyond the note table.
        const std::string text =
            r.edf ? ctrl.noteText(n).toStdString()
                  : viewer::windows1252ToUtf8(viewer::fieldText(r.notes[n].text.data(), 39));
        std::printf("  %s  %s\n", qPrintable(clock(static_cast<int32_t>(at))), text.c_str());
    }
    return 0;
}

} // namespace tracecall
