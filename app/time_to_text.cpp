#include "time_to_text.h"

#include <string>

#include "conversion_commands.h"
#include "date_time_commands.h"
#include "image_data.h"
#include "runtime_calls.h"
#include "text_commands.h"

namespace app {
namespace {

constexpr int32_t kStyles = 4;
constexpr int32_t kParts = 6;

// Layouts by parts, then style; parts 0 with style 0 is the date-time's own text form.
const uint32_t kLayouts[kParts][kStyles] = {
    {0, image::kTimeLayout0_1, image::kTimeLayout0_2, image::kTimeLayout0_3},
    {image::kTimeLayout1_0, image::kTimeLayout1_1, image::kTimeLayout1_2, image::kTimeLayout1_3},
    {image::kTimeLayout2_0, image::kTimeLayout2_1, image::kTimeLayout2_2, image::kTimeLayout2_3},
    {image::kTimeLayout3_0, image::kTimeLayout3_1, image::kTimeLayout3_2, image::kTimeLayout3_3},
    {image::kTimeLayout4_0, image::kTimeLayout4_1, image::kTimeLayout4_2, image::kTimeLayout4_3},
    {image::kTimeLayout5_0, image::kTimeLayout5_1, image::kTimeLayout5_2, image::kTimeLayout5_3},
};

const char *Constant(uint32_t offset) { return reinterpret_cast<const char *>(image::ConstantArea + offset); }

std::string PartText(rt::CommandRoutine part, const rt::TypedValue &time) {
    rt::TypedValue number = CallCommand(part, {time});
    return TakeText(CallCommand(cmd::ToText, {number}));
}

// Two digits: "0" repeated for what the number lacks.
std::string Padded(rt::CommandRoutine part, const rt::TypedValue &time) {
    std::string digits = PartText(part, time);
    rt::TypedValue length = CallCommand(cmd::TextLength, {TextArg(digits.c_str())});
    std::string zeros = TakeText(CallCommand(cmd::RepeatText, {IntegerArg(2 - length.AsInteger()), TextArg(Constant(image::kZeroDigit))}));
    return zeros + digits;
}

std::string Field(char letter, const rt::TypedValue &time) {
    switch (letter) {
    case 'Y': return PartText(cmd::GetYear, time);
    case 'M': return Padded(cmd::GetMonth, time);
    case 'D': return Padded(cmd::GetDay, time);
    case 'h': return Padded(cmd::GetHour, time);
    case 'm': return Padded(cmd::GetMinute, time);
    default: return Padded(cmd::GetSecond, time);
    }
}

// Letters stand for fields; two-byte characters are copied whole, so a trail byte is
// never taken for a letter.
std::string FillLayout(const char *layout, const rt::TypedValue &time) {
    std::string text;
    for (const char *p = layout; *p; ++p) {
        auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0x80 && p[1]) {
            text.append(p, 2);
            ++p;
        } else if (std::string("YMDhms").find(*p) != std::string::npos) {
            text += Field(*p, time);
        } else {
            text += *p;
        }
    }
    return text;
}

char *OwnedText(const std::string &text) {
    if (text.empty()) return nullptr;
    auto *block = static_cast<char *>(rt::RuntimeHelpers.allocate(intptr_t(text.size() + 1)));
    text.copy(block, text.size());
    block[text.size()] = '\0';
    return block;
}

} // namespace

char *TimeToText(const rt::TypedValue &time, int32_t style, int32_t parts) {
    rt::TypedValue when = time.type == 0 ? CallCommand(cmd::CurrentTime, {}) : time;
    if (style < 0 || style >= kStyles || parts < 0 || parts >= kParts)
        return OwnedText(Constant(image::kTimeTextError));
    if (style == 0 && parts == 0) return CallCommand(cmd::ToText, {when}).Pointer<char>();
    return OwnedText(FillLayout(Constant(kLayouts[parts][style]), when));
}

} // namespace app
