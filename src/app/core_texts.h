// The texts of the core (card layer, code pages) that reach the user, each as its context and
// template: the window translates what the core says by finding the template it was filled
// from, and quorvel-cli gives its English in their place.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct CoreText {
  std::string_view context;  // the translation context the text is marked with
  std::string_view text;     // the template, "%1" ... for the values
};

// Every core text the user can be shown.
std::span<const CoreText> CoreTexts();

struct MatchedCoreText {
  const CoreText* text;
  std::vector<std::string> values;  // the values filled into its template
};

// The core text `shown` was filled from; nullopt for any other text.
std::optional<MatchedCoreText> MatchCoreText(std::string_view shown);

}  // namespace quorvel
