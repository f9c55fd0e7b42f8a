#include "derivation_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace viewer {

namespace {

// A run of this many terms of one weight or more is written as an average.
constexpr size_t kShortestAverage = 3;

bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_'; }

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '\'';
}

bool plainName(const std::string& name) {
    if (name.empty() || !isNameStart(name[0])) {
        return false;
    }
    for (char c : name) {
        if (!isNameChar(c)) {
            return false;
        }
    }
    return name.size() != 3 || (std::tolower(static_cast<unsigned char>(name[0])) != 'a' ||
                                std::tolower(static_cast<unsigned char>(name[1])) != 'v' ||
                                std::tolower(static_cast<unsigned char>(name[2])) != 'g');
}

std::string nameText(const std::string& name) {
    return plainName(name) ? name : "\"" + name + "\"";
}

// |w| with up to ten decimals, trailing zeros dropped.
std::string magnitudeText(double w) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10f", std::fabs(w));
    std::string text = buffer;
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

// " - 0.5 " before a term of weight `w` (the first term: "-0.5 ", "" for 1).
std::string weightText(double w, bool first) {
    const std::string sign = w < 0 ? "-" : "+";
    const std::string magnitude = magnitudeText(w);
    const std::string number = magnitude == "1" ? "" : magnitude + " ";
    if (first) {
        return (w < 0 ? "-" : "") + number;
    }
    return " " + sign + " " + number;
}

bool sameWeight(double a, double b) { return std::fabs(a - b) <= 1e-12 * std::fabs(a); }

// Terms [begin, end) are one average: all of one weight, at least kShortestAverage.
size_t averageRunEnd(const std::vector<MontageTerm>& terms, size_t begin) {
    size_t end = begin + 1;
    while (end < terms.size() && sameWeight(terms[end].weight, terms[begin].weight)) {
        ++end;
    }
    return end - begin >= kShortestAverage ? end : begin + 1;
}

std::string averageText(const std::vector<MontageTerm>& terms, size_t begin, size_t end,
                        const std::vector<std::string>& average) {
    bool whole = average.size() == end - begin;
    for (size_t i = begin; whole && i < end; ++i) {
        whole = terms[i].electrode == average[i - begin];
    }
    if (whole) {
        return "avg";
    }
    std::string text = "avg(";
    for (size_t i = begin; i < end; ++i) {
        text += (i == begin ? "" : ", ") + nameText(terms[i].electrode);
    }
    return text + ")";
}

class Reader {
public:
    Reader(std::string_view text, const std::vector<std::string>& average)
        : text_(text), average_(average) {}

    DerivationParse read() {
        DerivationParse out;
        skipBlanks();
        bool first = true;
        while (pos_ < text_.size() && error_.empty()) {
            double sign = 1.0;
            if (peek() == '+' || peek() == '-') {
                sign = take() == '-' ? -1.0 : 1.0;
            } else if (!first) {
                fail("a + or - expected");
                break;
            }
            term(sign, out.terms);
            first = false;
        }
        if (!error_.empty()) {
            return {{}, error_};
        }
        return out;
    }

private:
    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    char take() {
        const char c = text_[pos_++];
        skipBlanks();
        return c;
    }
    void skipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
    }
    void fail(const std::string& what) {
        if (error_.empty()) {
            error_ = what + " at character " + std::to_string(pos_ + 1);
        }
    }

    void term(double sign, std::vector<MontageTerm>& terms) {
        double weight = sign;
        if (std::isdigit(static_cast<unsigned char>(peek())) != 0 || peek() == '.') {
            weight *= number();
            if (peek() == '*') {
                take();
            }
        }
        std::string atom;
        const bool quoted = peek() == '"';
        if (!name(atom)) {
            return;
        }
        const bool isAverage = !quoted && atom.size() == 3 &&
                               std::tolower(static_cast<unsigned char>(atom[0])) == 'a' &&
                               std::tolower(static_cast<unsigned char>(atom[1])) == 'v' &&
                               std::tolower(static_cast<unsigned char>(atom[2])) == 'g';
        if (!isAverage) {
            terms.push_back({atom, weight});
            return;
        }
        std::vector<std::string> members = average_;
        if (peek() == '(') {
            members = list();
        } else if (members.empty()) {
            fail("avg: the recording has no EEG electrodes to average");
        }
        for (const std::string& m : members) {
            terms.push_back({m, weight / static_cast<double>(members.size())});
        }
    }

    double number() {
        const size_t start = pos_;
        while (std::isdigit(static_cast<unsigned char>(peek())) != 0 || peek() == '.') {
            ++pos_;
        }
        const std::string digits(text_.substr(start, pos_ - start));
        char* end = nullptr;
        const double v = std::strtod(digits.c_str(), &end);
        if (end != digits.c_str() + digits.size() || !std::isfinite(v) || v == 0.0) {
            pos_ = start;
            fail("a weight (a number other than 0) expected");
            return 1.0;
        }
        skipBlanks();
        return v;
    }

    bool name(std::string& out) {
        if (peek() == '"') {
            const size_t close = text_.find('"', pos_ + 1);
            if (close == std::string_view::npos || close == pos_ + 1) {
                fail("an electrode name between quotes expected");
                return false;
            }
            out = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            skipBlanks();
            return true;
        }
        if (!isNameStart(peek())) {
            fail("an electrode name expected");
            return false;
        }
        const size_t start = pos_;
        while (isNameChar(peek())) {
            ++pos_;
        }
        out = std::string(text_.substr(start, pos_ - start));
        skipBlanks();
        return true;
    }

    std::vector<std::string> list() {
        std::vector<std::string> members;
        take(); // "("
        while (error_.empty()) {
            std::string member;
            if (!name(member)) {
                break;
            }
            members.push_back(member);
            if (peek() == ')') {
                take();
                break;
            }
            if (peek() != ',') {
                fail("a , or ) expected");
                break;
            }
            take();
        }
        return members;
    }

    std::string_view text_;
    const std::vector<std::string>& average_;
    size_t pos_ = 0;
    std::string error_;
};

} // namespace

std::string derivationText(const std::vector<MontageTerm>& terms,
                           const std::vector<std::string>& average) {
    std::string text;
    for (size_t i = 0; i < terms.size();) {
        const size_t end = averageRunEnd(terms, i);
        if (end - i >= kShortestAverage) {
            const double w = terms[i].weight * static_cast<double>(end - i);
            text += weightText(w, i == 0) + averageText(terms, i, end, average);
        } else {
            text += weightText(terms[i].weight, i == 0) + nameText(terms[i].electrode);
        }
        i = end;
    }
    return text;
}

DerivationParse parseDerivation(std::string_view text, const std::vector<std::string>& average) {
    return Reader(text, average).read();
}

std::string derivationLabel(const std::vector<MontageTerm>& terms,
                            const std::vector<std::string>& average) {
    std::string label = derivationText(terms, average);
    for (const char* sign : {" - ", " + "}) {
        for (size_t at = label.find(sign); at != std::string::npos; at = label.find(sign, at)) {
            label.replace(at, 3, 1, sign[1]);
        }
    }
    return label;
}

} // namespace viewer
