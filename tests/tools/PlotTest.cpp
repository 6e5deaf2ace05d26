// The session picture, checked on the PNG the command writes: recordings are crafted with
// the project's writer, plotted, read back and looked at pixel by pixel.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "OffscreenApp.h"
#include "Plot.h"
#include "PlotOptions.h"
#include "TestFiles.h"
#include "ZkdTool.h"
#include "meter/MeterEngine.h"
#include "plot/PlotAxis.h"
#include "plot/PlotColors.h"
#include "plot/PlotLayout.h"
#include "plot/SessionPicture.h"
#include "zkd/RecordFile.h"

namespace zk::zkd {
namespace {

using namespace zk::plot;

using test::TempFolder;
const PlotColors& C = PlotPalette;

// `count` calm readings 20 ms apart: raw 30000, needle on SET, base 2.0, sensitivity 16.
std::vector<SampleRecord> Calm(int count) {
  std::vector<SampleRecord> buf(static_cast<std::size_t>(count) + 1);
  for (int k = 1; k <= count; ++k) {
    SampleRecord& r = buf[k];
    r.TimeMs = (k - 1) * 20;
    r.Raw = 30000;
    r.Needle = NeedleSetMark;
    r.BaseStep = 64;
    r.Sensitivity = 16;
    r.Letter = 'P';
  }
  return buf;
}

void Save(const std::string& path, const std::vector<SampleRecord>& buf,
          const std::optional<RecordHeader>& header = std::nullopt) {
  ASSERT_FALSE(WriteRecordFile(path, buf, static_cast<int32_t>(buf.size() - 1), header));
}

struct PlotRun {
  int code;
  std::string out, err;
};

PlotRun PlotWith(QStringList args) {
  std::ostringstream out, err;
  const int code = Plot(args, out, err);
  return {code, out.str(), err.str()};
}

// Plots `zkd` with extra arguments into OUT.png beside it and reads the picture back.
QImage Picture(const std::string& zkd, QStringList extra = {}) {
  const std::string png = zkd.substr(0, zkd.size() - 4) + ".png";
  const PlotRun r = PlotWith(QStringList{QString::fromStdString(zkd)} + extra);
  EXPECT_EQ(r.code, 0) << r.err;
  return QImage(QString::fromStdString(png));
}

// The layout the command used for a picture of this size over raw readings lo..hi.
PlotLayout LayoutFor(const QImage& image, int32_t rawLo, int32_t rawHi) {
  PlotLayout L = LayoutPlot(image.width(), image.height());
  L.FitRawLane(rawLo, rawHi);
  return L;
}

bool Is(const QImage& image, int x, int y, QRgb colour) { return (image.pixel(x, y) & 0xFFFFFF) == colour; }

TEST(PlotPicture, RawStepStandsAtItsTime) {
  TempFolder dir;
  auto buf = Calm(3001);  // 0 to 60 s
  for (int k = 1; k <= 3001; ++k) buf[k].Raw = buf[k].TimeMs < 30000 ? 20000 : 32000;
  Save(dir / "r.zkd", buf);

  for (const QStringList& extra : {QStringList{}, QStringList{"--from", "0:20", "--to", "00:40"}}) {
    SCOPED_TRACE(extra.join(' ').toStdString());
    const QImage image = Picture(dir / "r.zkd", extra);
    ASSERT_EQ(image.size(), QSize(1600, 900));
    const PlotLayout L = LayoutFor(image, 20000, 32000);
    const TimeRange range = extra.isEmpty() ? TimeRange{0, 60000} : TimeRange{20000, 40000};
    const int step = L.X(30000, range);
    EXPECT_EQ(step, L.left + L.columns / 2);
    const int low = L.raw.Y(20000), high = L.raw.Y(32000);
    for (int x = L.left; x < L.left + L.columns; ++x) {
      if (x == step - 1 || x == step) continue;  // the joint between the two levels
      EXPECT_EQ(Is(image, x, low, C.raw), x < step) << x;
      EXPECT_EQ(Is(image, x, high, C.raw), x > step) << x;
    }
  }
}

TEST(PlotPicture, TagLineCrossesEveryLaneAtItsShareOfTheWidth) {
  TempFolder dir;
  auto buf = Calm(3001);
  buf[1501].Marker = 'T';  // 30 s
  buf[1501].Tag = 1;
  Save(dir / "r.zkd", buf);
  const QImage image = Picture(dir / "r.zkd");
  const PlotLayout L = LayoutFor(image, 30000, 30000);
  const int x = L.X(30000, {0, 60000});
  EXPECT_EQ(x, L.left + static_cast<int>(L.columns * 30.0 / 60.0));
  for (const Lane* lane : {&L.needle, &L.base, &L.sensitivity, &L.raw}) {
    const int y = lane->rect.top() + 2;  // above every calm trace
    EXPECT_TRUE(Is(image, x, y, C.tag)) << y;
    EXPECT_FALSE(Is(image, x - 2, y, C.tag));
    EXPECT_FALSE(Is(image, x + 2, y, C.tag));
  }
  // Its number stands above the lanes, over the line.
  bool numbered = false;
  for (int y = L.tagRowTop; y < L.LanesTop(); ++y)
    for (int dx = -4; dx <= 4; ++dx) numbered = numbered || Is(image, x + dx, y, C.tag);
  EXPECT_TRUE(numbered);
}

// A tag on the first or the last record keeps its number, written inside the picture.
TEST(PlotPicture, TagsAtEitherEndAreNumbered) {
  TempFolder dir;
  auto buf = Calm(3001);
  for (int k : {1, 3001}) {
    buf[k].Marker = 'T';
    buf[k].Tag = static_cast<uint16_t>(k == 1 ? 1 : 2);
  }
  Save(dir / "r.zkd", buf);
  const QImage image = Picture(dir / "r.zkd");
  const PlotLayout L = LayoutFor(image, 30000, 30000);
  auto numbered = [&](int from, int to) {
    for (int y = L.tagRowTop; y < L.LanesTop(); ++y)
      for (int x = from; x < to; ++x)
        if (Is(image, x, y, C.tag)) return true;
    return false;
  };
  EXPECT_TRUE(numbered(L.left, L.left + 3 * L.fontPx));
  EXPECT_TRUE(numbered(L.left + L.columns - 3 * L.fontPx, L.left + L.columns));
}

TEST(PlotPicture, TwoHoursKeepOneRecordSpikes) {
  TempFolder dir;
  auto buf = Calm(360000);
  buf[200001].Raw = 31000;    // one record up
  buf[100001].Needle = 8000;  // one record of the needle far to the right
  Save(dir / "long.zkd", buf);
  const QImage image = Picture(dir / "long.zkd");
  const PlotLayout L = LayoutFor(image, 30000, 31000);
  const TimeRange range{0, buf[360000].TimeMs};

  const int rawX = L.X(buf[200001].TimeMs, range), needleX = L.X(buf[100001].TimeMs, range);
  const int rawTop = L.raw.Y(31000), needleTop = L.needle.Y(8000);
  for (int x = L.left; x < L.left + L.columns; ++x) {
    EXPECT_EQ(Is(image, x, rawTop, C.raw), x == rawX) << x;
    EXPECT_EQ(Is(image, x, needleTop, C.needle), x == needleX) << x;
  }
}

TEST(PlotPicture, LampsInTheirBandRowsAndFrozenStretchesShaded) {
  TempFolder dir;
  auto buf = Calm(3001);
  for (int k = 1000; k <= 1100; ++k) buf[k].Flags = 2;                        // body motion
  for (int k = 2000; k <= 2050; ++k) buf[k].Flags = RecordFlags::Frozen | 3;  // frozen, lag lamp
  Save(dir / "r.zkd", buf);
  const QImage image = Picture(dir / "r.zkd");
  const PlotLayout L = LayoutFor(image, 30000, 30000);
  const TimeRange range{0, 60000};
  const int row = L.lampBand.height() / 3;
  auto rowY = [&](int lamp) { return L.lampBand.top() + (lamp - 1) * row + row / 2; };

  const int motionX = L.X(buf[1050].TimeMs, range), frozenX = L.X(buf[2025].TimeMs, range);
  EXPECT_TRUE(Is(image, motionX, rowY(2), C.lamps[2]));
  EXPECT_FALSE(Is(image, motionX, rowY(1), C.lamps[1]));
  EXPECT_FALSE(Is(image, motionX, rowY(3), C.lamps[3]));
  EXPECT_TRUE(Is(image, frozenX, rowY(3), C.lamps[3]));
  EXPECT_TRUE(Is(image, frozenX, L.needle.rect.top() + 2, C.frozen));
  EXPECT_FALSE(Is(image, motionX, L.needle.rect.top() + 2, C.frozen));
  EXPECT_FALSE(Is(image, L.X(buf[500].TimeMs, range), rowY(2), C.lamps[2]));
}

TEST(PlotAxis, LabelsTakeThePlayersTimeTextAndTheClock) {
  auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 8; };
  const int32_t twoHours = 7200000;
  auto hours = AxisLabels({0, twoHours}, 1500, twoHours, std::nullopt, width, 10);
  ASSERT_GE(hours.size(), 3u);
  EXPECT_EQ(hours[0].time, "0:00:00");
  bool hour = false;
  for (const AxisLabel& l : hours) {
    EXPECT_EQ(l.time.size(), 7u) << l.time;  // h:mm:ss
    EXPECT_TRUE(l.clock.empty());
    hour = hour || l.time == "1:00:00";
  }
  EXPECT_TRUE(hour);
  // A part of an hour-long recording keeps the hour form.
  auto part = AxisLabels({4200000, 4260000}, 1500, twoHours, std::nullopt, width, 10);
  ASSERT_FALSE(part.empty());
  EXPECT_EQ(part[0].time, "1:10:00");

