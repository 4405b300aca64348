#include "batch/batch_run.h"

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "batch/batch_actions.h"
#include "batch/batch_session.h"
#include "batch/interrupts.h"
#include "session/commands.h"
#include "session/mach_commands.h"

namespace tarvenol {
namespace {

int RunActions(const CommandLine& line) {
  BatchSession session(line.timings);
  if (!StartUp(session.program, session.win)) return 1;
  // Once for each solution, angle and Mach number whose results are locally supersonic: a
  // warning, not a message, since the results are given all the same.
  std::string warned;
  for (const BatchAction& action : line.actions) {
    if (Interrupts::Received() != 0) break;
    action.row->handler(session, action.values);
    if (const std::optional<std::string> warning = MachWarning(session.program);
        warning && *warning != warned) {
      Say("warning: " + *warning);
      warned = *warning;
    }
  }
  if (const int signal = Interrupts::Received(); signal != 0) {
    Say(std::string("stopped by ") + SignalName(signal) +
        "; the report holds the actions finished before it.");
    return 128 + signal;
  }
  return session.win.messages.empty() ? 0 : 1;
}

}  // namespace

int RunBatch(const CommandLine& line) {
  const Interrupts interrupts;
  // The charts are widgets, drawn off any screen: they need an application, which the other
  // actions do without.
  std::unique_ptr<QApplication> application;
  const bool charts =
      std::any_of(line.actions.begin(), line.actions.end(),
                  [](const BatchAction& a) { return DrawsCharts(*a.row, a.values); });
  static int argc = 1;
  static char name[] = "tarvenol-batch";
  static char* argv[] = {name, nullptr};
  if (charts) {
    // Drawn off any screen whatever the environment asks for: a desktop's platform may not
    // start here (xcb without a display), and the batch tool shows nothing on one anyway.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the program's own messages; Qt's remarks on the desktop it
    // found are not among them. Where Qt cannot go on, the program ends with its message and
    // exit status 1, not with a core dump.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg) Say(text.toStdString());
      if (type == QtFatalMsg) std::_Exit(1);
    });
    application = std::make_unique<QApplication>(argc, argv);
  }
  return RunActions(line);
}

}  // namespace tarvenol
