#include "wide_text.h"

#include "image_data.h"
#include "literals.h"
#include "runtime_calls.h"
#include "text_commands.h"

namespace app {
namespace {

constexpr int32_t kSystemCodePage = 0;
constexpr int32_t kUpToZero = -1;

int32_t MultiByteToWide(int32_t codePage, const char *text, const uint8_t *units, int32_t unitCount) {
    return int32_t(CallDeclared(image::kDeclaredMultiByteToWideChar,
                                {Word(codePage), Word(0), Word(text), Word(kUpToZero), Word(units), Word(unitCount)}));
}

int32_t WideToMultiByte(int32_t codePage, const char *units, char *buffer, int32_t size) {
    return int32_t(CallDeclared(image::kDeclaredWideCharToMultiByte, {Word(codePage), Word(0), Word(units),
                                                                       Word(kUpToZero), Word(buffer), Word(size),
                                                                       Word(0), Word(0)}));
}

// The whole units with a zero unit after them, so a set without one is never read
// past its end; a trailing half unit is no character and is left out.
std::string Terminated(const std::string &units) {
    std::string copy = units.substr(0, units.size() & ~size_t(1));
    copy.append(2, '\0');
    return copy;
}

} // namespace

std::string ToWideText(const std::string &text, int32_t codePage, bool codePageGiven) {
    if (!codePageGiven) codePage = kCodePageUtf8;
    int32_t n = MultiByteToWide(kSystemCodePage, text.c_str(), EmptyByteSetBytes(), 0);
    rt::TypedValue block = CallCommand(cmd::BlankByteSet, {IntegerArg(2 * n)});
    uint8_t *bytes = block.Pointer<uint8_t>();
    if (bytes) MultiByteToWide(codePage, text.c_str(), rt::ByteSetBytes(bytes), n);
    return TakeByteSet(block);
}

std::string FromWideText(const std::string &units, int32_t codePage, bool codePageGiven) {
    if (!codePageGiven) codePage = kSystemCodePage;
    std::string source = Terminated(units);
    int32_t n = WideToMultiByte(kSystemCodePage, source.c_str(), const_cast<char *>(EmptyText()), 0);
    rt::TypedValue buffer = CallCommand(cmd::SpaceText, {IntegerArg(2 * n)});
    char *text = buffer.Pointer<char>();
    if (text) WideToMultiByte(codePage, source.c_str(), text, 2 * n);
    return TakeText(buffer);
}

std::string Utf8Text(const std::string &text) {
    return FromWideText(ToWideText(text, kCodePageGbk, true), kCodePageUtf8, true);
}

} // namespace app
