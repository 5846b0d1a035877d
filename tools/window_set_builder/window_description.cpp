#include "window_description.h"

#include <sstream>
#include <stdexcept>

#include "gbk_text.h"

namespace units {

using tools::ToGbk;

namespace {

struct Token {
    std::string text;
    bool quoted;
};

std::vector<Token> Tokenize(const std::string &line) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < line.size();) {
        if (isspace(uint8_t(line[i]))) {
            ++i;
            continue;
        }
        if (line[i] != '"') {
            size_t end = i;
            while (end < line.size() && !isspace(uint8_t(line[end]))) ++end;
            tokens.push_back({line.substr(i, end - i), false});
            i = end;
            continue;
        }
        std::string text;
        for (++i; i < line.size() && line[i] != '"'; ++i) {
            char c = line[i];
            if (c == '\\' && i + 1 < line.size()) {
                c = line[++i];
                c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
            }
            text += c;
        }
        if (i >= line.size()) throw std::runtime_error("unterminated text");
        ++i;
        tokens.push_back({ToGbk(text), true});
    }
    return tokens;
}

class Reader {
public:
    explicit Reader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}
    bool AtEnd() const { return next_ >= tokens_.size(); }
    std::string Word() {
        if (AtEnd()) throw std::runtime_error("entry ends too early");
        return tokens_[next_++].text;
    }
    std::string Text() {
        if (AtEnd() || !tokens_[next_].quoted) throw std::runtime_error("expected a quoted text");
        return tokens_[next_++].text;
    }
    uint32_t Number() {
        std::string w = Word();
        size_t used = 0;
        long long v = std::stoll(w, &used, 0);
        if (used != w.size()) throw std::runtime_error("not a number: " + w);
        return uint32_t(v);
    }
    bool NextIsNumber() const {
        return !AtEnd() && !tokens_[next_].quoted &&
               (isdigit(uint8_t(tokens_[next_].text[0])) || tokens_[next_].text[0] == '-');
    }
    std::string Hex() {
        std::string hex = Word(), out;
        if (hex == "-") return out;
        if (hex.size() % 2) throw std::runtime_error("odd hex digits: " + hex);
        for (size_t i = 0; i < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
        return out;
    }

private:
    std::vector<Token> tokens_;
    size_t next_ = 0;
};

void PutWord(std::string &out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

std::string PropertyData(Reader &in) {
    std::string out;
    while (!in.AtEnd()) {
        std::string kind = in.Word();
        if (kind == "u32") PutWord(out, in.Number());
        else if (kind == "text" || kind == "bytes") {
            std::string bytes = kind == "text" ? in.Text() : in.Hex();
            PutWord(out, uint32_t(bytes.size()));
            out += bytes;
        } else if (kind == "raw") out += in.Hex();
        else throw std::runtime_error("unknown data item: " + kind);
    }
    return out;
}

template <size_t N> void FixedBytes(Reader &in, std::array<uint8_t, N> &out) {
    std::string bytes = in.Hex();
    if (bytes.size() != N) throw std::runtime_error("wrong reserved length");
    std::copy(bytes.begin(), bytes.end(), out.begin());
}

uintptr_t Handler(Reader &in) {
    if (!in.NextIsNumber()) {
        if (in.Word() != "none") throw std::runtime_error("expected a handler");
        return kNoHandler;
    }
    return in.Number();
}

void UnitField(Reader &in, const std::string &key, UnitRecord &r) {
    if (key == "type") r.type = in.Number();
    else if (key == "name") r.name = in.Text();
    else if (key == "second") r.secondName = in.Text();
    else if (key == "source") r.eventSource = in.Number();
    else if (key == "at") {
        r.left = int32_t(in.Number());
        r.top = int32_t(in.Number());
        r.width = int32_t(in.Number());
        r.height = int32_t(in.Number());
    } else if (key == "container") r.container = in.Number();
    else if (key == "contains") {
        while (in.NextIsNumber()) r.contained.push_back(in.Number());
    } else if (key == "pointer") r.pointerData = in.Hex();
    else if (key == "tag") r.tag = in.Text();
    else if (key == "visible") r.state |= kStateVisible;
    else if (key == "disabled") r.state |= kStateDisabled;
    else if (key == "tabstop") r.state |= kStateTabStop;
    else if (key == "state") r.state = in.Number();
    else if (key == "tab") r.tabOrder = int32_t(in.Number());
    else if (key == "on") {
        int32_t event = int32_t(in.Number());
        r.bindings.push_back({event, Handler(in)});
    } else if (key == "reserved1") FixedBytes(in, r.reserved1);
    else if (key == "reserved2") r.reserved2 = in.Number();
    else if (key == "reserved3") FixedBytes(in, r.reserved3);
    else if (key == "data") r.propertyData = PropertyData(in);
    else throw std::runtime_error("unknown unit field: " + key);
}

void MenuField(Reader &in, const std::string &key, UnitRecord &r) {
    if (key == "name") r.name = in.Text();
    else if (key == "second") r.secondName = in.Text();
    else if (key == "words") {
        r.menuWords[0] = in.Number();
        r.menuWords[1] = in.Number();
    } else if (key == "state") r.state = in.Number();
    else if (key == "caption") r.caption = in.Text();
    else if (key == "handler") r.menuHandler = Handler(in);
    else throw std::runtime_error("unknown menu field: " + key);
}

void WindowField(Reader &in, const std::string &key, WindowTemplate &w) {
    if (key == "words") {
        w.words[0] = in.Number();
        w.words[1] = in.Number();
    } else if (key == "texts") {
        w.texts[0] = in.Text();
        w.texts[1] = in.Text();
    } else throw std::runtime_error("unknown window field: " + key);
}

void ParseEntry(const std::string &entry, std::vector<WindowTemplate> &windows) {
    Reader in(Tokenize(entry));
    std::string kind = in.Word();
    uint32_t id = in.Number();
    if (kind == "window") {
        windows.push_back({});
        windows.back().id = id;
        while (!in.AtEnd()) WindowField(in, in.Word(), windows.back());
        return;
    }
    if (windows.empty()) throw std::runtime_error("a unit before its window");
    UnitEntry unit;
    unit.id = id;
    if (kind == "menu") unit.record.type = kMenuItemType;
    else if (kind != "unit") throw std::runtime_error("unknown entry: " + kind);
    while (!in.AtEnd()) {
        std::string key = in.Word();
        if (kind == "menu") MenuField(in, key, unit.record);
        else UnitField(in, key, unit.record);
    }
    windows.back().units.push_back(std::move(unit));
}

} // namespace

std::vector<WindowTemplate> ParseWindowDescription(const std::string &text) {
    std::vector<WindowTemplate> windows;
    std::istringstream lines(text);
    std::string line, entry;
    int number = 0, entryLine = 0;
    auto flush = [&] {
        if (entry.empty()) return;
        try {
            ParseEntry(entry, windows);
        } catch (const std::exception &e) {
            throw std::runtime_error("line " + std::to_string(entryLine) + ": " + e.what());
        }
        entry.clear();
    };
    while (std::getline(lines, line)) {
        ++number;
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        if (first == 0) {
            flush();
            entryLine = number;
        }
        entry += " " + line;
    }
    flush();
    for (const WindowTemplate &w : windows)
        if (w.units.empty()) throw std::runtime_error("a window without units");
    return windows;
}

} // namespace units