  auto minute = AxisLabels({0, 62000}, 1500, 62000, 23 * 3600 + 59 * 60 + 50, width, 10);
  ASSERT_GE(minute.size(), 3u);
  EXPECT_EQ(minute[0].time, "00:00");
  EXPECT_EQ(minute[0].clock, "23:59:50");
  for (const AxisLabel& l : minute) {
    if (l.seconds == 10) {
      EXPECT_EQ(l.clock, "00:00:00");  // past midnight
    }
  }
  for (std::size_t i = 1; i < minute.size(); ++i)  // far enough apart for their texts
    EXPECT_GE((minute[i].seconds - minute[i - 1].seconds) * 1500 / 62, width("00:00:00") + 20);
}

TEST(PlotPicture, ClockRowOnlyWhenTheRecordingCarriesItsStart) {
  TempFolder dir;
  const auto buf = Calm(3001);
  Save(dir / "plain.zkd", buf);
  Save(dir / "dated.zkd", buf, RecordHeader{1, 1, 13 * 3600, 9839});
  const QImage plain = Picture(dir / "plain.zkd"), dated = Picture(dir / "dated.zkd");
  const PlotLayout L = LayoutFor(plain, 30000, 30000);
  auto inked = [&](const QImage& im, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < im.width(); ++x) n += !Is(im, x, y, C.background);
    return n;
  };
  const int timeRow = L.axisTop + L.fontPx / 3 + 3, clockRow = timeRow + L.fontPx + 4;
  EXPECT_GT(inked(plain, timeRow, clockRow), 0);
  EXPECT_EQ(inked(plain, clockRow + 2, plain.height()), 0);
  EXPECT_GT(inked(dated, clockRow + 2, dated.height()), 0);
}

