// Build step: turns the readable theme table into the skin blocks.
//   skin_blocks THEMES OUT_DIR   writes OUT_DIR/skinNN.she for every line NN.
#include <fstream>
#include <iomanip>
#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

#include "skin_format.h"

namespace {

skin::Colour Colour(std::istream &in) {
    std::string word;
    in >> word;
    auto c = skin::ParseColour(word);
    if (!c) throw std::runtime_error("bad colour: " + word);
    return *c;
}

uint8_t Small(std::istream &in) {
    int v = -1;
    in >> v;
    if (v < 0 || v > 255) throw std::runtime_error("bad number");
    return uint8_t(v);
}

std::string Rest(std::istream &in) {
    std::string rest;
    std::getline(in, rest);
    rest.erase(0, rest.find_first_not_of(' '));
    rest.erase(rest.find_last_not_of(" \r") + 1);
    return rest == "-" ? std::string() : rest;
}

skin::Skin ParseTheme(std::istream &in) {
    skin::Skin s;
    in >> s.name;
    for (char &c : s.name)
        if (c == '_') c = ' ';
    for (skin::Colour *c : {&s.window, &s.text, &s.base, &s.button, &s.buttonText, &s.highlight, &s.highlightText,
                            &s.frame})
        *c = Colour(in);
    s.frameWidth = Small(in);
    s.radius = Small(in);
    s.fontSize = Small(in);
    s.fontFamily = Rest(in);
    if (!in && !in.eof()) throw std::runtime_error("short line");
    return s;
}

void WriteBlock(const std::string &dir, int number, const skin::Skin &s) {
    std::ostringstream name;
    name << dir << "/skin" << std::setw(2) << std::setfill('0') << number << ".she";
    std::ofstream out(name.str(), std::ios::binary);
    out << skin::WriteSkinBlock(s);
    if (!out) throw std::runtime_error("cannot write " + name.str());
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: skin_blocks THEMES OUT_DIR\n";
        return 2;
    }
    try {
        std::ifstream table(argv[1]);
        if (!table) throw std::runtime_error(std::string("cannot read ") + argv[1]);
        std::set<int> numbers;
        std::string line;
        while (std::getline(table, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream words(line);
            int number = 0;
            words >> number;
            if (number < 1 || !numbers.insert(number).second) throw std::runtime_error("bad or repeated number: " + line);
            WriteBlock(argv[2], number, ParseTheme(words));
        }
    } catch (const std::exception &e) {
        std::cerr << "skin_blocks: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
