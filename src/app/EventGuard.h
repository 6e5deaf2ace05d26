#pragma once
// The last line of defence against an exception that no handler caught: it is reported
// and the program goes on, instead of the event loop ending and taking an unsaved
// recording and the session with it.
#include <QApplication>
#include <functional>
#include <string>

namespace zk {

// Runs `work`; an exception escaping it is handed to `report` as one line saying where
// it happened and what it was. Answers whether `work` finished normally.
bool RunGuarded(const char* where, const std::function<void()>& work,
                const std::function<void(const std::string&)>& report);

// The report of the running program: standard error and, unless one is already open, a
// message box.
void ReportToUser(const std::string& text);
// The message box alone, for a report already written to standard error.
void ShowToUser(const std::string& text);

// The application object of the window: every event is delivered guarded as RunGuarded
// guards its work.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
  // Where the reports go (ReportToUser unless set).
  void Set_Report(std::function<void(const std::string&)> report) { report_ = std::move(report); }

 private:
  std::function<void(const std::string&)> report_ = ReportToUser;
};

}  // namespace zk
