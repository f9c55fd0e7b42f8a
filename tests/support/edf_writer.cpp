#include "edf_writer.h"

#include "derivations.h"

#include <fstream>

namespace viewer::testing {

namespace {

std::string field(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

} // namespace

double channelMicrovolts(const Recording& rec, int c, int64_t f) {
    DerivationRecord d;
    const ElectrodeRecord& e = rec.electrodes[rec.orderTable[static_cast<size_t>(c)]];
    d.kind = kInputAOnly, d.channelA = static_cast<int16_t>(c), d.unit = e.unit;
    d.logicGround = e.logicGround, d.groundFraction = e.groundFraction, d.stepUv = e.stepUv;
    d.physicalMin = e.physicalMin, d.physicalMax = e.physicalMax;
    d.logicMin = e.logicMin, d.logicMax = e.logicMax;
    const int32_t* frame = rec.pageBuffer.data() + f * rec.header.numChannels;
    return (static_cast<double>(lineValue(d, frame)) + lineValueFraction(d)) * lineScale(d);
}

std::string tal(double onset, double duration, const std::string& text) {
    std::string t = (onset < 0 ? "" : "+") + std::to_string(onset);
    if (duration >= 0) {
        t += "\x15" + std::to_string(duration);
    }
    return t + "\x14" + text + "\x14" + std::string(1, '\0');
}

void writeEdf(const std::string& path, const EdfDescription& d) {
    const bool annotated = d.annotationBytes > 0;
    const size_t ns = d.channels.size() + (annotated ? 1 : 0);
    const int width = d.bdf ? 3 : 2;
    std::string h = d.bdf ? "\xff"
                            "BIOSEMI"
                          : "0       ";
    h +=
        field(d.patient, 80) + field(d.recording, 80) + field(d.startDate, 8) +
        field(d.startTime, 8) +
        field(d.headerBytesField.empty() ? std::to_string(256 * (ns + 1)) : d.headerBytesField, 8) +
        field(d.reserved.empty() && d.bdf ? "24BIT" : d.reserved, 44) +
        field(std::to_string(d.records), 8) + field(d.recordSeconds, 8) +
        field(std::to_string(ns), 4);
    auto each = [&](auto pick, size_t w, const std::string& annotation) {
        for (const EdfSignalDescription& s : d.channels) {
            h += field(pick(s), w);
        }
        if (annotated) {
            h += field(annotation, w);
        }
    };
    const std::string annotationLabel = d.bdf ? "BDF Annotations" : "EDF Annotations";
    const int annotationSamples = (d.annotationBytes + width - 1) / width;
    each([](const auto& s) { return s.label; }, 16, annotationLabel);
    each([](const auto&) { return std::string(); }, 80, "");
    each([](const auto& s) { return s.dimension; }, 8, "");
    each([](const auto& s) { return s.physicalMin; }, 8, "-1");
    each([](const auto& s) { return s.physicalMax; }, 8, "1");
    each([](const auto& s) { return std::to_string(s.digitalMin); }, 8,
         d.bdf ? "-8388608" : "-32768");
    each([](const auto& s) { return std::to_string(s.digitalMax); }, 8,
         d.bdf ? "8388607" : "32767");
    each([](const auto&) { return std::string(); }, 80, "");
    each([](const auto& s) { return std::to_string(s.samplesPerRecord); }, 8,
         std::to_string(annotationSamples));
    each([](const auto&) { return std::string(); }, 32, "");
    std::ofstream out(path, std::ios::binary);
    out << h;
    const double seconds = std::stod(d.recordSeconds);
    for (int64_t r = 0; r < d.records; ++r) {
        std::string rec;
        for (size_t s = 0; s < d.channels.size(); ++s) {
            for (int k = 0; k < d.channels[s].samplesPerRecord; ++k) {
                const int32_t v = d.sample ? d.sample(r, static_cast<int>(s), k) : 0;
                for (int b = 0; b < width; ++b) {
                    rec += static_cast<char>((v >> (8 * b)) & 0xFF);
                }
            }
        }
        if (annotated) {
            // The time-keeping TAL first: "+t\x14\x14\0".
            std::string a = tal(d.onset ? d.onset(r) : static_cast<double>(r) * seconds, -1, "");
            a += d.tals ? d.tals(r) : "";
            a.resize(static_cast<size_t>(annotationSamples * width), '\0');
            rec += a;
        }
        out << rec;
    }
}

} // namespace viewer::testing
