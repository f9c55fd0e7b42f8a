#pragma once
// Runs parsed calls against any QObject through its meta-object: methods declared
// Q_INVOKABLE and Q_PROPERTYs, with arguments converted to the declared parameter types.

#include "call_parser.h"

#include <QObject>

#include <string>
#include <utility>
#include <vector>

namespace tracecall {

struct Outcome {
    std::string result = "null";                          // the JSON value
    std::vector<std::pair<std::string, std::string>> out; // out parameters, JSON values
    bool hasOut = false;
    std::string error; // nonempty when the call could not be made
};

Outcome invokeMethod(QObject& target, const Call& call);
Outcome writeProperty(QObject& target, const Call& call);
Outcome readProperty(QObject& target, const Call& call);

// A QVariant of the basic types as a JSON value.
std::string jsonValue(const QVariant& v);

} // namespace tracecall
