// The edit box unit's properties and their stored form in a window template.
#pragma once

#include <cstdint>
#include <string>

namespace units {

struct EditBoxProperties {
    std::string content;
    int32_t border = 1;
    uint32_t textColour = 0;
    uint32_t background = 0xffffff;
    int32_t hideSelection = 1;
    int32_t maxLength = 0;
    int32_t multiLine = 0;
    int32_t scrollBars = 0;
    int32_t alignment = 0;
    int32_t inputMode = 0;
    uint16_t passwordChar = '*';
    int32_t caseMode = 0;
    int32_t adjuster = 0;
    int32_t bound1 = 0;
    int32_t bound2 = 100;
    int32_t selStart = 0;
    int32_t selLength = 0;
    std::string font; // a 60-byte LOGFONT, or empty
    std::string dataSource;
    std::string dataColumn;
};

constexpr uint32_t kEditBoxDataVersion = 2;

// Reads template data over the defaults already in `p`; empty data keep them. False
// for a version above the highest known or data that end too early.
bool ReadEditBoxData(const uint8_t *data, uint32_t size, EditBoxProperties &p);
// The current properties as data of the highest version.
std::string WriteEditBoxData(const EditBoxProperties &p);

} // namespace units
