#include "StepTiming.h"

#include "CViewerCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds from the start of this process (kernel start time, one clock tick of
// resolution) to now; -1 when unknown.
double msSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // The fields after the command name, which ends at the last ')': start time is field 22.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTimeField = 22 - 3;
    timespec now{};
    if (fields.size() <= kStartTimeField || clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        return -1;
    }
    const double ticks = fields[kStartTimeField].toDouble();
    const double startSeconds = ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 -
            startSeconds) *
           1000.0;
}

double msSince(StepTiming::Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(StepTiming::Clock::now() - t).count();
}

} // namespace

StepTiming::StepTiming(CViewerCtrl& trace, Clock::time_point mainStart)
    : QObject(&trace), trace_(trace), mainStart_(mainStart) {}

void StepTiming::installIfAsked(CViewerCtrl& trace, Clock::time_point mainStart) {
    if (qEnvironmentVariableIsEmpty("VIEWER_TIMING")) {
        return;
    }
    QCoreApplication::instance()->installEventFilter(new StepTiming(trace, mainStart));
}

bool StepTiming::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
        input_ = Clock::now();
        return false;
    }
    if (watched != &trace_ || event->type() != QEvent::Paint ||
        (firstPageShown_ && !input_.has_value())) {
        return false;
    }
    // The control paints here, so that the time taken is the end of its paint.
    static_cast<QObject&>(trace_).event(event);
    if (!firstPageShown_) {
        if (trace_.totalTrcSec() > 0) {
            firstPageShown_ = true;
            std::fprintf(stderr,
                         "viewer-timing: first page %.1f ms after process start (%.1f ms after "
                         "main)\n",
                         msSinceProcessStart(), msSince(mainStart_));
        }
    } else {
        std::fprintf(stderr, "viewer-timing: step %.2f ms\n", msSince(*input_));
        input_.reset();
    }
    return true;
}
