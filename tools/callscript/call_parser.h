#pragma once
// Parses the calls given on the tracecall command line:
//   Name(arg, ...)   invokes a method          name=value   writes a property
//   name             reads a property          @name(...)   asks the tool itself

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tracecall {

struct Argument {
    enum class Kind { Integer, Decimal, Boolean, Text, List, Out };
    Kind kind = Kind::Integer;
    int64_t integer = 0;
    bool boolean = false;
    std::string text; // the decimal as written, or the decoded string
    std::vector<int64_t> list;

    double decimal() const;
};

struct Call {
    enum class Kind { Method, Write, Read, Tool };
    Kind kind = Kind::Method;
    std::string name;
    std::vector<Argument> args; // a property write has its value as the only argument
};

// The parsed call, or nothing with `error` saying why.
std::optional<Call> parseCall(const std::string& text, std::string& error);

} // namespace tracecall
