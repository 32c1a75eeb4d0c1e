// quorvel-cli prints the core's texts in English: every shown core text has an English
// template with the same values, filled texts are recognised and put into English, and the
// program itself never prints a Chinese character.
#include "cli/english_texts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "app/core_texts.h"
#include "card/block_io.h"
#include "card/block_source.h"
#include "card/cancel.h"
#include "card/card_fixture.h"
#include "card/card_texts.h"
#include "card/dcm_file.h"
#include "card/journal.h"
#include "disasm/code_page_texts.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace quorvel {
namespace {

// True when `text` holds a character of the CJK blocks (U+2E80 to U+9FFF, U+F900 to U+FAFF,
// U+FF00 to U+FFEF), read as UTF-8.
bool HasCjk(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c & 0xF0) != 0xE0 || i + 2 >= text.size()) continue;
    const unsigned code = ((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
    if ((code >= 0x2E80 && code <= 0x9FFF) || (code >= 0xF900 && code <= 0xFAFF) ||
        (code >= 0xFF00 && code <= 0xFFEF)) {
      return true;
    }
  }
  return false;
}

std::set<std::string> Markers(std::string_view text) {
  std::set<std::string> found;
  const std::string s(text);
  const std::regex marker("%[1-9]");
  for (auto it = std::sregex_iterator(s.begin(), s.end(), marker); it != std::sregex_iterator();
       ++it) {
    found.insert(it->str());
  }
  return found;
}

TEST(EnglishTexts, EveryCoreTextHasEnglishWithTheSameValues) {
  ASSERT_FALSE(CoreTexts().empty());
  for (const CoreText& text : CoreTexts()) {
    const std::string_view english = EnglishTemplate(text.text);
    EXPECT_FALSE(english.empty()) << text.text;
    EXPECT_FALSE(HasCjk(std::string(english))) << english;
    EXPECT_EQ(Markers(english), Markers(text.text)) << text.text;
  }
}

TEST(EnglishTexts, FilledCoreTextsAreRecognisedOthersPassUnchanged) {
  EXPECT_EQ(EnglishText(VerifyFailureMessage(17)),
            "block 17 did not read back as written; stopped");
  EXPECT_EQ(EnglishText(UnsupportedImageMessage("a b.dcm", true)),
            "a b.dcm: this file format is not supported");
  EXPECT_EQ(EnglishText(ReadOnlyImageMessage("/x/card.dcm")),
            "/x/card.dcm is a read-only file and cannot be written");
  EXPECT_EQ(EnglishText(JournalFailureMessage("disk full")),
            "the journal of card writes cannot be written (disk full); card unchanged");
  // A reason that is a core text of its own is put into English too.
  EXPECT_EQ(EnglishText(JournalFailureMessage(kJournalRootUnreadableText)),
            "the journal of card writes cannot be written (the card's root block could not be "
            "read); card unchanged");
  EXPECT_EQ(EnglishText(FillText(kCodeReadErrorText, {"/x/code.bin", kCodeShrankText})),
            "cannot read /x/code.bin: the file became shorter while it was read");
  EXPECT_EQ(EnglishText(kWriteConnectionError).rfind("link error: a block could not be written", 0),
            0u);
  EXPECT_EQ(EnglishText(CancelledMessage(CancelOutcome::kNothingWritten, true)),
            "cancelled before the file was written");
  // A value that holds a template's own marker is kept as it is.
  EXPECT_EQ(EnglishText(InvalidTemplateMessage("%2.dc")), "%2.dc is not a valid card template");
  EXPECT_EQ(EnglishText("card.dcm: no such file"), "card.dcm: no such file");
  EXPECT_EQ(EnglishText(" 區塊 x 寫入後"), " 區塊 x 寫入後");  // not a whole core text
}

TEST(EnglishTexts, CliRefusalsThatOnceCarriedCoreTextsAreEnglish) {
  testing::TempDir dir;
  test::CardBuilder(200).WriteTo(dir / "card.dcm");
  // A picture that is no 32 x 32 8-bit BMP.
  std::ofstream(dir / "bad.bmp") << "BM not a picture";
  testing::CliRun run = testing::RunCli(dir.path(), "card-icon card.dcm bad.bmp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.bmp: the BMP file must be 32 x 32 pixels"), std::string::npos)
      << run.err;
  EXPECT_FALSE(HasCjk(run.err)) << run.err;
  // A single-save file whose entry names no blocks: no room is needed, none is given.
  std::string empty(32 + 512, '\0');
  empty[0] = 0x33;
  std::ofstream(dir / "empty.dci", std::ios::binary) << empty;
  run = testing::RunCli(dir.path(), "import card.dcm empty.dci");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("needs more blocks than the target has free"), std::string::npos)
      << run.err;
  EXPECT_FALSE(HasCjk(run.err)) << run.err;
}

}  // namespace
}  // namespace quorvel
