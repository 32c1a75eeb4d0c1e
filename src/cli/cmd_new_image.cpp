// quorvel-cli new-image OUT.dcm: a new card image file from the empty-card template.
#include <filesystem>

#include "card/dcm_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunNewImage(const Args& args) {
  RequirePositional(args, 1);
  const std::filesystem::path template_path =
      FindProgramDataFile(std::filesystem::current_path(), kImageTemplateFile);
  std::string error;
  if (!OutputFree(args.positional[0], error)) return Fail(error);
  const DcmError result = CreateImageFromTemplate(template_path, args.positional[0]);
  switch (result) {
    case DcmError::kNone:
      return kExitOk;
    case DcmError::kCannotOpen:
    case DcmError::kTemplateShort:
      return Fail("template " + template_path.string() + ": " + std::string(Describe(result)));
    default:
      return Fail(args.positional[0] + ": " + std::string(Describe(result)));
  }
}

const CommandRegistration kRegistration{"new-image", "OUT.dcm", &RunNewImage};

}  // namespace
}  // namespace quorvel::cli
