#pragma once
// One QApplication for every window test, on the offscreen platform.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zk::test {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The desktop's documents folder, which an empty save folder takes and creates, lies in
  // a scratch folder of the run rather than in the user's home.
  static const bool desktop = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "zk-app-tests.XXXXXX").string();
    if (!::mkdtemp(dir.data())) return false;
    std::ofstream(dir + "/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"" << dir << "/Documents\"\n";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir));
    return true;
  }();
  (void)desktop;
  // Never destroyed: a QApplication torn down among the exit-time destructors of Qt's own
  // globals crashes the test run after every test has passed.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace zk::test
