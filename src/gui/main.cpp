// quorvel: the desktop program. Opens the link's port from the options, creates the windows
// in their fixed order and runs the application until the main window closes.
#include <QApplication>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/config.h"
#include "app/language.h"
#include "app/link_setup.h"
#include "app/settings.h"
#include "app/version.h"
#include "app/window_options.h"
#include "app/work_dir.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/font_warmup.h"
#include "gui/message_boxes.h"
#include "gui/tasm86kform.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tform1.h"
#include "gui/tminiedform.h"
#include "gui/toptform.h"
#include "gui/translations.h"
#include "gui/tsave_sel_form.h"
#include "gui/tselcolorform.h"
#include "gui/twaitform.h"
#include "hexedit/private_folder.h"

int main(int argc, char** argv) {
  // Answered before the window system is asked for anything, so they work without a display.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    if (std::string_view(argv[i]) == "--version") {
      std::cout << "quorvel " << quorvel::ProgramVersion() << "\n";
      return 0;
    }
    if (std::string_view(argv[i]) == "--help") {
      std::cout << quorvel::WindowHelp();
      return 0;
    }
  }
  QApplication app(argc, argv);
  // Ties the window to its menu entry (and so its icon) on desktops that ask.
  QGuiApplication::setDesktopFileName(QUORVEL_APP_ID);
  quorvel::MessageBoxes messages;

  // QApplication has taken its own options (-platform, -style ...) out of argv.
  const std::vector<std::string> words(argv + 1, argv + argc);
  std::string error;
  const std::optional<quorvel::WindowOptions> options = quorvel::ParseWindowOptions(words, error);
  if (!options) {
    std::cerr << "quorvel: " << error << "\n" << quorvel::kWindowUsage << "\n";
    return 2;
  }
  // Every text from here on, the first message box included, is in the chosen language.
  const quorvel::Language language =
      quorvel::ChooseLanguage(options->language, quorvel::LocaleFromEnvironment());
  if (!quorvel::InstallTranslations(language)) {
    std::cerr << "quorvel: the " << quorvel::LanguageName(language)
              << " translation is missing from the program\n";
  }
  // The fonts are readied on a second thread while the windows are built (a text of the main
  // window in its language, so that a Chinese window finds its CJK font chosen).
  const quorvel::FontWarmUp font_warm_up(
      QCoreApplication::translate("quorvel::TForm1", "沒有選擇單元"));
  const std::optional<std::string> work_dir = quorvel::PrepareWorkDir(options->work_dir, error);
  if (!work_dir) {
    messages.Inform(quorvel::WorkDirFailedMessage(error));
    return 1;
  }
  // The hex editor's working copies that a killed run left behind.
  quorvel::RemoveLeftoverRunFolders(quorvel::PrivateFolderPath());
  // The real port is opened at the configured address (the file is only read here; the main
  // window reads it again, creating it when it is missing).
  quorvel::Settings configured;
  quorvel::HeldMessages said_by_the_window;  // the window reads the file again and says it
  quorvel::ReadConfigIfPresent(*work_dir, configured, said_by_the_window);
  std::unique_ptr<quorvel::LinkPort> port =
      quorvel::LinkPort::Open(options->link, configured.base_port, error);
  if (!port) {
    messages.Inform(error);
    return 1;
  }
  // A virtual card whose file another program holds stays out until that program lets it go.
  for (std::size_t slot = 0; port->Virtual() != nullptr && slot < 2; ++slot) {
    if (!port->Virtual()->InUse(slot).empty()) {
      messages.Inform(quorvel::InUseMessage(port->Virtual()->InUsePath(slot)));
    }
  }

  quorvel::Settings settings;
  quorvel::MainWindowEnv env;
  env.port = &port->Port();
  env.settings = &settings;
  env.messages = &messages;
  env.work_dir = *work_dir;
  if (port->Hardware() && !port->Hardware()->IsOpen()) env.port_problem = port->BackendText();
  quorvel::FileDialogs file_dialogs;
  env.files = &file_dialogs;

  // The windows, each created once; all but the main window stay hidden until they are used,
  // and are only built then, with the main window as their parent.
  quorvel::TForm1 form1(std::move(env));
  messages.SetOwner(&form1);
  file_dialogs.SetOwner(&form1);
  form1.AttachWaitForm(
      std::function<quorvel::TwaitForm*()>([&form1] { return new quorvel::TwaitForm(&form1); }));
  form1.AttachSaveDialogs(
      std::function<quorvel::TSave_sel_Form*()>(
          [&form1] { return new quorvel::TSave_sel_Form(&form1); }),
      std::function<quorvel::TDelete_Form*()>(
          [&form1] { return new quorvel::TDelete_Form(&form1); }),
      std::function<quorvel::TcopyForm*()>([&form1] { return new quorvel::TcopyForm(&form1); }));
  // A file named on the command line is opened by the hex editor window when that is first
  // shown.
  form1.AttachMiniEdForm(std::function<quorvel::TMiniEdForm*()>(
      [&messages, &form1, file = options->file.value_or(std::string())] {
        return new quorvel::TMiniEdForm(messages, file, &form1);
      }));
  form1.AttachOptForm(
      std::function<quorvel::ToptForm*()>([&form1] { return new quorvel::ToptForm(&form1); }));
  form1.AttachAsmForm(std::function<quorvel::Tasm86kForm*()>(
      [&messages, &form1] { return new quorvel::Tasm86kForm(messages, &form1); }));
  form1.AttachSelcolorForm(std::function<quorvel::TselcolorForm*()>(
      [&file_dialogs, &form1] { return new quorvel::TselcolorForm(&file_dialogs, &form1); }));

  form1.show();
  return app.exec();
}
