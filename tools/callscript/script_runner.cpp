#include "script_runner.h"

#include "json.h"

#include <QCoreApplication>

#include <cstdio>

namespace tracecall {

Outcome runCall(QObject& target, const Call& call,
                const std::function<std::string(const Call&, std::string&)>& tool) {
    Outcome outcome;
    switch (call.kind) {
    case Call::Kind::Method:
        return invokeMethod(target, call);
    case Call::Kind::Write:
        return writeProperty(target, call);
    case Call::Kind::Read:
        return readProperty(target, call);
    case Call::Kind::Tool:
        outcome.result = tool(call, outcome.error);
        break;
    }
    return outcome;
}

int runScript(const std::vector<std::string>& calls, const std::function<void()>& before,
              const std::function<Outcome(Call&)>& run,
              const std::function<std::string()>& fields) {
    bool failed = false;
    for (const std::string& text : calls) {
        before();
        std::string error;
        Outcome outcome;
        if (auto call = parseCall(text, error)) {
            outcome = run(*call);
            QCoreApplication::processEvents();
            error = outcome.error;
        }
        if (!error.empty()) {
            failed = true;
            std::printf("{\"call\": %s, \"error\": %s}\n", jsonString(text).c_str(),
                        jsonString(error).c_str());
            continue;
        }
        std::string line = "{\"call\": ";
        line += jsonString(text);
        line += ", \"result\": " + outcome.result;
        if (outcome.hasOut) {
            std::vector<std::string> out;
            for (const auto& [name, value] : outcome.out) {
                out.push_back(jsonString(name) + ": " + value);
            }
            std::string object = listJson(out);
            object.front() = '{';
            object.back() = '}';
            line += ", \"out\": " + object;
        }
        line += fields();
        std::printf("%s}\n", line.c_str());
        std::fflush(stdout);
    }
    return failed ? 2 : 0;
}

bool parseSize(const char* text, int& width, int& height) {
    return std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 0 && height > 0;
}

std::string listJson(const std::vector<std::string>& items) {
    std::string s = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) {
            s += ", ";
        }
        s += items[i];
    }
    return s + "]";
}

} // namespace tracecall
