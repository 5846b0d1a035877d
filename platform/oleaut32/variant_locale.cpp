// The few locales whose date, time and Boolean texts automation conversions know.
#include "variant_locale.h"

#include <winnls.h>

namespace ole {

namespace {

const TextLocale kChinese = {TextLocale::YearMonthDay, u'/', false, false, false, u"True", u"False"};
const TextLocale kUnitedStates = {TextLocale::MonthDayYear, u'/', false, true, false, u"True", u"False"};
const TextLocale kBritish = {TextLocale::DayMonthYear, u'/', true, false, true, u"True", u"False"};
const TextLocale kFrench = {TextLocale::DayMonthYear, u'/', true, false, true, u"Vrai", u"Faux"};
const TextLocale kGerman = {TextLocale::DayMonthYear, u'.', true, false, true, u"Wahr", u"Falsch"};

const LCID kNeutral = 0x0000, kUserDefault = 0x0400, kSystemDefault = 0x0800;
const LCID kEnglishBritain = 0x0809;
const WORD kLangChinese = 0x04, kLangGerman = 0x07, kLangEnglish = 0x09, kLangFrench = 0x0C;

const TextLocale *KnownLocale(LCID lcid) {
    if (lcid == kEnglishBritain) return &kBritish;
    switch (lcid & 0x3FF) {
    case kLangChinese: return &kChinese;
    case kLangEnglish: return &kUnitedStates;
    case kLangFrench: return &kFrench;
    case kLangGerman: return &kGerman;
    default: return nullptr;
    }
}

} // namespace

const TextLocale &LocaleOf(LCID lcid) {
    LCID language = lcid & 0xFFFF;
    if (language == kNeutral || language == kUserDefault || language == kSystemDefault) language = GetUserDefaultLCID();
    const TextLocale *known = KnownLocale(language);
    if (!known) known = KnownLocale(GetUserDefaultLCID());
    return known ? *known : kChinese;
}

const TextLocale &EnglishLocale() { return kUnitedStates; }

} // namespace ole
