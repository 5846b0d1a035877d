#include "convert_charset.h"

#include "com_variables.h"
#include "literals.h"
#include "object_commands.h"
#include "variant_commands.h"

namespace app {
namespace {

constexpr int32_t kStreamBytes = 1;
constexpr int32_t kStreamText = 2;
constexpr int32_t kVariantByteArray = 7; // SetVariantType's number for an array
constexpr int32_t kElementByte = 1;      // CreateVariantArray's number for bytes

rt::TypedValue Name(image::Constant member) { return TextArg(Literal(member)); }

void Write(const ObjectVariable &stream, image::Constant property, rt::TypedValue value) {
    CallCommand(cmd::WriteProperty, {Arg(stream), Name(property), value});
}

void Call(const ObjectVariable &stream, image::Constant method) {
    CallCommand(cmd::CallMethod, {Arg(stream), Name(method)});
}

VariantVariable ByteArrayVariant(const std::string &bytes) {
    VariantVariable input = NewVariantVariable();
    CallCommand(cmd::SetVariantType, {Arg(input), IntegerArg(kVariantByteArray)});
    CallCommand(cmd::CreateVariantArray, {Arg(input), IntegerArg(kElementByte), IntegerArg(int32_t(bytes.size()))});
    CallCommand(cmd::AssignVariant, {Arg(input), ByteSetBlock(bytes).Arg()});
    return input;
}

// The bytes decoded from `from`, as text in the system code page.
std::string ReadAsText(const ObjectVariable &stream, const VariantVariable &input, const std::string &from) {
    CallCommand(cmd::CallMethod, {Arg(stream), Name(image::kStreamWrite), Arg(input)});
    Write(stream, image::kStreamPosition, IntegerArg(0));
    Write(stream, image::kStreamType, IntegerArg(kStreamText));
    Write(stream, image::kStreamCharset, TextArg(from.c_str()));
    return TakeText(CallCommand(cmd::CallTextMethod, {Arg(stream), Name(image::kStreamReadText)}));
}

// The text encoded in `to`, read back as bytes from `start`.
std::string WriteAsBytes(const ObjectVariable &stream, const std::string &text, const std::string &to, int32_t start) {
    Call(stream, image::kStreamClose);
    Call(stream, image::kStreamOpen);
    Write(stream, image::kStreamCharset, TextArg(to.c_str()));
    CallCommand(cmd::CallMethod, {Arg(stream), Name(image::kStreamWriteText), TextArg(text.c_str())});
    Write(stream, image::kStreamPosition, IntegerArg(0));
    Write(stream, image::kStreamType, IntegerArg(kStreamBytes));
    if (start >= 0) Write(stream, image::kStreamPosition, IntegerArg(start));
    VariantVariable read = TakeVariant(CallCommand(cmd::CallVariantMethod, {Arg(stream), Name(image::kStreamRead)}));
    std::string bytes = TakeByteSet(CallCommand(cmd::VariantToByteSet, {Arg(read)}));
    Release(read);
    return bytes;
}

} // namespace

std::string ConvertCharset(const std::string &bytes, const std::string &from, const std::string &to, int32_t start) {
    std::string fromCharset = from.empty() ? Literal(image::kCharsetUtf8) : from;
    std::string toCharset = to.empty() ? Literal(image::kCharsetGbk) : to;
    CallDeclared(image::kDeclaredCoInitialize, {Word(0)});
    ObjectVariable stream = NewObjectVariable();
    CallCommand(cmd::CreateObject, {Arg(stream), Name(image::kStreamClass)});
    Write(stream, image::kStreamType, IntegerArg(kStreamBytes));
    Call(stream, image::kStreamOpen);
    VariantVariable input = ByteArrayVariant(bytes);
    std::string text = ReadAsText(stream, input, fromCharset);
    std::string result = WriteAsBytes(stream, text, toCharset, start);
    Release(stream);
    Release(input);
    CallDeclared(image::kDeclaredCoUninitialize, {});
    return result;
}

} // namespace app
