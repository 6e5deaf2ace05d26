// The lag lamp shared by the live stream and the player: lit in the lag colour, put out
// only once it has been held for LagLamp::Hold without a new lag.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "meter/LagLamp.h"

namespace zk::test {
namespace {

TEST(LagLamp, LightsOnceAndGoesOutAfterTheHold) {
  TestContext t;
  t.state.LedColor = t.settings.Dial_Color;
  double litAt = 0;
  LagLamp lamp(t.ctx, litAt);
  lamp.Light();
  lamp.Light();  // already lit: not drawn again, but held from now
  EXPECT_EQ(t.view.ledColors, std::vector<int32_t>{t.settings.LED_Lag_Color});
  EXPECT_EQ(litAt, t.clock.now);
  t.clock.Advance(LagLamp::Hold / 2);
  lamp.Put_Out();
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Lag_Color);
  t.clock.Advance(LagLamp::Hold);
  lamp.Put_Out();
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
  lamp.Put_Out();  // not lit: nothing drawn
  EXPECT_EQ(t.view.ledColors.size(), 2u);
}

TEST(LagLamp, PutsOutOnlyALampItLitItself) {
  TestContext t;
  double litAt = 0;
  LagLamp lamp(t.ctx, litAt);
  // Lit in the lag colour by someone else (a recorded lag lamp): left alone.
  t.view.Update_LED(t.settings.LED_Lag_Color);
  t.clock.Advance(LagLamp::Hold * 3);
  lamp.Put_Out();
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Lag_Color);
  // A lag while that lamp shows draws nothing and takes nothing over.
  lamp.Light();
  t.clock.Advance(LagLamp::Hold * 3);
  lamp.Put_Out();
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Lag_Color);

  // Its own lamp, taken over by a SET and lit in the lag colour again by another: not its.
  t.view.Update_LED(t.settings.Dial_Color);
  lamp.Light();
  t.view.Update_LED(t.settings.LED_Set_Color);
  lamp.Put_Out();
  t.view.Update_LED(t.settings.LED_Lag_Color);
  t.clock.Advance(LagLamp::Hold * 3);
  lamp.Put_Out();
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Lag_Color);

  // Forgotten when a playback repaints the lamp.
  t.view.Update_LED(t.settings.Dial_Color);
  lamp.Light();
  lamp.Forget();
  t.clock.Advance(LagLamp::Hold * 3);
  lamp.Put_Out();
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Lag_Color);
}

}  // namespace
}  // namespace zk::test
