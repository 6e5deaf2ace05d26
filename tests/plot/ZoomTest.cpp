// The overview's visible span: zooming about the pointer's time and to a dragged span,
// within the recording.
#include <gtest/gtest.h>

#include "plot/Zoom.h"

namespace zk::plot {
namespace {

TEST(Zoom, AboutATimeKeepsItsPlaceAndStaysInTheRecording) {
  const TimeRange whole{0, 7'200'000};  // two hours
  TimeRange z = ZoomAbout(whole, whole, 1'800'000, 0.5);
  EXPECT_EQ(z.toMs - z.fromMs, 3'600'000);
  EXPECT_EQ(z.fromMs, 900'000);  // 30 min stays a quarter of the way in
  // Near the start the span moves inside rather than past the start.
  z = ZoomAbout(TimeRange{0, 10'000}, whole, 0, 4.0);
  EXPECT_EQ(z.fromMs, 0);
  EXPECT_EQ(z.toMs, 40'000);
  // Never narrower than the least span, never wider than the recording.
  z = ZoomAbout(TimeRange{1000, 4000}, whole, 2000, 0.01);
  EXPECT_EQ(z.toMs - z.fromMs, MinZoomSpanMs);
  EXPECT_TRUE(IsWhole(ZoomAbout(TimeRange{7'000'000, 7'200'000}, whole, 7'100'000, 1000.0), whole));
  // A recording shorter than the least span: the whole of it.
  EXPECT_TRUE(IsWhole(ZoomAbout(TimeRange{0, 900}, TimeRange{0, 900}, 400, 0.5), TimeRange{0, 900}));
}

TEST(Zoom, BetweenTwoTimesEitherWay) {
  const TimeRange whole{0, 60'000};
  EXPECT_EQ(ZoomBetween(40'000, 10'000, whole).fromMs, 10'000);
  EXPECT_EQ(ZoomBetween(40'000, 10'000, whole).toMs, 40'000);
  const TimeRange narrow = ZoomBetween(59'900, 59'950, whole);  // widened, kept inside
  EXPECT_EQ(narrow.toMs, 60'000);
  EXPECT_EQ(narrow.toMs - narrow.fromMs, MinZoomSpanMs);
}

}  // namespace
}  // namespace zk::plot
