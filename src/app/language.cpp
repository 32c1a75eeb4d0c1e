// The desktop program's choice of language.
#include "app/language.h"

#include <cstdlib>

namespace quorvel {

namespace {

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace

LocaleVariables LocaleFromEnvironment() {
  return {Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")};
}

std::optional<Language> LanguageNamed(std::string_view name) {
  if (name == "zh_TW") return Language::kChinese;
  if (name == "en") return Language::kEnglish;
  return std::nullopt;
}

Language ChooseLanguage(const std::optional<Language>& option, const LocaleVariables& locale) {
  if (option) return *option;
  for (const std::optional<std::string>* variable :
       {&locale.lc_all, &locale.lc_messages, &locale.lang}) {
    if (!*variable || (*variable)->empty()) continue;
    const std::string_view value = **variable;
    // The language part ends at the territory, the codeset or the modifier.
    const std::string_view code = value.substr(0, value.find_first_of("_.@"));
    return code == "zh" ? Language::kChinese : Language::kEnglish;
  }
  return Language::kEnglish;
}

std::string_view LanguageName(Language language) {
  return language == Language::kChinese ? "zh_TW" : "en";
}

}  // namespace quorvel
