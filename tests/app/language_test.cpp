// The window's language: --lang, then LC_ALL, LC_MESSAGES and LANG in that order, Chinese for
// the "zh" language only.
#include "app/language.h"

#include <gtest/gtest.h>

#include "app/window_options.h"

namespace quorvel {
namespace {

using Var = std::optional<std::string>;
constexpr auto kZh = Language::kChinese;
constexpr auto kEn = Language::kEnglish;

TEST(ChooseLanguage, OptionThenLcAllThenLcMessagesThenLang) {
  struct Row {
    std::optional<Language> option;
    Var lc_all, lc_messages, lang;
    Language expected;
  };
  const Row rows[] = {
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt, kEn},  // nothing set
      {std::nullopt, std::nullopt, std::nullopt, "zh_TW.UTF-8", kZh},
      {std::nullopt, std::nullopt, std::nullopt, "zh_CN.GB18030", kZh},
      {std::nullopt, std::nullopt, std::nullopt, "zh", kZh},
      {std::nullopt, std::nullopt, std::nullopt, "zh_HK@stroke", kZh},
      {std::nullopt, std::nullopt, std::nullopt, "en_US.UTF-8", kEn},
      {std::nullopt, std::nullopt, std::nullopt, "de_DE", kEn},
      {std::nullopt, std::nullopt, std::nullopt, "C.UTF-8", kEn},
      {std::nullopt, std::nullopt, std::nullopt, "POSIX", kEn},
      {std::nullopt, std::nullopt, std::nullopt, "zu_ZA", kEn},  // not a prefix match
      {std::nullopt, std::nullopt, std::nullopt, "zhx", kEn},
      {std::nullopt, std::nullopt, "zh_TW.UTF-8", "en_US.UTF-8", kZh},
      {std::nullopt, std::nullopt, "C", "zh_TW.UTF-8", kEn},
      {std::nullopt, "en_GB.UTF-8", "zh_TW", "zh_TW", kEn},
      {std::nullopt, "zh_TW.UTF-8", "en_US", "en_US", kZh},
      {std::nullopt, "", "", "zh_TW.UTF-8", kZh},  // empty variables count as unset
      {std::nullopt, "", "en_US", "zh_TW.UTF-8", kEn},
      {kEn, "zh_TW.UTF-8", "zh_TW", "zh_TW", kEn},
      {kZh, "en_US.UTF-8", std::nullopt, "C", kZh},
      {kZh, std::nullopt, std::nullopt, std::nullopt, kZh},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ChooseLanguage(row.option, {row.lc_all, row.lc_messages, row.lang}), row.expected)
        << "LC_ALL=" << row.lc_all.value_or("(unset)")
        << " LC_MESSAGES=" << row.lc_messages.value_or("(unset)")
        << " LANG=" << row.lang.value_or("(unset)");
  }
}

TEST(ChooseLanguage, LangOptionTakesTheTwoNamesOnly) {
  std::string error;
  const auto en = ParseWindowOptions({"--lang", "en", "f.bin"}, error);
  ASSERT_TRUE(en) << error;
  EXPECT_EQ(en->language, kEn);
  EXPECT_EQ(en->file, "f.bin");
  const auto zh = ParseWindowOptions({"--lang=zh_TW"}, error);
  ASSERT_TRUE(zh) << error;
  EXPECT_EQ(zh->language, kZh);
  const auto none = ParseWindowOptions({}, error);
  ASSERT_TRUE(none) << error;
  EXPECT_FALSE(none->language);
  for (const char* bad : {"de", "zh", "EN", "zh_CN", "english"}) {
    EXPECT_FALSE(ParseWindowOptions({"--lang", bad}, error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
  EXPECT_FALSE(ParseWindowOptions({"--lang"}, error));
  EXPECT_EQ(LanguageName(kZh), "zh_TW");
  EXPECT_EQ(LanguageName(kEn), "en");
}

}  // namespace
}  // namespace quorvel
