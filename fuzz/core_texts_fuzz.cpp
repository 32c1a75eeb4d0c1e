// Fuzz target: the window shows a core text translated by finding the template it was filled
// from. Any template filled with any values (file names, card names, reasons: anything a user
// or a card can put there) is recognised, and the template and values found fill to the very
// same text, so the translation shown carries the same names. Any other text either is not
// recognised or is recognised with values that fill back to it.
#include <string>
#include <vector>

#include "app/core_texts.h"
#include "fuzz_support.h"
#include "host/translatable.h"

namespace quorvel::fuzz {

namespace {

// The values of an input: the bytes after the first, split at each zero byte (at most three).
std::vector<std::string> ValuesOf(Input input) {
  std::vector<std::string> values(1);
  for (std::size_t i = 1; i < input.size(); ++i) {
    if (input[i] == 0 && values.size() < 3) {
      values.emplace_back();
    } else {
      values.back() += static_cast<char>(input[i]);
    }
  }
  return values;
}

// `text` filled with `v` as the program fills a matched template: a missing value is empty.
std::string Fill(std::string_view text, const std::vector<std::string>& v) {
  const auto at = [&v](std::size_t i) { return i < v.size() ? std::string_view(v[i]) : ""; };
  return FillText(text, {at(0), at(1), at(2)});
}

// A text the matcher recognises fills back to itself from what the matcher found.
void CheckRoundTrip(const std::string& shown, bool must_match) {
  const std::optional<MatchedCoreText> match = MatchCoreText(shown);
  if (!match) {
    Check(!must_match, "a filled core text was not recognised");
    return;
  }
  Check(match->values.size() <= 3, "more values were found than a shown text can carry");
  Check(Fill(match->text->text, match->values) == shown,
        "the template and values found do not fill back to the text shown");
}

}  // namespace

std::vector<Bytes> core_textsFuzzSeeds() {
  std::vector<Bytes> seeds;
  const auto texts = CoreTexts();
  for (std::size_t k = 0; k < texts.size(); ++k) {
    for (std::string_view values :
         {std::string_view("A.DCI"), std::string_view("12\0003", 4),
          std::string_view("%1\000%2", 5), std::string_view(" \000 \000 ", 5)}) {
      Bytes seed{static_cast<std::uint8_t>(k)};
      seed.insert(seed.end(), values.begin(), values.end());
      seeds.push_back(std::move(seed));
    }
    // A value holding the template's own words.
    Bytes own{static_cast<std::uint8_t>(k)};
    own.insert(own.end(), texts[k].text.begin(), texts[k].text.end());
    seeds.push_back(std::move(own));
  }
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(core_texts, 512) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  if (input.empty()) return;
  const auto texts = CoreTexts();
  const CoreText& source = texts[input[0] % texts.size()];
  CheckRoundTrip(Fill(source.text, ValuesOf(input)), /*must_match=*/true);
  CheckRoundTrip(std::string(input.begin(), input.end()), /*must_match=*/false);
}
