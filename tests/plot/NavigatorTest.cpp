// The overview's arithmetic between pixels, times and records, and the tag search.
#include <gtest/gtest.h>

#include "plot/Navigator.h"

namespace zk::plot {
namespace {

// `count` records 20 ms apart; tags at the given records.
std::vector<SampleRecord> Records(int count, std::initializer_list<int> tags = {}) {
  std::vector<SampleRecord> r(static_cast<std::size_t>(count) + 1);
  for (int k = 1; k <= count; ++k) r[k].TimeMs = (k - 1) * 20;
  for (int k : tags) {
    r[k].Marker = 'T';
    r[k].Tag = static_cast<uint16_t>(k);
  }
  return r;
}

TEST(Navigator, PixelsAndRecordsMapBothWays) {
  // 1000 records over 0 .. 19 980 ms, 100 columns from x = 50: about 10 records a column.
  const auto recs = Records(1000);
  const Navigator nav(recs, 1000, {0, 19980}, 50, 100);
  EXPECT_EQ(nav.XOf(1), 50);
  EXPECT_EQ(nav.XOf(1000), 149);  // the range's end belongs to the last column
  EXPECT_EQ(nav.RecordAt(50), 1);
  // A click goes to a record drawn in its column: the first one, or the one at the
  // column's whole second.
  for (int x = 50; x < 150; ++x) {
    const int32_t k = nav.RecordAt(x);
    EXPECT_EQ(nav.XOf(k), x) << "x " << x;
    if (k > 1 && nav.XOf(k - 1) == x) {
      EXPECT_EQ(recs[k].TimeMs % 1000, 0) << "x " << x;
    }
  }
  // Outside the picture a click clamps to its ends.
  EXPECT_EQ(nav.RecordAt(-20), 1);
  EXPECT_EQ(nav.RecordAt(400), nav.RecordAt(149));
  EXPECT_EQ(nav.XOf(0), 50);
  EXPECT_EQ(nav.XOf(5000), 149);
}

// A click on a grid line goes to the time the line is labelled with, at any width.
TEST(Navigator, AClickOnAGridLineGoesToItsTime) {
  const auto recs = Records(9000);  // 0 .. 179 980 ms
  for (int columns = 500; columns <= 1700; columns += 37) {
    const Navigator nav(recs, 9000, {0, 179980}, 10, columns);
    for (int64_t s : {30, 60, 90, 120, 150}) {
      const int x = 10 + ColumnOf(s * 1000, {0, 179980}, columns);
      EXPECT_EQ(nav.RoundTimeAt(x), s * 1000) << columns << " columns, " << s << " s";
      EXPECT_EQ(recs[nav.RecordAt(x)].TimeMs, s * 1000) << columns << " columns, " << s << " s";
    }
  }
  // A column without a whole second starts at its left edge.
  const Navigator fine(recs, 9000, {0, 179980}, 0, 100000);
  EXPECT_EQ(fine.RoundTimeAt(5), fine.TimeAt(5));
}

TEST(Navigator, MoreColumnsThanRecordsAndDamagedTimes) {
  // Five records on 1000 columns: empty columns go to the next record drawn.
  auto recs = Records(5);
  const Navigator sparse(recs, 5, {0, 80}, 0, 1000);
  EXPECT_EQ(sparse.RecordAt(1), 2);
  EXPECT_EQ(sparse.RecordAt(999), 5);
  // A time that goes back counts at the time before it: the search still finds the
  // records around it in order.
  recs[3].TimeMs = 0;
  const Navigator damaged(recs, 5, {0, 80}, 0, 1000);
  EXPECT_EQ(damaged.XOf(3), damaged.XOf(2));
  EXPECT_EQ(damaged.RecordAt(500), 4);
  // No records at all: nothing to go to.
  const Navigator empty(recs, 0, {0, 0}, 0, 100);
  EXPECT_EQ(empty.RecordAt(10), 0);
  EXPECT_FALSE(empty.NextTag(0, 1, 0));
}

TEST(Navigator, ClickOrDragAsTheSeekBarTellsThem) {
  const auto recs = Records(1000);
  const Navigator nav(recs, 1000, {0, 19980}, 0, 400);
  // Up to a hundredth of the width (4 px) is a click at the press.
  Navigator::Selection s = nav.Select(100, 104);
  EXPECT_FALSE(s.range);
  EXPECT_EQ(s.first, nav.RecordAt(100));
  // Further is a range, whichever way it was dragged.
  s = nav.Select(300, 100);
  EXPECT_TRUE(s.range);
  EXPECT_EQ(s.first, nav.RecordAt(100));
  EXPECT_EQ(s.last, nav.RecordAt(300));
  EXPECT_LT(s.first, s.last);
}

TEST(Navigator, TagSearchStopsAtTheEndsAndTheRange) {
  const auto recs = Records(1000, {100, 400, 700});
  const Navigator nav(recs, 1000, {0, 19980}, 0, 1000);
  EXPECT_EQ(nav.Tags(), (std::vector<int32_t>{100, 400, 700}));
  EXPECT_EQ(nav.NextTag(1, 1, 1000), 100);
  EXPECT_EQ(nav.NextTag(100, 1, 1000), 400);  // from a tag, the one after it
  EXPECT_FALSE(nav.NextTag(700, 1, 1000));    // none after the last
  EXPECT_EQ(nav.PreviousTag(1000, 1, 1000), 700);
  EXPECT_EQ(nav.PreviousTag(400, 1, 1000), 100);
  EXPECT_FALSE(nav.PreviousTag(100, 1, 1000));  // none before the first
  // Within a play range of 200..600 only the tag at 400 is there.
  EXPECT_EQ(nav.NextTag(1, 200, 600), 400);
  EXPECT_FALSE(nav.NextTag(400, 200, 600));
  EXPECT_EQ(nav.PreviousTag(1000, 200, 600), 400);
  EXPECT_FALSE(nav.PreviousTag(400, 200, 600));
}

TEST(Navigator, HoverFindsTheNearestTagWithinReach) {
  const auto recs = Records(1000, {100, 110, 700});
  const Navigator nav(recs, 1000, {0, 19980}, 0, 1000);
  const int x100 = nav.XOf(100), x110 = nav.XOf(110);
  EXPECT_EQ(nav.TagNear(x100 + 1, 3), 100);
  EXPECT_EQ(nav.TagNear(x110 - 1, 3), 110);
  EXPECT_EQ(nav.TagNear(nav.XOf(700) - 3, 3), 700);
  EXPECT_FALSE(nav.TagNear(nav.XOf(700) - 4, 3));
  EXPECT_FALSE(nav.TagNear(900, 3));
}

}  // namespace
}  // namespace zk::plot
