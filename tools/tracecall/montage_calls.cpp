#include "montage_calls.h"

#include "CViewerCtrl.h"
#include "json.h"
#include "montage_catalogue.h"
#include "montage_lines.h"
#include "page_length.h"
#include "text.h"

#include <cstdio>
#include <iomanip>
#include <sstream>

using viewer::MontageRecord;

namespace tracecall {

namespace {

// The integer arguments of `call`, when it has exactly `count` of them.
bool integerArgs(const Call& call, size_t count, std::vector<int64_t>& out) {
    if (call.args.size() != count) {
        return false;
    }
    out.clear();
    for (const Argument& a : call.args) {
        if (a.kind != Argument::Kind::Integer) {
            return false;
        }
        out.push_back(a.integer);
    }
    return true;
}

std::string montageLineJson(const MontageRecord& m, int i) {
    std::ostringstream o;
    o << "{\"inputA\": " << m.inputA[i] << ", \"inputB\": " << m.inputB[i]
      << ", \"gain\": " << m.gain[i] << ", \"highPass\": " << m.highPass[i]
      << ", \"lowPass\": " << m.lowPass[i] << ", \"colourCode\": " << int(m.colourCode[i])
      << ", \"colourIndex\": " << int(m.colourIndex[i]) << ", \"selected\": " << int(m.selected[i])
      << "}";
    return o.str();
}

// What a line of a montage shown by name adds to its record: label, electrodes and weights
// (inverted lines' negated), colour, the settings it keeps itself.
std::string ownLineJson(const viewer::Recording& r, int i) {
    const viewer::OwnLine& l = r.own.lines[static_cast<size_t>(i)];
    std::ostringstream o;
    o << ", \"label\": " << jsonString(l.label) << ", \"terms\": [";
    for (size_t k = 0; k < l.terms.size(); ++k) {
        const viewer::OwnTerm& t = l.terms[k];
        const std::string name = t.code == viewer::kMissingElectrode
                                     ? std::string()
                                     : viewer::windows1252ToUtf8(viewer::fieldText(
                                           r.electrodes[t.code].positiveLabel.data(), 6));
        o << (k ? ", " : "") << "{\"electrode\": " << jsonString(name)
          << ", \"code\": " << (t.code == viewer::kMissingElectrode ? -1 : int(t.code))
          << ", \"weight\": " << jsonDouble(t.weight) << "}";
    }
    o << "], \"colour\": ";
    if (l.rgb) {
        o << "\"#" << std::hex << std::setw(6) << std::setfill('0') << *l.rgb << std::dec << "\"";
    } else {
        o << "null";
    }
    o << ", \"keeps\": " << int(l.keeps) << ", \"lineNotch\": " << int(l.notch);
    return o.str();
}

std::string montageJson(CViewerCtrl& ctrl, const Call&, std::string&) {
    const viewer::Recording& r = ctrl.recording();
    const MontageRecord& m = r.currentMontage;
    const std::string description =
        viewer::windows1252ToUtf8(viewer::fieldText(m.description.data(), m.description.size()));
    std::ostringstream o;
    o << "{\"numLines\": " << m.numLines << ", \"pageMs\": " << m.pageMs
      << ", \"baseTime\": " << m.baseTime << ", \"notch\": " << int(m.notch)
      << ", \"refMode\": " << int(m.refMode) << ", \"converted\": " << int(m.converted)
      << ", \"description\": " << jsonString(description)
      << ", \"samplesPerPage\": " << r.samplesPerPage << ", \"pageStart\": " << r.pageStart
      << ", \"lines\": [";
    const int lines = std::min<int>(m.numLines, viewer::kMaxLines);
    for (int i = 0; i < lines; ++i) {
        std::string line = montageLineJson(m, i);
        if (r.own.inForce && static_cast<size_t>(i) < r.own.lines.size()) {
            line.insert(line.size() - 1, ownLineJson(r, i));
        }
        o << (i ? ", " : "") << line;
    }
    o << "]";
    if (r.own.inForce) {
        o << ", \"name\": " << jsonString(r.own.name);
    }
    o << "}";
    return o.str();
}

// @use("NAME"): shows the montage of the list named NAME, the user's montages read from
// their folder (files that do not read are named on standard error and skipped).
std::string useJson(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    if (call.args.size() != 1 || call.args[0].kind != Argument::Kind::Text) {
        error = "@use takes one montage name in double quotes";
        return {};
    }
    const MontageCatalogue catalogue =
        MontageCatalogue::withUserMontages(ctrl, [](const QString& text) {
            std::fprintf(stderr, "tracecall: %s\n", qPrintable(text));
        });
    QString problem;
    const OfferedMontage* entry =
        catalogue.chooseNamed(ctrl, QString::fromStdString(call.args[0].text), problem);
    if (entry == nullptr) {
        error = problem.toStdString();
        return {};
    }
    return jsonString(entry->name.toStdString());
}

std::string linesJson(CViewerCtrl& ctrl, const Call&, std::string&) {
    const viewer::Recording& r = ctrl.recording();
    const int lines = std::min<int>(r.currentMontage.numLines, viewer::kMaxLines);
    std::ostringstream o;
    o << "[";
    for (int i = 0; i < lines; ++i) {
        const viewer::DerivationRecord& d = r.derivations[i];
        o << (i ? ", " : "") << "{\"kind\": " << int(d.kind) << ", \"channelA\": " << d.channelA
          << ", \"channelB\": " << d.channelB << ", \"physicalMax\": " << d.physicalMax
          << ", \"physicalMin\": " << d.physicalMin << ", \"logicMax\": " << d.logicMax
          << ", \"logicMin\": " << d.logicMin << ", \"logicGround\": " << d.logicGround
          << ", \"unit\": " << d.unit << "}";
    }
    o << "]";
    return o.str();
}

std::string bufferJson(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    const viewer::Recording& r = ctrl.recording();
    const int64_t frames = r.pageBuffer.empty() ? 0 : viewer::framesThatFit(r);
    std::vector<int64_t> a;
    if (!integerArgs(call, 2, a) || a[0] < 0 || a[1] < a[0] || a[1] > frames) {
        error = "@buffer takes two frame numbers f0 <= f1 <= " + std::to_string(frames);
        return {};
    }
    const int channels = r.header.numChannels;
    std::ostringstream o;
    o << "[";
    for (int64_t f = a[0]; f < a[1]; ++f) {
        o << (f > a[0] ? ", [" : "[");
        for (int c = 0; c < channels; ++c) {
            o << (c ? ", " : "") << r.pageBuffer[static_cast<size_t>(f * channels + c)];
        }
        o << "]";
    }
    o << "]";
    return o.str();
}

std::string traceJson(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    std::vector<int64_t> a;
    if (!integerArgs(call, 1, a) || a[0] < 0 || a[0] >= viewer::kMaxLines) {
        error = "@trace takes one line number, 0 to 127";
        return {};
    }
    std::string out = "[";
    bool first = true;
    for (float v : ctrl.model().lineValues(static_cast<int>(a[0]))) {
        out += (first ? "" : ", ") + jsonFloat(v);
        first = false;
    }
    return out + "]";
}

std::string coefficientsJson(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    std::vector<int64_t> a;
    if (!integerArgs(call, 1, a) || a[0] < 0 || a[0] >= viewer::FilterBank::kSlots) {
        error = "@coefficients takes one line number, 0 to 255";
        return {};
    }
    const viewer::FilterCoefficients& c =
        ctrl.model().filters().line(static_cast<int>(a[0])).coefficients();
    return "{\"L\": " + jsonDouble(c.L) + ", \"N\": " + jsonDouble(c.N) +
           ", \"M\": " + jsonDouble(c.M) + ", \"O\": " + jsonDouble(c.O) +
           ", \"J\": " + jsonDouble(c.J) + ", \"I\": " + jsonDouble(c.I) +
           ", \"K\": " + jsonDouble(c.K) + "}";
}

} // namespace

void addMontageCalls(std::map<std::string, ToolCall>& calls) {
    calls["montage"] = montageJson;
    calls["use"] = useJson;
    calls["lines"] = linesJson;
    calls["buffer"] = bufferJson;
    calls["trace"] = traceJson;
    calls["coefficients"] = coefficientsJson;
}

} // namespace tracecall
