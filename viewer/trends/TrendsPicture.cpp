#include "TrendsPicture.h"

#include "text_face.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace tr = viewer::trends;

namespace {

constexpr int kLabelWidth = 118;
constexpr QRgb kNotDone = qRgb(228, 228, 228);
const QColor kLeft(0, 0, 192);
const QColor kRight(192, 0, 0);

bool hasValue(float v) { return std::isfinite(v); }

// Mean of `value(line)` over `lines` where it has a value; NaN when none has.
template <typename F> float meanOver(const std::vector<int>& lines, F value) {
    double sum = 0.0;
    int n = 0;
    for (int l : lines) {
        const float v = value(l);
        if (hasValue(v)) {
            sum += v;
            ++n;
        }
    }
    return n == 0 ? NAN : static_cast<float>(sum / n);
}

std::vector<int> hemisphere(const tr::TrendData& d, bool left) {
    const auto& r = d.layout.regions;
    std::vector<int> lines = left ? r[tr::kLeftTemporal] : r[tr::kRightParasagittal];
    const auto& more = left ? r[tr::kLeftParasagittal] : r[tr::kRightTemporal];
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// Pairs whose left line is in `region`.
std::vector<int> pairsOf(const tr::TrendData& d, tr::Region region) {
    std::vector<int> pairs;
    const auto& lines = d.layout.regions[region];
    for (size_t p = 0; p < d.layout.pairs.size(); ++p) {
        if (std::count(lines.begin(), lines.end(), d.layout.pairs[p].left) != 0) {
            pairs.push_back(static_cast<int>(p));
        }
    }
    return pairs;
}

// The segments drawn in column x: those overlapping its stretch of time, at least one.
std::pair<int, int> segmentsOf(const TrendsLayout& l, int x, const TrendsView& v,
                               const tr::TrendData& d) {
    const double a = l.secondsAt(x, v);
    const double b = l.secondsAt(x + 1, v);
    const int first = std::clamp(static_cast<int>(a / d.segmentSeconds), 0, d.segments - 1);
    const int last =
        std::clamp(static_cast<int>(std::ceil(b / d.segmentSeconds)) - 1, first, d.segments - 1);
    return {first, last};
}

QString clockText(double secondsOfDay, bool withSeconds) {
    const auto s = static_cast<int64_t>(std::floor(secondsOfDay)) % 86400;
    const int64_t day = s < 0 ? s + 86400 : s;
    return withSeconds ? QStringLiteral("%1:%2:%3")
                             .arg(day / 3600, 2, 10, QLatin1Char('0'))
                             .arg(day / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(day % 60, 2, 10, QLatin1Char('0'))
                       : QStringLiteral("%1:%2")
                             .arg(day / 3600, 2, 10, QLatin1Char('0'))
                             .arg(day / 60 % 60, 2, 10, QLatin1Char('0'));
}

void drawSpectralArray(QPainter& p, const QRect& r, const tr::TrendData& d, tr::Region region,
                       const TrendsView& v, const TrendsLayout& l) {
    QImage img(r.size(), QImage::Format_RGB32);
    img.fill(kNotDone);
    const std::vector<int>& lines = d.layout.regions[region];
    std::array<float, tr::kBins> column{};
    for (int x = 0; x < r.width() && d.segments > 0 && !lines.empty(); ++x) {
        const auto [first, last] = segmentsOf(l, r.left() + x, v, d);
        column.fill(0.0f);
        int n = 0;
        for (int s = first; s <= last; ++s) {
            if (d.done[static_cast<size_t>(s)] == 0) {
                continue;
            }
            ++n;
            for (int b = 0; b < tr::kBins; ++b) {
                column[static_cast<size_t>(b)] +=
                    meanOver(lines, [&](int line) { return d.db(s, line, b); });
            }
        }
        if (n == 0) {
            continue;
        }
        for (int y = 0; y < r.height(); ++y) {
            const int b = (r.height() - 1 - y) * tr::kBins / r.height();
            const float db = column[static_cast<size_t>(b)] / static_cast<float>(n);
            if (hasValue(db)) {
                img.setPixel(x, y, densityColour(db, v.lowDb, v.highDb).rgb());
            }
        }
    }
    p.drawImage(r.topLeft(), img);
}

// A curve of `value(segment)` over the plot, in `colour`, scaled from [low, high] to `r`.
template <typename F>
void drawCurve(QPainter& p, const QRect& r, const tr::TrendData& d, const TrendsView& v,
               const TrendsLayout& l, const QColor& colour, double low, double high, F value) {
    p.setPen(QPen(colour, 1.0));
    QPainterPath path;
    bool drawing = false;
    for (int x = r.left(); x <= r.right() && d.segments > 0; ++x) {
        const auto [first, last] = segmentsOf(l, x, v, d);
        double sum = 0.0;
        int n = 0;
        for (int s = first; s <= last; ++s) {
            const float f = d.done[static_cast<size_t>(s)] ? value(s) : NAN;
            if (hasValue(f)) {
                sum += f;
                ++n;
            }
        }
        if (n == 0) {
            drawing = false;
            continue;
        }
        const double frac = std::clamp((sum / n - low) / (high - low), 0.0, 1.0);
        const QPointF pt(x + 0.5, r.bottom() + 0.5 - frac * (r.height() - 1));
        drawing ? path.lineTo(pt) : path.moveTo(pt);
        drawing = true;
    }
    p.drawPath(path);
}

void drawAeeg(QPainter& p, const QRect& r, const tr::TrendData& d, const TrendsView& v,
              const TrendsLayout& l, bool left) {
    const std::vector<int> lines = hemisphere(d, left);
    for (double uv : {5.0, 10.0, 25.0, 50.0}) {
        const int y = r.bottom() - static_cast<int>(aeegFraction(uv) * (r.height() - 1));
        p.setPen(QColor(200, 200, 200));
        p.drawLine(r.left(), y, r.right(), y);
        if ((uv == 10.0 || uv == 50.0) && r.height() >= 40) {
            p.setPen(QColor(96, 96, 96));
            p.drawText(QRect(r.left() - 46, y - 7, 40, 14), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(uv));
        }
    }
    p.setPen(left ? kLeft : kRight);
    for (int x = r.left(); x <= r.right() && d.segments > 0; ++x) {
        const auto [first, last] = segmentsOf(l, x, v, d);
        float lo = INFINITY;
        float hi = -INFINITY;
        for (int s = first; s <= last; ++s) {
            if (d.done[static_cast<size_t>(s)] == 0) {
                continue;
            }
            lo = std::min(lo, meanOver(lines, [&](int i) { return d.lower[d.at(s, i)]; }));
            hi = std::max(hi, meanOver(lines, [&](int i) { return d.upper[d.at(s, i)]; }));
        }
        if (hasValue(lo) && hasValue(hi)) {
            const int y0 = r.bottom() - static_cast<int>(aeegFraction(lo) * (r.height() - 1));
            const int y1 = r.bottom() - static_cast<int>(aeegFraction(hi) * (r.height() - 1));
            p.drawLine(x, y0, x, y1);
        }
    }
}

void drawLabel(QPainter& p, const QRect& row, const QString& text, const QString& scale) {
    const QRect label(row.left() - kLabelWidth, row.top(), kLabelWidth - 6, row.height());
    p.setPen(Qt::black);
    p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text);
    if (!scale.isEmpty()) {
        p.setPen(QColor(96, 96, 96));
        p.drawText(label, Qt::AlignRight | Qt::AlignTop, scale);
    }
}

void drawAxis(QPainter& p, const TrendsLayout& l, const TrendsView& v) {
    const double span = std::max(v.to - v.from, 1.0);
    static const double kSteps[] = {10,   30,   60,   120,   300,   600,   900,
                                    1800, 3600, 7200, 10800, 21600, 43200, 86400};
    const double perPixel = span / std::max(l.plot.width(), 1);
    double step = kSteps[std::size(kSteps) - 1];
    for (double s : kSteps) {
        if (s / perPixel >= 90) {
            step = s;
            break;
        }
    }
    const double clock0 = v.startClock;
    p.setPen(Qt::black);
    for (double t = std::ceil((clock0 + v.from) / step) * step - clock0; t <= v.to; t += step) {
        const int x = l.xAt(t, v);
        p.drawLine(x, l.axis.top(), x, l.axis.top() + 3);
        p.drawText(QRect(x - 40, l.axis.top() + 3, 80, l.axis.height() - 3),
                   Qt::AlignHCenter | Qt::AlignTop, clockText(clock0 + t, step < 60));
    }
}

// The colour range of the spectral arrays as a strip left of the time axis.
void drawColourScale(QPainter& p, const TrendsLayout& l, const TrendsView& v) {
    const int lowest = l.regions[tr::kRegionCount - 1].bottom();
    p.setPen(QColor(96, 96, 96));
    p.drawText(QRect(l.plot.left() - kLabelWidth, lowest - 14, kLabelWidth - 6, 14),
               Qt::AlignRight | Qt::AlignBottom, QStringLiteral("0.5 Hz"));
    const QRect strip(l.axis.left() - kLabelWidth, l.axis.top() + 2, kLabelWidth - 8, 6);
    for (int x = 0; x < strip.width(); ++x) {
        const double db = v.lowDb + (v.highDb - v.lowDb) * x / std::max(strip.width() - 1, 1);
        p.fillRect(strip.left() + x, strip.top(), 1, strip.height(),
                   densityColour(db, v.lowDb, v.highDb));
    }
    const QRect text(strip.left(), strip.bottom() + 1, strip.width(), l.axis.height());
    p.drawText(text, Qt::AlignLeft | Qt::AlignTop,
               QString::number(v.lowDb) + QStringLiteral(" dB"));
    p.drawText(text, Qt::AlignRight | Qt::AlignTop, QString::number(v.highDb));
}

void drawMarks(QPainter& p, const TrendsLayout& l, const TrendsView& v) {
    const auto mark = [&](double t, const QColor& c) {
        if (t < v.from || t > v.to) {
            return;
        }
        const int x = l.xAt(t, v);
        p.setPen(c);
        p.setBrush(c);
        const QPoint tip(x, l.plot.top() - 1);
        const QPoint pts[3] = {tip, tip + QPoint(-4, -6), tip + QPoint(4, -6)};
        p.drawPolygon(pts, 3);
    };
    for (double t : v.notes) {
        mark(t, QColor(0, 128, 0));
    }
    for (double t : v.events) {
        mark(t, QColor(200, 100, 0));
    }
    p.setBrush(Qt::NoBrush);
}

} // namespace

QFont trendsFont() {
    QFont font = textFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

TrendsLayout::TrendsLayout(const QRect& area, int textHeight) {
    const int top = area.top() + 9; // room for the marks
    const int axisHeight = textHeight + 10;
    plot = QRect(area.left() + kLabelWidth, top, std::max(area.width() - kLabelWidth - 8, 10),
                 std::max(area.bottom() - axisHeight - top, 40));
    // Shares of the height: the spectral arrays 4 x 13, aEEG 2 x 14, curves 2 x 10.
    const int unit = plot.height();
    int y = plot.top();
    const auto row = [&](int share, int gap) {
        const QRect r(plot.left(), y, plot.width(), std::max(unit * share / 100 - gap, 4));
        y += unit * share / 100;
        return r;
    };
    for (QRect& r : regions) {
        r = row(13, 2);
    }
    y += 2;
    aeeg[0] = row(14, 3);
    aeeg[1] = row(14, 3);
    asymmetry = row(10, 3);
    suppression = row(10, 0);
    axis = QRect(plot.left(), plot.bottom() + 1, plot.width(), axisHeight);
}

double TrendsLayout::secondsAt(int x, const TrendsView& v) const {
    const double f =
        std::clamp(static_cast<double>(x - plot.left()) / std::max(plot.width(), 1), 0.0, 1.0);
    return v.from + f * (v.to - v.from);
}

int TrendsLayout::xAt(double seconds, const TrendsView& v) const {
    const double span = std::max(v.to - v.from, 1e-9);
    return plot.left() + static_cast<int>(std::lround((seconds - v.from) / span * plot.width()));
}

QColor densityColour(double db, double low, double high) {
    static const std::array<QColor, 7> kMap = {
        QColor(0, 0, 80),     QColor(0, 40, 200),  QColor(0, 170, 230), QColor(40, 200, 80),
        QColor(240, 230, 40), QColor(240, 90, 20), QColor(150, 0, 0)};
    const double f = std::clamp((db - low) / std::max(high - low, 1e-6), 0.0, 1.0) * 6.0;
    const auto i = std::min(static_cast<size_t>(f), size_t{5});
    const double w = f - static_cast<double>(i);
    const QColor& a = kMap[i];
    const QColor& b = kMap[i + 1];
    return QColor::fromRgbF(static_cast<float>(a.redF() + w * (b.redF() - a.redF())),
                            static_cast<float>(a.greenF() + w * (b.greenF() - a.greenF())),
                            static_cast<float>(a.blueF() + w * (b.blueF() - a.blueF())));
}

double aeegFraction(double uv) {
    if (!(uv > 0.0)) {
        return 0.0;
    }
    return uv <= 10.0 ? uv / 20.0 : std::min(0.5 + 0.5 * std::log10(uv / 10.0), 1.0);
}

void drawTrends(QPainter& p, const QRect& area, const tr::TrendData& d, const TrendsView& v) {
    p.setFont(trendsFont());
    const TrendsLayout l(area, p.fontMetrics().height());
    p.fillRect(area, Qt::white);
    for (int r = 0; r < tr::kRegionCount; ++r) {
        drawSpectralArray(p, l.regions[r], d, static_cast<tr::Region>(r), v, l);
        drawLabel(p, l.regions[r], QString::fromUtf8(tr::regionNames()[static_cast<size_t>(r)]),
                  r == 0 ? QStringLiteral("30 Hz") : QString());
    }
    for (int h = 0; h < 2; ++h) {
        p.fillRect(l.aeeg[h], QColor(248, 248, 248));
        drawAeeg(p, l.aeeg[h], d, v, l, h == 0);
        drawLabel(p, l.aeeg[h], h == 0 ? QStringLiteral("aEEG left") : QStringLiteral("aEEG right"),
                  QStringLiteral("100 µV"));
    }
    p.fillRect(l.asymmetry, QColor(248, 248, 248));
    p.setPen(QColor(200, 200, 200));
    p.drawLine(l.asymmetry.left(), l.asymmetry.center().y(), l.asymmetry.right(),
               l.asymmetry.center().y());
    const QColor chains[2] = {QColor(0, 110, 140), QColor(150, 60, 160)};
    int c = 0;
    for (tr::Region region : {tr::kLeftTemporal, tr::kLeftParasagittal}) {
        const std::vector<int> pairs = pairsOf(d, region);
        drawCurve(p, l.asymmetry, d, v, l, chains[c++], -1.0, 1.0, [&](int s) {
            return meanOver(pairs, [&](int pair) { return d.asymmetry(s, pair); });
        });
    }
    drawLabel(p, l.asymmetry, QStringLiteral("Asymmetry"), QStringLiteral("±1"));
    p.fillRect(l.suppression, QColor(248, 248, 248));
    for (bool left : {true, false}) {
        const std::vector<int> lines = hemisphere(d, left);
        drawCurve(p, l.suppression, d, v, l, left ? kLeft : kRight, 0.0, 100.0, [&](int s) {
            return meanOver(lines, [&](int i) { return d.suppression[d.at(s, i)]; });
        });
    }
    drawLabel(p, l.suppression, QStringLiteral("Suppression"), QStringLiteral("100 %"));
    drawColourScale(p, l, v);
    drawAxis(p, l, v);
    drawMarks(p, l, v);
}

void drawTrendsCursor(QPainter& p, const QRect& area, const TrendsView& v) {
    const TrendsLayout l(area, QFontMetrics(trendsFont()).height());
    if (v.cursor < v.from || v.cursor > v.to) {
        return;
    }
    const int x0 = l.xAt(v.cursor, v);
    const int x1 = std::max(l.xAt(v.cursor + v.cursorLength, v), x0 + 1);
    p.fillRect(QRect(x0, l.plot.top(), x1 - x0 + 1, l.plot.height()), QColor(0, 0, 0, 50));
    p.setPen(Qt::black);
    p.drawLine(x0, l.plot.top() - 2, x0, l.plot.bottom() + 2);
}

QString trendsValuesAt(const tr::TrendData& d, const TrendsView& v, double seconds, int region,
                       int bin) {
    const QString clock = clockText(v.startClock + seconds, true);
    const int s = static_cast<int>(seconds / std::max(d.segmentSeconds, 1e-9));
    if (s < 0 || s >= d.segments || d.done[static_cast<size_t>(s)] == 0) {
        return clock;
    }
    QStringList parts{clock};
    if (region >= 0 && region < tr::kRegionCount && bin >= 0 && bin < tr::kBins) {
        const float db = meanOver(d.layout.regions[static_cast<size_t>(region)],
                                  [&](int i) { return d.db(s, i, bin); });
        parts << QStringLiteral("%1 %2 Hz: %3 dB")
                     .arg(QString::fromUtf8(tr::regionNames()[static_cast<size_t>(region)]))
                     .arg(tr::binHz(bin), 0, 'f', 1)
                     .arg(db, 0, 'f', 1);
    }
    for (bool left : {true, false}) {
        const std::vector<int> lines = hemisphere(d, left);
        const float lo = meanOver(lines, [&](int i) { return d.lower[d.at(s, i)]; });
        const float hi = meanOver(lines, [&](int i) { return d.upper[d.at(s, i)]; });
        const float q = meanOver(lines, [&](int i) { return d.suppression[d.at(s, i)]; });
        parts << QStringLiteral("%1: aEEG %2–%3 µV, suppression %4 %")
                     .arg(left ? QStringLiteral("left") : QStringLiteral("right"))
                     .arg(lo, 0, 'f', 1)
                     .arg(hi, 0, 'f', 1)
                     .arg(q, 0, 'f', 0);
    }
    std::vector<int> all(d.layout.pairs.size());
    for (size_t p = 0; p < all.size(); ++p) {
        all[p] = static_cast<int>(p);
    }
    parts << QStringLiteral("asymmetry %1")
                 .arg(meanOver(all, [&](int p) { return d.asymmetry(s, p); }), 0, 'f', 2);
    return parts.join(QStringLiteral(" · "));
}
