#include "OpenFeedback.h"

#include "edf_reader.h"
#include "recording.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

// The byte that names the header generation, and the generations that exist.
constexpr qint64 kGenerationOffset = 175;
constexpr int kNewestGeneration = 4;
// Generation bytes a little past the newest read as a newer program's files.
constexpr int kNewerGenerations = 16;

constexpr int kLabelsNamed = 6;

// The latest frame of the file that the notes, the segment table or the montage history
// name; -1 when they name none.
int64_t lastNamedFrame(const viewer::Recording& rec) {
    int64_t last = -1;
    const int notes = std::clamp(rec.noteCount, 0, viewer::kNoteCapacity);
    for (int i = 0; i < notes && rec.notes[static_cast<size_t>(i)].sample != 0; ++i) {
        last = std::max<int64_t>(last, rec.notes[static_cast<size_t>(i)].sample);
    }
    for (const viewer::SegmentRecord& s : rec.segments) {
        if (s.origSample == 0) {
            break;
        }
        last = std::max<int64_t>(last, s.fileSample);
    }
    if (rec.historyPresent) {
        for (const int32_t point : rec.historySamples) {
            if (point == -1) {
                break;
            }
            last = std::max<int64_t>(last, point);
        }
    }
    return last;
}

// The numbers (from 1) of the recorded channels whose labels hold control bytes; the first
// few, then how many more.
QStringList damagedLabels(const viewer::Recording& rec) {
    QStringList damaged;
    int count = 0;
    const int channels =
        std::min<int>(rec.header.numChannels, static_cast<int>(rec.orderTable.size()));
    for (int c = 0; c < channels; ++c) {
        const uint16_t code = rec.orderTable[static_cast<size_t>(c)];
        if (code >= rec.electrodes.size()) {
            continue;
        }
        const viewer::ElectrodeRecord& e = rec.electrodes[code];
        bool bad = false;
        for (const auto& label : {e.positiveLabel, e.negativeLabel}) {
            for (const char ch : label) {
                const auto byte = static_cast<unsigned char>(ch);
                if (byte == 0) {
                    break;
                }
                bad = bad || byte < 0x20 || byte == 0x7F;
            }
        }
        if (bad && ++count <= kLabelsNamed) {
            damaged << QString::number(c + 1);
        }
    }
    if (count > kLabelsNamed) {
        damaged << QStringLiteral("%1 more").arg(count - kLabelsNamed);
    }
    return damaged;
}

} // namespace

QString refusalReason(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.exists()) {
        return QStringLiteral("Not opened: %1 does not exist.").arg(path);
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Not opened: %1 cannot be read (%2).").arg(name, file.errorString());
    }
    const QByteArray head = file.peek(8);
    if (head == "0       " || head == "\xff"
                                      "BIOSEMI") {
        const std::string why = viewer::edfRefusalReason(QFile::encodeName(path).toStdString());
        return QStringLiteral("Not opened: %1 is an %2 file that cannot be shown: %3.")
            .arg(name, head.startsWith('0') ? QStringLiteral("EDF") : QStringLiteral("BDF"),
                 QString::fromStdString(why.empty() ? std::string("it changed while it was read")
                                                    : why));
    }
    if (file.size() <= kGenerationOffset || !file.seek(kGenerationOffset)) {
        return QStringLiteral("Not opened: %1 is not a recording (too short).").arg(name);
    }
    char generation = 0;
    if (!file.getChar(&generation)) {
        return QStringLiteral("Not opened: %1 cannot be read.").arg(name);
    }
    const int g = static_cast<unsigned char>(generation);
    if (g > kNewestGeneration && g < kNewerGenerations) {
        return QStringLiteral("Not opened: %1 has an unknown header generation (%2); it may come "
                              "from a newer recorder.")
            .arg(name)
            .arg(g);
    }
    if (g > kNewestGeneration) {
        return QStringLiteral("Not opened: %1 is not a recording.").arg(name);
    }
    return QStringLiteral("Not opened: the header of %1 is damaged (its layout or patient check "
                          "sum does not hold).")
        .arg(name);
}

QString lengthText(int64_t seconds) {
    const int64_t h = seconds / 3600;
    const int64_t m = seconds / 60 % 60;
    const int64_t s = seconds % 60;
    QStringList parts;
    if (h > 0) {
        parts << QStringLiteral("%1 h").arg(h);
    }
    if (m > 0) {
        parts << QStringLiteral("%1 min").arg(m);
    }
    if (s > 0 || parts.isEmpty()) {
        parts << QStringLiteral("%1 s").arg(s);
    }
    return parts.join(QLatin1Char(' '));
}

QString openedMessage(const QString& path, const viewer::Recording& rec) {
    const QString name = QFileInfo(path).fileName();
    const uint16_t rate = rec.header.rate;
    QStringList problems;
    const int64_t named = lastNamedFrame(rec);
    if (rate > 0 && named >= rec.totalSamples) {
        // The length the tables need, in whole seconds (rounded up, as the recording's own).
        problems << QStringLiteral("the file ends after %1 of the %2 its header gives")
                        .arg(lengthText(rec.totalSamples / rate),
                             lengthText((named + rate) / rate));
    } else if (rec.totalSamples == 0) {
        problems << QStringLiteral("it holds no data (length 0 s)");
    }
    const QStringList damaged = damagedLabels(rec);
    if (!damaged.isEmpty()) {
        problems << QStringLiteral("its electrode table looks damaged: the label%1 of channel%1 "
                                   "%2 hold%3 bytes that are not text")
                        .arg(damaged.size() > 1 ? QStringLiteral("s") : QString(),
                             damaged.join(QStringLiteral(", ")),
                             damaged.size() > 1 ? QString() : QStringLiteral("s"));
    }
    if (problems.isEmpty()) {
        return {};
    }
    return QStringLiteral("%1 opened, but %2.").arg(name, problems.join(QStringLiteral("; and ")));
}
