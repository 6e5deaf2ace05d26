#pragma once
// The window's commands by menu item name. Each subsystem registers the handlers of its
// own items; choosing an item runs the handler registered under its name with the item's
// control-array index (-1 for a single item). A later registration under the same name
// replaces the earlier one, so a subsystem can take over an item the shell stood in for.
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace zk {

class CommandTable {
 public:
  // A command of a single item, or of an array whose items all do the same.
  void Add(const std::string& name, std::function<void()> handler) {
    handlers_[name] = [h = std::move(handler)](int) { h(); };
  }
  // A command that takes the index of the chosen array item.
  void AddIndexed(const std::string& name, std::function<void(int index)> handler) {
    handlers_[name] = std::move(handler);
  }
  bool Has(const std::string& name) const { return handlers_.count(name) != 0; }
  // Runs the command of `name`; false when none is registered.
  bool Run(const std::string& name, int index) const {
    auto it = handlers_.find(name);
    if (it == handlers_.end()) return false;
    it->second(index);
    return true;
  }

 private:
  std::map<std::string, std::function<void(int)>, std::less<>> handlers_;
};

}  // namespace zk
