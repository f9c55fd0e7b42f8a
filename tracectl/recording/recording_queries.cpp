#include "recording_queries.h"

#include "edf_annotations.h"
#include "montages.h"
#include "text.h"

#include <cmath>
#include <limits>

namespace viewer::queries {

namespace {

template <size_t N> std::string patientText(const std::array<char, N>& field, size_t maxChars) {
    return windows1252ToUtf8(trimRight(fieldText(field.data(), maxChars)));
}

int32_t clampToI32(double v) {
    if (!(v > std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    if (v >= 2147483647.0) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(v);
}

// Seconds from the file start to the uncut recording's second, all in unsigned 32 bits.
uint32_t uncutSecond(const Recording& rec, int32_t second) {
    const uint32_t rate = rec.header.rate;
    return uncutFrame(rec, static_cast<uint32_t>(second) * rate) / rate;
}

} // namespace

std::string GetSurName(const Recording& rec) {
    return rec.isOpen() ? patientText(rec.header.surname, 21) : std::string{};
}

std::string GetName(const Recording& rec) {
    return rec.isOpen() ? patientText(rec.header.name, 19) : std::string{};
}

uint32_t uncutFrame(const Recording& rec, uint32_t s) {
    if (rec.edf) {
        return static_cast<uint32_t>(edfUncutFrame(*rec.edf, s));
    }
    int j = 0;
    while (j < kSegmentCapacity && rec.segments[j].origSample != 0 &&
           rec.segments[j].fileSample <= s) {
        ++j;
    }
    if (j == 0) {
        return s;
    }
    const SegmentRecord& e = rec.segments[j - 1];
    return s - e.fileSample + static_cast<uint32_t>(e.origSample);
}

bool isValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int64_t daysSince1899(int year, int month, int day) {
    // Days from the civil calendar (proleptic Gregorian), counted from 1970-01-01.
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t unixDays = era * 146097 + doe - 719468;
    return unixDays + 25569; // 1970-01-01 is day 25569 of the automation calendar
}

double GetDateTimeFromSeconds(const Recording& rec, int32_t seconds) {
    if (!rec.isOpen()) {
        return 0.0;
    }
    const TrcHeader& h = rec.header;
    const int year = h.recYear + 1900;
    if (!isValidDate(year, h.recMonth, h.recDay) || h.recHour > 23 || h.recMinute > 59 ||
        h.recSecond > 59) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double start = static_cast<double>(daysSince1899(year, h.recMonth, h.recDay)) +
                         (h.recHour * 3600 + h.recMinute * 60 + h.recSecond) / 86400.0;
    // The day fraction of one second is the single-precision constant the recordings'
    // own software used; long offsets come out a little early, as they always have.
    constexpr float kDayPerSecond = 0.000011574f;
    return start + uncutSecond(rec, seconds) * static_cast<double>(kDayPerSecond);
}

int32_t GetMont(const Recording& rec, int32_t secondo) {
    if (!rec.isOpen()) {
        return 0;
    }
    const TrcHeader& h = rec.header;
    return static_cast<int32_t>(uncutSecond(rec, secondo) + h.recHour * 3600u +
                                h.recMinute * 60u + h.recSecond);
}

int32_t GetTime(const Recording& rec, float secondo) {
    if (!rec.isOpen()) {
        return 0;
    }
    const double whole = std::isfinite(secondo) ? std::trunc(static_cast<double>(secondo)) : 0.0;
    return GetMont(rec, clampToI32(whole));
}

int32_t totalTrcSec(const Recording& rec) {
    if (!rec.isOpen()) {
        return 0;
    }
    return clampToI32(std::ceil(static_cast<double>(rec.totalSamples) / rec.header.rate));
}

float GetPosNote(Recording& rec, int32_t numNota) {
    if (rec.isOpen() && rec.edf) {
        const auto& notes = rec.edf->notes;
        return numNota >= 0 && static_cast<size_t>(numNota) < notes.size()
                   ? static_cast<float>(
                         static_cast<double>(notes[static_cast<size_t>(numNota)].frame) /
                         rec.header.rate)
                   : 0.0f;
    }
    if (!rec.isOpen() || numNota < 0 || numNota > rec.noteCount || numNota > kNoteCapacity) {
        return 0.0f;
    }
    NoteRecord& note = rec.notes[numNota];
    if (note.sample < 0) {
        note.sample = 1;
    }
    return static_cast<float>(note.sample) / static_cast<float>(rec.header.rate);
}

int32_t GetPixelPosition(int32_t pageMs, int32_t labelWidth, int32_t right, int32_t milliSec) {
    if (pageMs <= 0 || milliSec < 0 || milliSec > pageMs) {
        return -1;
    }
    return labelWidth +
           static_cast<int32_t>(static_cast<double>(milliSec) * (right - labelWidth) / pageMs);
}

bool ThereIsVideo(const Recording& rec) {
    return rec.isOpen() && (rec.header.checkWord & 0x8000) != 0;
}

int16_t GetVideoOneSfasFrame(const Recording& rec) {
    return rec.isOpen() ? static_cast<int16_t>(rec.header.videoDelay) : int16_t{0};
}

int32_t GetSfasVideo(const Recording& rec, int32_t position, int32_t& videoFileNum) {
    videoFileNum = -1;
    if (!rec.isOpen()) {
        return -1;
    }
    if (rec.header.videoStart != -1) {
        return rec.header.videoStart;
    }
    const VideoRecord& first = rec.videos[0];
    if (position < first.startMs) {
        videoFileNum = first.fileNumber;
        return first.startMs;
    }
    for (const VideoRecord& v : rec.videos) {
        if (v.startMs == -1) {
            break;
        }
        const int64_t end = static_cast<int64_t>(v.startMs) + v.lengthMs;
        if (v.startMs <= position && position <= end) {
            videoFileNum = v.fileNumber;
            return v.startMs;
        }
    }
    return -1;
}

float GetNextFileVideoStart(const Recording& rec, int32_t currentVideo) {
    if (!rec.isOpen()) {
        return -1.0f;
    }
    for (int i = 0; i + 1 < kVideoCapacity; ++i) {
        if (rec.videos[i].fileNumber == currentVideo && rec.videos[i + 1].fileNumber != -1) {
            return static_cast<float>(rec.videos[i + 1].startMs);
        }
    }
    return -1.0f;
}

} // namespace viewer::queries

namespace viewer::queries {

int16_t GetNumArchivedMontage(Recording& rec) {
    TrcHeader& h = rec.header;
    const uint32_t length = h.area(Area::Montage).length;
    const bool usable = (h.headerType == 4 && length == 122880) ||
                        (h.headerType == 3 && (length == 92160 || length == 122880));
    if (!usable) {
        h.numMontages = 0;
    }
    return static_cast<int16_t>(usableArchivedMontages(rec));
}

std::string GetArchivedMontName(const Recording& rec, int16_t k) {
    if (!rec.isOpen() || k < 0 || k >= usableArchivedMontages(rec)) {
        return {};
    }
    const int64_t recordSize = montageRecordSize(rec.header.headerType);
    std::array<char, 64> name{};
    const int64_t offset = rec.header.area(Area::Montage).offset + k * recordSize + 264;
    rec.file.readAt(offset, name.data(), name.size());
    return windows1252ToUtf8(fieldText(name.data(), name.size()));
}

} // namespace viewer::queries