TEST(PlotTitle, NamesTheSession) {
  auto buf = Calm(3100);
  buf[3].Marker = 'T';
  buf[3].Tag = 1;
  buf[3100].BdValue = 123;
  RecordFileData d;
  d.records = buf;
  d.records[1].Marker = 'C';
  d.records[2].Marker = 'D';
  d.RecordCount = 3100;
  d.TotalTimeMs = buf[3100].TimeMs;
  d.RecordStartSeconds = 13 * 3600 + 62;
  d.RecordDate = 36525 + 9839;
  EXPECT_EQ(PlotTitle("r.zkd", d, {0, d.TotalTimeMs}),
            "r.zkd   08/12/2026 13:01:02   duration 01:02   3100 records   1 tag   BD 12.3");
  EXPECT_TRUE(PlotTitle("r.zkd", d, {20000, 40000}).ends_with("BD 12.3   showing 00:20 to 00:40"));
}

TEST(PlotOptions, TimeTexts) {
  EXPECT_EQ(ParseTimeText("05:30"), 330);
  EXPECT_EQ(ParseTimeText("5:30"), 330);
  EXPECT_EQ(ParseTimeText("90:00"), 5400);
  EXPECT_EQ(ParseTimeText("1:02:05"), 3725);
  EXPECT_EQ(ParseTimeText("01:02:05"), 3725);
  for (const char* bad : {"", "30", "1:2", "1:60", ":30", "1:", "1:02:03:04", "1:2:03", "a:00", "-1:00", "1:00 ",
                          "99999:00:00", "9999999:00"})
    EXPECT_EQ(ParseTimeText(bad), std::nullopt) << bad;
}

