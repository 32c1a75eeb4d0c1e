// quorvel: the desktop program. Opens the link's port from the options, creates the windows
// in their fixed order and runs the application until the main window closes.
#include <QApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/link_setup.h"
#include "gui/file_chooser.h"
#include "gui/message_boxes.h"
#include "gui/tasm86kform.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tform1.h"
#include "gui/tminiedform.h"
#include "gui/toptform.h"
#include "gui/tsave_sel_form.h"
#include "gui/tselcolorform.h"
#include "gui/twaitform.h"
#include "link/settings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quorvel::MessageBoxes messages;

  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<quorvel::LinkOptions> options = quorvel::TakeLinkOptions(args, error);
  if (!options) {
    std::cerr << "quorvel: " << error << "\n";
    return 2;
  }
  // The real port is opened at the configured address (the file is only read here; the main
  // window reads it again, creating it when it is missing).
  quorvel::Settings configured;
  quorvel::ReadConfigIfPresent(quorvel::CaptureWorkDir(), configured, messages);
  std::unique_ptr<quorvel::LinkPort> port =
      quorvel::LinkPort::Open(*options, configured.base_port, error);
  if (!port) {
    messages.Inform(error);
    return 1;
  }
  if (port->Hardware() && !port->Hardware()->IsOpen()) {
    std::cerr << "quorvel: " << port->BackendText() << "\n";
  }

  quorvel::Settings settings;
  quorvel::MainWindowEnv env;
  env.port = &port->Port();
  env.settings = &settings;
  env.messages = &messages;
  quorvel::FileDialogs file_dialogs;
  env.files = &file_dialogs;

  // The windows, each created once in this order; all but the main window stay hidden until
  // they are used.
  quorvel::TForm1 form1(std::move(env));
  messages.SetOwner(&form1);
  file_dialogs.SetOwner(&form1);
  quorvel::TSave_sel_Form save_sel_form(&form1);
  quorvel::TwaitForm wait_form(&form1);
  form1.AttachWaitForm(&wait_form);
  quorvel::TDelete_Form delete_form(&form1);
  quorvel::TcopyForm copy_form(&form1);
  form1.AttachSaveDialogs(&save_sel_form, &delete_form, &copy_form);
  // The first argument besides the link options: a file it names is opened by the hex editor
  // window when that is first shown.
  quorvel::TMiniEdForm mini_ed_form(messages, args.empty() ? std::string() : args.front(), &form1);
  form1.AttachMiniEdForm(&mini_ed_form);
  quorvel::ToptForm opt_form(&form1);
  form1.AttachOptForm(&opt_form);
  quorvel::Tasm86kForm asm86k_form(messages, &form1);
  form1.AttachAsmForm(&asm86k_form);
  quorvel::TselcolorForm selcolor_form(&file_dialogs, &form1);
  form1.AttachSelcolorForm(&selcolor_form);

  form1.show();
  return app.exec();
}
