#include "PagePower.h"

#include "CViewerCtrl.h"
#include "derivations.h"
#include "line_values.h"
#include "montage_lines.h"
#include "text_face.h"
#include "trace_colours.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTopHz = 40.0;
// The peak is looked for from here up to kTopPeakHz: below, eye movements and drifts rule.
constexpr double kLowestPeakHz = 1.0;
constexpr double kTopPeakHz = 30.0;
constexpr int kListWidth = 150;

} // namespace

PageSpectra pageSpectra(const CViewerCtrl& trace, viewer::trends::FftPlans& plans,
                        std::optional<std::pair<int32_t, int32_t>> samples) {
    PageSpectra out;
    const viewer::Recording& rec = trace.recording();
    const double rate = rec.header.rate;
    if (!rec.isOpen() || rate <= 0.0) {
        return out;
    }
    const int lines = std::min<int>(rec.currentMontage.numLines, viewer::kMaxLines);
    std::vector<float> values;
    for (int i = 0; i < lines; ++i) {
        const std::span<const float> line = trace.model().lineValues(i);
        const viewer::DerivationRecord r = viewer::lineSource(rec, i);
        if (line.empty() || r.kind == viewer::kNoInput || r.kind == viewer::kUnavailable ||
            !viewer::isEegLine(rec, i)) {
            continue;
        }
        size_t first = 0;
        size_t last = line.size() - 1;
        if (samples) {
            first = std::min<size_t>(static_cast<size_t>(samples->first), last);
            last = std::min<size_t>(static_cast<size_t>(samples->second), last);
        }
        const double scale = viewer::lineScale(r);
        values.assign(line.begin() + static_cast<std::ptrdiff_t>(first),
                      line.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        for (float& v : values) {
            v = static_cast<float>(v * scale);
        }
        const int length =
            static_cast<int>(std::min<size_t>(values.size(), static_cast<size_t>(2 * rate)));
        if (length < 8) {
            continue;
        }
        viewer::trends::Welch welch(plans, length);
        LineSpectrum s{QString::fromStdString(viewer::lineLabelText(rec, i)),
                       viewer::lineColour(trace.traceColours(), rec, i),
                       std::vector<double>(static_cast<size_t>(welch.bins())), 0.0};
        welch.density(values, rate, s.density);
        out.binHz = rate / length;
        size_t peak = 0;
        for (size_t k = 0; k < s.density.size(); ++k) {
            const double hz = static_cast<double>(k) * out.binHz;
            if (hz >= kLowestPeakHz - 1e-9 && hz <= kTopPeakHz + 1e-9 &&
                (peak == 0 || s.density[k] > s.density[peak])) {
                peak = k;
            }
        }
        s.peakHz = peak * out.binHz;
        out.lines.push_back(std::move(s));
    }
    return out;
}

PagePower::PagePower(QWidget* parent) : QDockWidget(QStringLiteral("Page spectrum"), parent) {
    setObjectName(QStringLiteral("pageSpectrum"));
    chart_ = new QWidget(this);
    chart_->setObjectName(QStringLiteral("pageSpectrumChart"));
    chart_->setMinimumSize(360, 220);
    chart_->installEventFilter(this);
    setWidget(chart_);
}

void PagePower::show(PageSpectra spectra, const QString& what) {
    spectra_ = std::move(spectra);
    what_ = what;
    chart_->update();
}

bool PagePower::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chart_ && event->type() == QEvent::Paint) {
        paint(*chart_);
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

void PagePower::paint(QWidget& on) {
    QPainter p(&on);
    p.fillRect(on.rect(), Qt::white);
    QFont font = textFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    const int text = p.fontMetrics().height();
    const QRect plot(44, text + 6, std::max(on.width() - 44 - kListWidth - 8, 40),
                     std::max(on.height() - 2 * text - 14, 40));
    p.setPen(Qt::black);
    p.drawText(QRect(plot.left(), 2, plot.width(), text), Qt::AlignLeft,
               QStringLiteral("%1, dB of µV²/Hz").arg(what_));
    // dB range from the lines' densities, in steps of 10 dB.
    double top = -INFINITY;
    double bottom = INFINITY;
    for (const LineSpectrum& s : spectra_.lines) {
        for (size_t k = 1; k < s.density.size() && k * spectra_.binHz <= kTopHz; ++k) {
            const double db = 10.0 * std::log10(std::max(s.density[k], 1e-6));
            top = std::max(top, db);
            bottom = std::min(bottom, db);
        }
    }
    if (!std::isfinite(top)) {
        top = 40.0;
        bottom = -20.0;
    }
    top = std::ceil(top / 10.0) * 10.0;
    bottom = std::max(std::floor(bottom / 10.0) * 10.0, top - 80.0);
    const auto yOf = [&](double db) {
        return plot.bottom() -
               (std::clamp(db, bottom, top) - bottom) / (top - bottom) * plot.height();
    };
    const auto xOf = [&](double hz) { return plot.left() + hz / kTopHz * plot.width(); };
    p.setPen(QColor(220, 220, 220));
    for (double db = bottom; db <= top; db += 10.0) {
        p.drawLine(QPointF(plot.left(), yOf(db)), QPointF(plot.right(), yOf(db)));
        p.setPen(QColor(96, 96, 96));
        p.drawText(QRectF(0, yOf(db) - text / 2.0, plot.left() - 4, text), Qt::AlignRight,
                   QString::number(db, 'f', 0));
        p.setPen(QColor(220, 220, 220));
    }
    for (double hz = 0; hz <= kTopHz; hz += 5.0) {
        p.setPen(QColor(220, 220, 220));
        p.drawLine(QPointF(xOf(hz), plot.top()), QPointF(xOf(hz), plot.bottom()));
        if (static_cast<int>(hz) % 10 == 0) {
            p.setPen(QColor(96, 96, 96));
            p.drawText(QRectF(xOf(hz) - 20, plot.bottom() + 2, 40, text), Qt::AlignHCenter,
                       hz == kTopHz ? QStringLiteral("%1 Hz").arg(hz) : QString::number(hz));
        }
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    int row = 0;
    for (const LineSpectrum& s : spectra_.lines) {
        QPainterPath path;
        for (size_t k = 1; k < s.density.size() && k * spectra_.binHz <= kTopHz; ++k) {
            const QPointF pt(xOf(k * spectra_.binHz),
                             yOf(10.0 * std::log10(std::max(s.density[k], 1e-6))));
            k == 1 ? path.moveTo(pt) : path.lineTo(pt);
        }
        p.setPen(QPen(QColor(s.colour), 1.0));
        p.drawPath(path);
        const int y = plot.top() + row++ * text;
        if (y + text <= on.height()) {
            p.drawText(QRect(plot.right() + 10, y, kListWidth, text), Qt::AlignLeft,
                       QStringLiteral("%1  %2 Hz").arg(s.label).arg(s.peakHz, 0, 'f', 1));
        }
    }
}
