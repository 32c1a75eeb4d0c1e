// A file name no file has yet: for proposals in save dialogs and for exports that must not
// overwrite.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace quorvel {

// The first of folder/STEM+extension, folder/STEM_2+extension, folder/STEM_3+extension ... that
// names no file or link and that `also_taken` (when given) does not claim; STEM is `stem` cut so
// that it and its suffix fit in `longest_stem` characters.
std::filesystem::path FreeFileName(
    const std::filesystem::path& folder, const std::string& stem, const std::string& extension,
    std::size_t longest_stem = std::string::npos,
    const std::function<bool(const std::filesystem::path&)>& also_taken = {});

}  // namespace quorvel
