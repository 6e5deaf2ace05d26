#include "app/EventGuard.h"

#include <QMessageBox>
#include <exception>
#include <iostream>

#include "app/AppInfo.h"
#include "core/UnexpectedError.h"

namespace zk {

bool RunGuarded(const char* where, const std::function<void()>& work,
                const std::function<void(const std::string&)>& report) {
  std::string what;
  try {
    work();
    return true;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "an unknown error";
  }
  report(Unexpected_Text(where, what));
  return false;
}

void ReportToUser(const std::string& text) {
  std::cerr << "zodovaz: " << text << "\n";
  ShowToUser(text);
}

void ShowToUser(const std::string& text) {
  // A second fault while the first box is open is only written out: boxes must not pile
  // up inside each other's event loops.
  static bool showing = false;
  if (showing || !QApplication::instance()) return;
  showing = true;
  QMessageBox::critical(nullptr, QString(ProgramTitle), QString::fromStdString(text));
  showing = false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded(
      "handling a window event", [&] { handled = QApplication::notify(receiver, event); }, ReportToUser);
  return handled;
}

}  // namespace zk
