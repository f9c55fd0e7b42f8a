#include "video_helpers.h"

#include <QFile>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Module1 {

namespace {

// The AVI header offsets: the form type after "RIFF" and its size, and the main header's
// microseconds per frame.
constexpr qint64 kFormTypeOffset = 8;
constexpr qint64 kMicroSecPerFrameOffset = 32;
constexpr qint64 kShortestAvi = 50;

struct NominalRate {
    int64_t within;       // snapped when the declared value is closer than this
    int32_t microseconds; // nominal duration of one frame
};

// Tried from the top; the first row near enough wins.
constexpr std::array<NominalRate, 6> kNominalRates = {{
    {200000, 1000000}, // 1 frame per second
    {88235, 500000},   // 2
    {12766, 200000},   // 5
    {3800, 100000},    // 10
    {2500, 80000},     // 12.5
    {630, 40000},      // 25
}};

int32_t nominalFrameDuration(int32_t declared) {
    for (const NominalRate& row : kNominalRates) {
        if (std::llabs(static_cast<int64_t>(declared) - row.microseconds) < row.within) {
            return row.microseconds;
        }
    }
    return declared;
}

} // namespace

bool FileExists(const QString& path) {
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly);
}

bool DetectVideoRates(const QString& path, int32_t& fileRate, int32_t& realRate, int16_t delay) {
    fileRate = 1;
    realRate = 1;
    if (path.isEmpty() || !FileExists(path)) {
        return false;
    }
    if (path.right(3).toUpper() == QLatin1String("MPG")) {
        realRate = 90000;
        fileRate = 90000 + delay;
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kShortestAvi) {
        return false;
    }
    const QByteArray head = file.read(kMicroSecPerFrameOffset + 4);
    if (head.size() < kMicroSecPerFrameOffset + 4 ||
        head.mid(kFormTypeOffset, 3).toUpper() != QByteArrayLiteral("AVI")) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(head.constData());
    const uint8_t* p = bytes + kMicroSecPerFrameOffset;
    const auto declared =
        static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                             static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
    // A file that declares no frame duration gives no mapping, rather than a zero or negative
    // rate that the time mapping would divide by.
    if (declared <= 0) {
        return false;
    }
    fileRate = declared;
    realRate = nominalFrameDuration(declared);
    return true;
}

QString FormatHhMmSs(int32_t seconds) {
    constexpr int32_t kDay = 86400;
    const int32_t ofDay = ((seconds % kDay) + kDay) % kDay;
    const int32_t hours = ofDay / 3600;
    const int32_t minutes = (ofDay / 60) % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(ofDay % 60, 2, 10, QLatin1Char('0'));
}

} // namespace Module1

namespace videotime {

int32_t wholeNumber(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    const double whole = std::nearbyint(v);
    if (whole <= std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    if (whole >= std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(whole);
}

} // namespace videotime
