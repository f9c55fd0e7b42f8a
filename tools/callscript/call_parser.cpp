#include "call_parser.h"

#include <QString>

#include <cctype>
#include <cstdlib>

namespace tracecall {

double Argument::decimal() const {
    return kind == Kind::Integer ? static_cast<double>(integer)
                                 : std::strtod(text.c_str(), nullptr);
}

namespace {

class Lexer {
public:
    explicit Lexer(const std::string& s) : s_(s) {}

    void skipBlanks() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) {
            ++pos_;
        }
    }
    bool atEnd() {
        skipBlanks();
        return pos_ >= s_.size();
    }
    bool take(char c) {
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::string identifier() {
        skipBlanks();
        const size_t start = pos_;
        while (pos_ < s_.size() &&
               (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_')) {
            ++pos_;
        }
        return s_.substr(start, pos_ - start);
    }

    bool argument(Argument& a, std::string& error) {
        skipBlanks();
        if (take('"')) {
            a.kind = Argument::Kind::Text;
            return quoted(a.text, error);
        }
        if (take('[')) {
            a.kind = Argument::Kind::List;
            if (take(']')) {
                return true;
            }
            do {
                Argument item;
                if (!number(item, error) || item.kind != Argument::Kind::Integer) {
                    error = "a list holds whole numbers only";
                    return false;
                }
                a.list.push_back(item.integer);
            } while (take(','));
            if (!take(']')) {
                error = "a list must end with ]";
                return false;
            }
            return true;
        }
        const std::string word = peekWord();
        if (word == "_" || word == "true" || word == "false") {
            pos_ += word.size();
            a.kind = word == "_" ? Argument::Kind::Out : Argument::Kind::Boolean;
            a.boolean = word == "true";
            return true;
        }
        return number(a, error);
    }

private:
    std::string peekWord() {
        size_t end = pos_;
        while (end < s_.size() &&
               (std::isalnum(static_cast<unsigned char>(s_[end])) || s_[end] == '_')) {
            ++end;
        }
        return s_.substr(pos_, end - pos_);
    }

    bool number(Argument& a, std::string& error) {
        skipBlanks();
        const char* begin = s_.c_str() + pos_;
        char* end = nullptr;
        std::strtod(begin, &end);
        if (end == begin) {
            error = "expected a value at \"" + s_.substr(pos_) + "\"";
            return false;
        }
        const std::string text(begin, static_cast<size_t>(end - begin));
        pos_ += text.size();
        if (text.find_first_of(".eE") == std::string::npos &&
            text.find("inf") == std::string::npos && text.find("nan") == std::string::npos) {
            a.kind = Argument::Kind::Integer;
            a.integer = std::strtoll(text.c_str(), nullptr, 10);
        } else {
            a.kind = Argument::Kind::Decimal;
            a.text = text;
        }
        return true;
    }

    // A JSON string body after its opening quote.
    bool quoted(std::string& out, std::string& error) {
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (c == '"') {
                return true;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) {
                break;
            }
            const char e = s_[pos_++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'u': {
                if (pos_ + 4 > s_.size()) {
                    error = "short \\u escape";
                    return false;
                }
                const unsigned cp = std::strtoul(s_.substr(pos_, 4).c_str(), nullptr, 16);
                pos_ += 4;
                out += QString(QChar(static_cast<char16_t>(cp))).toStdString();
                break;
            }
            default:
                out += e;
            }
        }
        error = "unterminated string";
        return false;
    }

    const std::string& s_;
    size_t pos_ = 0;
};

} // namespace

std::optional<Call> parseCall(const std::string& text, std::string& error) {
    Lexer lex(text);
    Call call;
    const bool tool = lex.take('@');
    call.name = lex.identifier();
    if (call.name.empty()) {
        error = "expected a name";
        return std::nullopt;
    }
    if (lex.take('(')) {
        call.kind = tool ? Call::Kind::Tool : Call::Kind::Method;
        if (!lex.take(')')) {
            do {
                Argument a;
                if (!lex.argument(a, error)) {
                    return std::nullopt;
                }
                call.args.push_back(a);
            } while (lex.take(','));
            if (!lex.take(')')) {
                error = "expected , or ) after an argument";
                return std::nullopt;
            }
        }
    } else if (!tool && lex.take('=')) {
        call.kind = Call::Kind::Write;
        Argument a;
        if (!lex.argument(a, error)) {
            return std::nullopt;
        }
        call.args.push_back(a);
    } else {
        call.kind = tool ? Call::Kind::Tool : Call::Kind::Read;
    }
    if (!lex.atEnd()) {
        error = "unexpected text after the call";
        return std::nullopt;
    }
    return call;
}

} // namespace tracecall
