#include "OffscreenApp.h"

#include <string>

namespace zk::zkd {

std::unique_ptr<QGuiApplication> OffscreenApp(const char* programName) {
  // The application keeps argc and argv for its whole life.
  static std::string name;
  static char platformFlag[] = "-platform", platform[] = "offscreen";
  static char* argv[4] = {};
  static int argc = 3;
  name = programName ? programName : "zodovaz-zkd";
  argv[0] = name.data();
  argv[1] = platformFlag;
  argv[2] = platform;
  const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  qInstallMessageHandler(previous);
  return app;
}

}  // namespace zk::zkd
