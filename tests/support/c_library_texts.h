// What each platform's C library writes for "%g" of the non-finite reals: glibc spells
// them out, the Windows C library (msvcrt) writes its own forms, a default NaN (whose
// sign bit is set) being "indefinite".
#pragma once

namespace testsupport {

struct NonFiniteTexts {
    const char *infinity, *negativeInfinity, *nan, *negativeNan;
};

constexpr NonFiniteTexts kGlibcNonFinite = {"inf", "-inf", "nan", "-nan"};
constexpr NonFiniteTexts kMsvcrtNonFinite = {"1.#INF", "-1.#INF", "1.#QNAN", "-1.#IND"};

#ifdef _WIN32
inline constexpr const NonFiniteTexts &kCLibraryNonFinite = kMsvcrtNonFinite;
#else
inline constexpr const NonFiniteTexts &kCLibraryNonFinite = kGlibcNonFinite;
#endif

} // namespace testsupport