// Ten minutes of a plausible session: a drifting reading with reactions (sharp falls that
// recover slowly), the base re-set whenever the needle nears a scale end (lamp SET, the
// drops counted as blow-down), a sensitivity change, body motion with the needle frozen,
// a lag lamp and four tags.
std::vector<SampleRecord> Session() {
  const int count = 30000;
  std::vector<SampleRecord> buf(count + 1);
  uint32_t noise = 12345;
  int32_t setRaw = 0, bd = 0, tag = 0, setLamp = 0;
  for (int k = 1; k <= count; ++k) {
    SampleRecord& r = buf[k];
    r.TimeMs = (k - 1) * 20;
    const double t = r.TimeMs / 1000.0;
    double raw = 26000 + 2500 * std::sin(t / 47) + 900 * std::sin(t / 11) - 6 * t;
    for (double fall : {52.0, 131.0, 188.0, 305.0, 342.0, 460.0, 533.0})
      if (t > fall) raw -= 1400 * std::exp(-(t - fall) / 9) * std::min(1.0, (t - fall) / 1.5);
    noise = noise * 1103515245 + 12345;
    raw += static_cast<int>((noise >> 16) % 60) - 30;
    const int32_t reading = static_cast<int32_t>(raw);
    r.Raw = static_cast<int16_t>(reading);
    r.Sensitivity = t < 240 ? 16 : t < 450 ? 24 : 20;
    if (k == 1) setRaw = reading;
    int32_t needle = NeedleSetMark + (setRaw - reading) * r.Sensitivity / 3;
    if (std::abs(needle) > 8500) {  // re-set: the base follows the reading
      const uint8_t before = MeterEngine::Base_Step(setRaw);
      setRaw = reading;
      const uint8_t after = MeterEngine::Base_Step(setRaw);
      if (after < before) bd += (before - after) * 5;
      needle = NeedleSetMark;
      setLamp = 15;
    }
    r.Needle = static_cast<int16_t>(needle);
    r.BaseStep = MeterEngine::Base_Step(setRaw);
    r.BdValue = static_cast<int16_t>(bd);
    const bool motion = (t > 100 && t < 103.5) || (t > 412 && t < 414);
    r.Flags = RecordFlags::BdCount;
    if (setLamp > 0 && setLamp--) r.Flags |= 1;
    if (motion) r.Flags |= RecordFlags::Frozen | 2;
    if (t > 270 && t < 272) r.Flags |= 3;
    for (double at : {90.0, 190.0, 405.0, 500.0})
      if (r.TimeMs == static_cast<int32_t>(at * 1000)) {
        r.Marker = 'T';
        r.Tag = static_cast<uint16_t>(++tag);
      }
    r.Letter = 'P';
  }
  return buf;
}

// The picture in the README comes from this session; with ZK_PLOT_PICTURE set it is
// written there as well.
TEST(PlotCommand, SessionPictureIsSmallEnoughToShow) {
  TempFolder dir;
  Save(dir / "session.zkd", Session(), RecordHeader{1, 1, 10 * 3600 + 15 * 60, 9839});
  const QStringList size{"--width", "1200", "--height", "675"};
  const QImage image = Picture(dir / "session.zkd", size);
  EXPECT_EQ(image.size(), QSize(1200, 675));
  EXPECT_LT(std::filesystem::file_size(dir / "session.png"), 200u * 1024);
  if (const char* to = std::getenv("ZK_PLOT_PICTURE")) {
    EXPECT_EQ(PlotWith(QStringList{QString::fromStdString(dir / "session.zkd"), "-o", to} + size).code, 0);
  }
}

