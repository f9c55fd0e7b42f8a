#include "montage_calls.h"

#include "CViewerCtrl.h"
#include "json.h"
#include "page_length.h"
#include "text.h"

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
        o << (i ? ", " : "") << montageLineJson(m, i);
    }
    o << "]}";
    return o.str();
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
    calls["lines"] = linesJson;
    calls["buffer"] = bufferJson;
    calls["trace"] = traceJson;
    calls["coefficients"] = coefficientsJson;
}

} // namespace tracecall
