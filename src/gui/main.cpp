// quorvel: the desktop program. Creates the windows in their fixed order and runs the
// application until the main window closes.
#include <QApplication>
#include <QStringList>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/config.h"
#include "gui/message_boxes.h"
#include "gui/tform1.h"
#include "gui/twaitform.h"
#include "link/settings.h"
#include "port/port_trace.h"
#include "port/real_port.h"
#include "virtualunit/virtual_unit.h"

namespace {

// The value after `option` on the command line, or an empty text.
QString OptionValue(const QStringList& args, const QString& option) {
  const auto at = args.indexOf(option);
  return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

// The port the link talks through: the virtual unit when asked for, else the machine's
// parallel port at the configured address. Null (after a message) when the virtual unit
// cannot be set up.
std::unique_ptr<quorvel::PortIo> OpenPort(const QStringList& args, quorvel::Messages& messages) {
  std::string error;
  std::unique_ptr<quorvel::PortIo> port;
  if (const QString dir = OptionValue(args, "--virtual-unit"); !dir.isEmpty()) {
    port = quorvel::VirtualUnit::TwoSlotFromFolder(dir.toStdString(), error);
  } else if (const QString file = OptionValue(args, "--virtual-paged"); !file.isEmpty()) {
    port = quorvel::VirtualUnit::Paged(file.toStdString(), error);
  } else {
    quorvel::Settings configured;
    quorvel::ReadConfigIfPresent(quorvel::CaptureWorkDir(), configured, messages);
    auto real = quorvel::OpenRealPort(configured.base_port);
    if (!real->IsOpen()) std::cerr << "quorvel: " << real->StatusText() << "\n";
    return real;
  }
  if (!port) messages.Inform(error);
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quorvel::MessageBoxes messages;
  std::unique_ptr<quorvel::PortIo> port = OpenPort(app.arguments(), messages);
  if (!port) return 1;
  // --trace FILE: every port access, one line each.
  std::ofstream trace_file;
  std::unique_ptr<quorvel::TracingPort> traced;
  if (const QString trace = OptionValue(app.arguments(), "--trace"); !trace.isEmpty()) {
    trace_file.open(trace.toStdString(), std::ios::trunc);
    if (!trace_file) {
      messages.Inform("cannot write the trace file " + trace.toStdString());
      return 1;
    }
    traced = std::make_unique<quorvel::TracingPort>(*port, trace_file);
  }

  quorvel::Settings settings;
  quorvel::MainWindowEnv env;
  env.port = traced ? static_cast<quorvel::PortIo*>(traced.get()) : port.get();
  env.settings = &settings;
  env.messages = &messages;

  // The windows, each created once in this order; all but the main window stay hidden until
  // they are used.
  quorvel::TForm1 form1(std::move(env));
  messages.SetOwner(&form1);
  quorvel::TwaitForm wait_form(&form1);
  form1.AttachWaitForm(&wait_form);

  form1.show();
  return app.exec();
}
