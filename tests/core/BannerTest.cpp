#include "core/Banner.h"

#include <gtest/gtest.h>

#include "Fakes.h"

namespace zk {

TEST(Banner, StatusIsRedrawnOnlyWhenItChanges) {
  test::TestContext t;
  t.settings.Text_Color = 0x123456;
  for (int i = 0; i < 5; ++i) Show_Status(t.ctx, "Input OK");
  EXPECT_EQ(t.view.mode, 1);
  EXPECT_EQ(t.state.StatusColor, 0x123456);
  Show_Status(t.ctx, "Input Error");
  EXPECT_EQ(t.view.mode, 2);
  EXPECT_EQ(t.state.StatusColor, 255);
  Show_Status(t.ctx, "Input OK");
  EXPECT_EQ(t.state.StatusColor, 0x123456);
}

TEST(Banner, ShortMessageGivesWayToTheLatestWantedStatus) {
  test::TestContext t;
  t.tmrMessage.SetHandler([&] { End_Message(t.ctx); });
  Show_Status(t.ctx, "Input OK");
  Show_Message(t.ctx, "Freeze ON");
  EXPECT_EQ(t.state.StatusText, "Freeze ON");
  EXPECT_TRUE(t.tmrMessage.Enabled());
  t.state.StatusWanted = "Input Error";  // the status changed meanwhile
  t.clock.Advance(1.0);
  EXPECT_FALSE(t.tmrMessage.Enabled());
  EXPECT_EQ(t.state.StatusText, "Input Error");
}

}  // namespace zk
