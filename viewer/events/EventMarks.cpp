#include "EventMarks.h"

#include "CViewerCtrl.h"

#include <algorithm>
#include <cmath>

QString eventClockText(CViewerCtrl& trace, double seconds) {
    const double whole = std::floor(seconds);
    const int millis =
        std::clamp(static_cast<int>(std::lround((seconds - whole) * 1000.0)), 0, 999);
    const int64_t day = 86400;
    const int64_t clock = (int64_t{trace.GetTime(static_cast<float>(whole))} % day + day) % day;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(clock / 3600, 2, 10, QLatin1Char('0'))
        .arg(clock / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(clock % 60, 2, 10, QLatin1Char('0'))
        .arg(millis, 3, 10, QLatin1Char('0'));
}

std::vector<int> eventLineIndices(CViewerCtrl& trace, const std::vector<std::string>& labels) {
    std::vector<int> lines;
    if (labels.empty()) {
        return lines;
    }
    for (int i = 0; i < trace.lineCount(); ++i) {
        const std::string label = trace.lineLabel(i).toStdString();
        if (std::find(labels.begin(), labels.end(), label) != labels.end()) {
            lines.push_back(i);
        }
    }
    return lines;
}

std::vector<viewer::PageEventMark> pageEventMarks(const viewer::events::EventList& events,
                                                  const EventTypes& types, CViewerCtrl& trace,
                                                  double startSeconds, double seconds) {
    std::vector<viewer::PageEventMark> marks;
    const auto t0 = static_cast<int64_t>(std::llround(startSeconds * 1000.0));
    const auto t1 = static_cast<int64_t>(std::llround((startSeconds + seconds) * 1000.0));
    for (const size_t i : events.overlapping(t0, t1)) {
        const viewer::events::Event& e = events.at(i);
        const QString type = QString::fromStdString(e.type);
        const QString comment = QString::fromStdString(e.comment);
        viewer::PageEventMark m;
        m.startSeconds = (e.onsetMs - t0) / 1000.0;
        m.seconds = e.durationMs / 1000.0;
        m.colour = types.colourOf(type).rgb();
        m.title = comment.isEmpty() ? type : type + QStringLiteral(": ") + comment;
        QString lines;
        for (const std::string& l : e.lines) {
            lines +=
                (lines.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromStdString(l);
        }
        m.listed =
            eventClockText(trace, e.onsetMs / 1000.0) +
            (e.durationMs > 0 ? QStringLiteral(" (%1 s)").arg(e.durationMs / 1000.0) : QString()) +
            QStringLiteral("  ") + m.title +
            (lines.isEmpty() ? QString() : QStringLiteral("  [%1]").arg(lines));
        m.lines = eventLineIndices(trace, e.lines);
        marks.push_back(std::move(m));
    }
    return marks;
}
