#pragma once
// The pictures of the record panel's buttons, drawn here rather than loaded from files.
// Keys: "Pause", "Settings", "Rev", "Save", "Stop", "Fwd", "Single", "Load", "Play",
// "Record", "Loop".
#include <QIcon>
#include <QStringList>
#include <string>

namespace zk {

QIcon ButtonIcon(const std::string& key);  // a null icon for an unknown key
QStringList ButtonIconKeys();

}  // namespace zk
