// The typed input modes of the edit box: which typed characters a mode accepts and
// the text a mode makes of the content when the box loses the focus.
#pragma once

#include <cstdint>
#include <string>

namespace units {

enum EditInputMode : int32_t {
    kInputNormal = 0,
    kInputReadOnly = 1,
    kInputPassword = 2,
    kInputIntegerText = 3,
    kInputDecimalText = 4,
    kInputByte = 5,
    kInputShort = 6,
    kInputInteger = 7,
    kInputLong = 8,
    kInputFloat = 9,
    kInputDouble = 10,
    kInputDateTime = 11,
};

// Whether a typed character passes the mode's filter (control characters always do).
bool AcceptsCharacter(int32_t mode, uint32_t character);
// The normalised content (GBK); modes without normalisation return it unchanged.
std::string NormaliseInput(int32_t mode, const std::string &text);

} // namespace units