TEST(PlotCommand, WritesBesideTheRecordingOrWhereAsked) {
  TempFolder dir;
  Save(dir / "r.zkd", Calm(3001));
  PlotRun r = PlotWith({QString::fromStdString(dir / "r.zkd"), "--to", "9:00"});  // beyond the end: up to it
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, dir / "r.png" + "\n");
  EXPECT_EQ(QImage(QString::fromStdString(dir / "r.png")).size(), QSize(1600, 900));

  r = PlotWith({"-o", QString::fromStdString(dir / "small.png"), "--width", "200", "--height", "150",
                QString::fromStdString(dir / "r.zkd")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(QImage(QString::fromStdString(dir / "small.png")).size(), QSize(200, 150));
}

TEST(PlotCommand, BadInputIsRefusedWithUsageOrTheLoadersMessage) {
  TempFolder dir;
  Save(dir / "r.zkd", Calm(3001));  // one minute
  const QString zkd = QString::fromStdString(dir / "r.zkd");
  for (const QStringList& args : std::vector<QStringList>{{},
                                                          {zkd, zkd},
                                                          {zkd, "--colour", "red"},
                                                          {zkd, "--from", "0:40", "--to", "0:20"},
                                                          {zkd, "--from", "0:20", "--to", "0:20"},
                                                          {zkd, "--from", "1:00"},  // the very end: nothing after it
                                                          {zkd, "--from", "5:00", "--to", "6:00"},
                                                          {zkd, "--from", "1:2"},
                                                          {zkd, "--width", "199"},
                                                          {zkd, "--height", "149"},
                                                          {zkd, "--width", "8001"},
                                                          {zkd, "--width", "wide"},
                                                          {zkd, "-o", ""}}) {
    const PlotRun r = PlotWith(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_NE(r.err.find("Usage: zodovaz-zkd plot FILE.zkd"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("zodovaz-zkd plot: "), std::string::npos) << r.err;
  }
  const PlotRun help = PlotWith({"--help"});
  EXPECT_EQ(help.code, 0);
  for (const char* option : {"-o, --output OUT.png", "--width PX", "--height PX", "--from TIME", "--to TIME"})
    EXPECT_NE(help.out.find(option), std::string::npos) << help.out;
  EXPECT_FALSE(std::filesystem::exists(dir / "r.png"));

  // A recording that does not load: the messages and exit code of "verify".
  auto bytes = test::ReadBytes(dir / "r.zkd");
  bytes[3 * 20 - 1] = 'Q';
  test::WriteBytes(dir / "bad.zkd", bytes);
  for (const std::string& path : {dir / "gone.zkd", dir / "bad.zkd", dir.str()}) {
    std::ostringstream out, verifyErr;
    const int verifyCode = Verify(path, out, verifyErr);
    const PlotRun r = PlotWith({QString::fromStdString(path)});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.code, verifyCode);
    EXPECT_EQ(r.err, verifyErr.str());
  }
}

// The command names times as "info" and the player do: a recording of 4.998 s lasts
// 00:05, and 0:05 is its end.
TEST(PlotCommand, TimesAreTheLengthTheInfoShows) {
  TempFolder dir;
  auto buf = Calm(250);
  buf[250].TimeMs = 4998;
  Save(dir / "r.zkd", buf);
  const QString zkd = QString::fromStdString(dir / "r.zkd");
  EXPECT_EQ(PlotWith({zkd, "--from", "0:04"}).code, 0);
  PlotRun r = PlotWith({zkd, "--from", "0:05"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("nothing to draw after 00:05, the end of the recording"), std::string::npos) << r.err;
  r = PlotWith({zkd, "--from", "0:06", "--to", "0:09"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("(the recording lasts 00:05)"), std::string::npos) << r.err;
}

// A picture is never written over the recording it is drawn from, nor over a device.
TEST(PlotCommand, RefusesToWriteOverItsInputOrANonRegularFile) {
  TempFolder dir;
  Save(dir / "r.zkd", Calm(3001));
  std::filesystem::create_hard_link(dir / "r.zkd", dir / "same.png");
  const auto before = test::ReadBytes(dir / "r.zkd");
  const QString zkd = QString::fromStdString(dir / "r.zkd");
  for (const std::string& out : {dir / "r.zkd", dir / "same.png", std::string("/dev/null")}) {
    const PlotRun r = PlotWith({zkd, "-o", QString::fromStdString(out)});
    EXPECT_EQ(r.code, 2) << out;
    EXPECT_NE(r.err.find("will not write " + out + ": it "), std::string::npos) << r.err;
  }
  EXPECT_EQ(test::ReadBytes(dir / "r.zkd"), before);
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(PlotCommand, AFailedWriteKeepsTheOldPicture) {
  TempFolder dir;
  Save(dir / "r.zkd", Calm(3001));
  dir.Write("r.png", "the old picture");
  PlotRun r;
  {
    test::FileSizeLimit limit(1000);
    r = PlotWith({QString::fromStdString(dir / "r.zkd")});
  }
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("could not write " + dir / "r.png"), std::string::npos) << r.err;
  EXPECT_EQ(dir.Read("r.png"), "the old picture");
  EXPECT_EQ(PlotWith({QString::fromStdString(dir / "r.zkd"), "-o", QString::fromStdString(dir / "no/such.png")}).code,
            1);
}

}  // namespace
}  // namespace zk::zkd

// The picture draws text: one offscreen application for the whole test program.
int main(int argc, char** argv) {
  const auto app = zk::zkd::OffscreenApp(argv[0]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
