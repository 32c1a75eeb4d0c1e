// quorvel-cli new-image OUT.dcm [--force]: a new card image file from the empty-card template;
// an existing file (perhaps a card full of saves) is replaced only with --force.
#include <filesystem>

#include "card/dcm_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunNewImage(const Args& args) {
  RequirePositional(args, 1);
  const std::string& out = args.positional[0];
  std::error_code code;
  if (std::filesystem::exists(std::filesystem::symlink_status(out, code)) && !args.Has("force")) {
    return Fail(out + " already exists; give --force to replace it");
  }
  const std::filesystem::path template_path =
      FindProgramDataFile(std::filesystem::current_path(), kImageTemplateFile);
  std::string error;
  if (!OutputFree(out, error)) return Fail(error);
  const DcmError result = CreateImageFromTemplate(template_path, out);
  switch (result) {
    case DcmError::kNone:
      return kExitOk;
    case DcmError::kCannotOpen:
    case DcmError::kTemplateShort:
      return Fail("template " + template_path.string() + ": " + std::string(Describe(result)));
    default:
      return Fail(out + ": " + std::string(Describe(result)));
  }
}

const CommandRegistration kRegistration{
    "new-image",
    "OUT.dcm [--force]",
    &RunNewImage,
    {{"force", false}},
    {"Writes an empty card image file",
     "Writes an empty card image made from the template dpnw.dc (from the current directory, "
     "else from the installed data folder).",
     {{"--force", "replace an existing OUT.dcm (perhaps a card full of saves)"}},
     "quorvel-cli new-image spare.dcm"}};

}  // namespace
}  // namespace quorvel::cli
