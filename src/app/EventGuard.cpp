#include "app/EventGuard.h"

#include <QMessageBox>
#include <exception>
#include <iostream>

#include "app/AppInfo.h"
#include "core/UnexpectedError.h"

namespace zk {

namespace {
// What the exception being handled says; called only inside a catch block.
std::string Caught_Text() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an unknown error";
  }
}
}  // namespace

bool RunGuarded(const char* where, const std::function<void()>& work,
                const std::function<void(const std::string&)>& report) {
  try {
    work();
    return true;
  } catch (...) {
    report(Unexpected_Text(where, Caught_Text()));
  }
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

// Guarded here, not through RunGuarded: every event of the program passes this way, often
// several deep, and wrapping each in a std::function would allocate for it.
bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    report_(Unexpected_Text("handling a window event", Caught_Text()));
  }
  return false;
}

}  // namespace zk
