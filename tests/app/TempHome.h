#pragma once
// A fresh program folder for one test, removed afterwards.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace zk::test {

struct TempHome {
  std::filesystem::path dir;
  TempHome() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zk-app-XXXXXX").string();
    dir = ::mkdtemp(tmpl.data());
  }
  ~TempHome() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
};

}  // namespace zk::test
