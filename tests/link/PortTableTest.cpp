#include <gtest/gtest.h>

#include "link/PortTable.h"

namespace zk {
namespace {

TEST(PortTable, DefaultsAndOverrides) {
  PortTable t;
  EXPECT_EQ(t.Device(1), "/dev/ttyUSB0");
  EXPECT_EQ(t.Device(8), "/dev/ttyUSB7");
  EXPECT_EQ(t.Device(9), "/dev/ttyACM0");
  EXPECT_EQ(t.Device(12), "/dev/ttyACM3");
  EXPECT_EQ(t.Device(13), "/dev/ttyS0");
  EXPECT_EQ(t.Device(16), "/dev/ttyS3");
  EXPECT_EQ(t.Device(0), "");
  EXPECT_EQ(t.Device(17), "");

  EXPECT_TRUE(Parse_Port_Option("3=/tmp/zk-sim", t));
  EXPECT_EQ(t.Device(3), "/tmp/zk-sim");
  EXPECT_TRUE(Parse_Port_Option("16=/dev/pts/4=x", t));  // only the first "=" separates
  EXPECT_EQ(t.Device(16), "/dev/pts/4=x");
  for (const char* bad : {"", "3", "=/dev/x", "0=/dev/x", "17=/dev/x", "3=", "x=/dev/x", "3 =/dev/x", "-1=/d"})
    EXPECT_FALSE(Parse_Port_Option(bad, t)) << bad;
  EXPECT_EQ(t.Device(3), "/tmp/zk-sim");
}

}  // namespace
}  // namespace zk
