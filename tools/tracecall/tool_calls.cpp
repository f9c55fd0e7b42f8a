#include "tool_calls.h"

#include "CViewerCtrl.h"
#include "drawing_calls.h"
#include "json.h"
#include "montage_calls.h"
#include "text.h"

#include <sstream>

using viewer::Recording;

namespace tracecall {

namespace {

template <size_t N> std::string fieldJson(const std::array<char, N>& field) {
    return jsonString(viewer::windows1252ToUtf8(viewer::fieldText(field.data(), N)));
}

std::string recordingJson(CViewerCtrl& ctrl, const Call&, std::string&) {
    const Recording& r = ctrl.recording();
    const viewer::TrcHeader& h = r.header;
    std::ostringstream o;
    o << "{\"headerType\": " << int(h.headerType) << ", \"rate\": " << h.rate
      << ", \"numChannels\": " << h.numChannels << ", \"bytesPerSample\": " << h.bytesPerSample
      << ", \"multiplexer\": " << h.multiplexer << ", \"dataStart\": " << h.dataStart
      << ", \"fileType\": " << h.fileType << ", \"numMontages\": " << h.numMontages
      << ", \"checkWord\": " << h.checkWord << ", \"fileLength\": " << r.fileLength
      << ", \"totalSamples\": " << r.totalSamples << ", \"maxPageMs\": " << r.maxPageMs
      << ", \"noteCount\": " << r.noteCount
      << ", \"historyPresent\": " << (r.historyPresent ? "true" : "false")
      << ", \"historyIndex\": " << r.historyIndex
      << ", \"fileInvalid\": " << (r.fileInvalid ? "true" : "false") << ", \"order\": [";
    const int channels = r.isOpen() ? std::min<int>(h.numChannels, 256) : 0;
    for (int c = 0; c < channels; ++c) {
        o << (c ? ", " : "") << r.orderTable[c];
    }
    o << "]}";
    return o.str();
}

std::string electrodeJson(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    if (call.args.size() != 1 || call.args[0].kind != Argument::Kind::Integer ||
        call.args[0].integer < 0 || call.args[0].integer >= viewer::kElectrodeCount) {
        error = "@electrode takes one electrode code, 0 to 639";
        return {};
    }
    const viewer::ElectrodeRecord& e = ctrl.recording().electrodes[call.args[0].integer];
    std::ostringstream o;
    o << "{\"status\": " << int(e.status) << ", \"electrodeType\": " << int(e.electrodeType)
      << ", \"positiveLabel\": " << fieldJson(e.positiveLabel)
      << ", \"negativeLabel\": " << fieldJson(e.negativeLabel) << ", \"logicMin\": " << e.logicMin
      << ", \"logicMax\": " << e.logicMax << ", \"logicGround\": " << e.logicGround
      << ", \"physicalMin\": " << e.physicalMin << ", \"physicalMax\": " << e.physicalMax
      << ", \"unit\": " << e.unit << ", \"avgExcluded\": " << int(e.avgExcluded) << "}";
    return o.str();
}

std::string notesJson(CViewerCtrl& ctrl, const Call&, std::string&) {
    const Recording& r = ctrl.recording();
    std::ostringstream o;
    o << "[";
    if (r.edf) {
        const auto& notes = r.edf->notes;
        for (size_t i = 0; i < notes.size(); ++i) {
            o << (i ? ", " : "") << "{\"sample\": " << notes[i].frame
              << ", \"onset\": " << notes[i].onset << ", \"duration\": " << notes[i].duration
              << ", \"text\": " << jsonString(notes[i].text) << "}";
        }
        return o.str() + "]";
    }
    for (size_t i = 0; i < r.notes.size() && r.notes[i].sample != 0; ++i) {
        o << (i ? ", " : "") << "{\"sample\": " << r.notes[i].sample
          << ", \"text\": " << fieldJson(r.notes[i].text) << "}";
    }
    o << "]";
    return o.str();
}

const std::map<std::string, ToolCall>& toolCalls() {
    static const std::map<std::string, ToolCall> calls = [] {
        std::map<std::string, ToolCall> all = {
            {"recording", recordingJson},
            {"electrode", electrodeJson},
            {"notes", notesJson},
        };
        addMontageCalls(all);
        addDrawingCalls(all);
        return all;
    }();
    return calls;
}

} // namespace

std::string runToolCall(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    const auto& calls = toolCalls();
    auto it = calls.find(call.name);
    if (it == calls.end()) {
        error = "no tool call named @" + call.name;
        return {};
    }
    return it->second(ctrl, call, error);
}

} // namespace tracecall
