#pragma once
// One QApplication for every window test, on the offscreen platform.
#include <QApplication>

namespace zk::test {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: a QApplication torn down among the exit-time destructors of Qt's own
  // globals crashes the test run after every test has passed.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace zk::test
