#pragma once
// The Qt GUI application the picture needs for its fonts, on the offscreen platform: it
// draws without any display, whatever QT_QPA_PLATFORM says ("-platform" outranks it).
#include <QGuiApplication>

#include <memory>

namespace zk::zkd {

// Made once per process; the platform's start-up remarks (such as a missing runtime
// folder) are kept off the error output of a command that only writes a file.
std::unique_ptr<QGuiApplication> OffscreenApp(const char* programName);

}  // namespace zk::zkd
