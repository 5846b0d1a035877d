// The RegExp component's engine: a pattern, its flags, a subject and a replacement.
#include "fuzz_input.h"
#include "regexp_engine.h"

namespace {

std::u16string Units(const std::string &bytes) {
    std::u16string s(bytes.size() / 2, u'\0');
    std::memcpy(s.data(), bytes.data(), s.size() * 2);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::FuzzReader in(data, size);
    uint8_t flags = in.Byte();
    ole::RegexOptions options{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
    std::u16string pattern = Units(in.Text());
    std::u16string replacement = Units(in.Text());
    std::u16string subject = Units(in.Rest());
    std::shared_ptr<ole::CompiledPattern> compiled = ole::CompilePattern(pattern, options);
    if (!compiled) return 0;
    std::vector<ole::MatchRecord> matches;
    if (!ole::FindMatches(*compiled, subject, options.global, matches)) return 0;
    ole::ReplaceMatches(subject, matches, replacement);
    return 0;
}
