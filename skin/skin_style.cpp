#include "skin_style.h"

namespace skin {
namespace {

std::string Px(uint8_t v) { return std::to_string(unsigned(v)) + "px"; }

std::string FontRule(const Skin &s) {
    std::string rule = " font-size: " + std::to_string(unsigned(s.fontSize)) + "pt;";
    if (s.fontFamily.empty()) return rule;
    std::string family;
    for (char c : s.fontFamily)
        if (c != '"' && c != '\\' && c != '\n' && c != ';' && c != '}') family += c; // keep the sheet well-formed
    return rule + " font-family: \"" + family + "\";";
}

std::string Frame(const Skin &s) {
    return " border: " + Px(s.frameWidth) + " solid " + ColourText(s.frame) + "; border-radius: " + Px(s.radius) + ";";
}

} // namespace

std::string StyleSheetOf(const Skin &s) {
    std::string sheet;
    sheet += "QWidget { background-color: " + ColourText(s.window) + "; color: " + ColourText(s.text) + ";" +
             FontRule(s) + " }\n";
    sheet += "QLineEdit, QTextEdit, QPlainTextEdit { background-color: " + ColourText(s.base) + ";" + Frame(s) +
             " selection-background-color: " + ColourText(s.highlight) +
             "; selection-color: " + ColourText(s.highlightText) + "; }\n";
    sheet += "QPushButton { background-color: " + ColourText(s.button) + "; color: " + ColourText(s.buttonText) + ";" +
             Frame(s) + " padding: 2px 8px; }\n";
    sheet += "QPushButton:hover, QPushButton:pressed { background-color: " + ColourText(s.highlight) +
             "; color: " + ColourText(s.highlightText) + "; }\n";
    sheet += "QLabel { background-color: transparent; }\n";
    return sheet;
}

} // namespace skin
