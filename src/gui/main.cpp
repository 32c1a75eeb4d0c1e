// quorvel: the desktop program. Creates the windows in their fixed order and runs the
// application until the main window closes.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <memory>

#include "gui/message_boxes.h"
#include "gui/tform1.h"
#include "gui/twaitform.h"
#include "link/settings.h"
#include "port/real_port.h"
#include "virtualunit/virtual_unit.h"

namespace {

// The port the link talks through: the virtual unit when asked for, else the machine's
// parallel port. Null (after a message) when the virtual unit cannot be set up.
std::unique_ptr<quorvel::PortIo> OpenPort(const QStringList& args) {
  std::string error;
  std::unique_ptr<quorvel::PortIo> port;
  const auto unit_dir = args.indexOf("--virtual-unit");
  const auto paged = args.indexOf("--virtual-paged");
  if (unit_dir >= 0 && unit_dir + 1 < args.size()) {
    port = quorvel::VirtualUnit::TwoSlotFromFolder(args[unit_dir + 1].toStdString(), error);
  } else if (paged >= 0 && paged + 1 < args.size()) {
    port = quorvel::VirtualUnit::Paged(args[paged + 1].toStdString(), error);
  } else {
    return quorvel::OpenRealPort(quorvel::Settings{}.base_port);
  }
  if (!port) {
    QMessageBox::critical(nullptr, QStringLiteral("Quorvel"), QString::fromStdString(error));
  }
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::unique_ptr<quorvel::PortIo> port = OpenPort(app.arguments());
  if (!port) return 1;

  quorvel::Settings settings;
  quorvel::MessageBoxes messages;
  quorvel::MainWindowEnv env;
  env.port = port.get();
  env.settings = &settings;
  env.messages = &messages;

  // The windows, each created once in this order; all but the main window stay hidden until
  // they are used.
  quorvel::TForm1 form1(std::move(env));
  messages.SetOwner(&form1);
  quorvel::TwaitForm wait_form;
  form1.AttachWaitForm(&wait_form);

  form1.show();
  return app.exec();
}
