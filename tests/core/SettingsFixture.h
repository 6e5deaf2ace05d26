#pragma once
// A settings record whose settings file lives in a fresh program folder.
#include <gtest/gtest.h>

#include <string>

#include "Fakes.h"
#include "TempFiles.h"

namespace zk::test {

struct SettingsFixture : ::testing::Test {
  TempFolder tmp;
  TestContext t;
  Settings& s = t.settings;
  std::string ini = tmp.File("zk3_Zodovaz.ini");
  void SetUp() override {
    t.ctx.programFolder = tmp.str();
    s.SettingsFilePath = ini;
  }
};

}  // namespace zk::test
