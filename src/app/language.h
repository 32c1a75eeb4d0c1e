// Which language the desktop program speaks: the locale decides (a Chinese locale gets the
// window's own Traditional Chinese texts, every other one English) unless --lang names one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

enum class Language { kChinese, kEnglish };

// The locale variables as the environment holds them; nullopt for an unset variable.
struct LocaleVariables {
  std::optional<std::string> lc_all;
  std::optional<std::string> lc_messages;
  std::optional<std::string> lang;
};

// The variables of this process's environment.
LocaleVariables LocaleFromEnvironment();

// "--lang zh_TW|en": the values --lang accepts, nullopt for any other.
std::optional<Language> LanguageNamed(std::string_view name);

// The language of the window: `option` (a value LanguageNamed accepts) wins; otherwise the
// first set and non-empty of LC_ALL, LC_MESSAGES and LANG, as the C library reads them for
// messages: a locale of the "zh" language ("zh_TW.UTF-8", "zh_CN", "zh") is Chinese, any
// other (including "C", "POSIX" and none at all) English.
Language ChooseLanguage(const std::optional<Language>& option, const LocaleVariables& locale);

// "zh_TW" or "en", as --lang names them.
std::string_view LanguageName(Language language);

}  // namespace quorvel
