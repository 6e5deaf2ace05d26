#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <filesystem>

#include "TestFiles.h"
#include "base/Clock.h"
#include "zkd/RecordCodec.h"
#include "zkd/RecordFile.h"
#include "zkd/RecordReader.h"

namespace zk {
namespace {

using test::ReadBytes;
using test::Readings;
using test::TempFolder;

bool SameReading(const SampleRecord& a, const SampleRecord& b) {
  return a.TimeMs == b.TimeMs && a.Raw == b.Raw && a.Needle == b.Needle && a.BdValue == b.BdValue &&
         a.BaseStep == b.BaseStep && a.Sensitivity == b.Sensitivity && a.Flags == b.Flags && a.Tag == b.Tag &&
         a.Marker == b.Marker && a.Letter == b.Letter && a.Header16 == b.Header16 && a.Header17 == b.Header17;
}

TEST(RecordCodec, LayoutIsLittleEndianWithNoPadding) {
  SampleRecord r;
  r.TimeMs = 0x01020304;
  r.Raw = static_cast<int16_t>(0xFFFE);
  r.Needle = -2503;
  r.BdValue = 0x0506;
  r.BaseStep = 0xAB;
  r.Sensitivity = 63;
  r.Flags = 0x2D;
  r.Unused13 = 0x77;  // never written
  r.Tag = 0x0102;
  r.Marker = 'T';
  r.Letter = 'P';
  uint8_t b[RecordSize];
  EncodeRecord(r, b);
  const uint8_t want[RecordSize] = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0x39, 0xF6, 0x06, 0x05,
                                    0xAB, 63,   0x2D, 0x00, 0x02, 0x01, 0,    0,    'T',  'P'};
  EXPECT_EQ(0, std::memcmp(b, want, RecordSize));

  const SampleRecord back = DecodeRecord(b);
  EXPECT_TRUE(SameReading(back, r));
  EXPECT_EQ(back.Raw, -2);
  EXPECT_EQ(back.RawReading(), 65534);  // a negative Raw field is a reading above 32767
}

TEST(RecordCodec, HeaderRecordsCarryStartValuesBigEndian) {
  SampleRecord r1;
  r1.Tag = 7;
  r1.Marker = 'T';  // a tag on record 1 gives way to the header
  r1.Letter = 'P';
  const int32_t seconds = 23 * 3600 + 59 * 60 + 58;  // 86398 = 0x01517E
  uint8_t b[RecordSize];
  EncodeRecord(ClockHeaderRecord(r1, 0x102, seconds), b);
  EXPECT_EQ(b[14], 0x02);  // clock type, low 8 bits
  EXPECT_EQ(b[15], 0x01);
  EXPECT_EQ(b[16], 0x51);
  EXPECT_EQ(b[17], 0x7E);
  EXPECT_EQ(b[18], 'C');
  EXPECT_EQ(b[19], 'P');
  EXPECT_EQ(HeaderStartSeconds(DecodeRecord(b)), seconds);

  SampleRecord r2;
  r2.Tag = 0xAB00;  // byte 15 stays as it was
  r2.Letter = 'O';
  EncodeRecord(DateHeaderRecord(r2, 3, 9839), b);  // 9839 = 0x266F
  EXPECT_EQ(b[14], 3);
  EXPECT_EQ(b[15], 0xAB);
  EXPECT_EQ(b[16], 0x26);
  EXPECT_EQ(b[17], 0x6F);
  EXPECT_EQ(b[18], 'D');
  EXPECT_EQ(HeaderStartDay(DecodeRecord(b)), 9839);

  EXPECT_EQ(HeaderStartSeconds(r2), 0);  // not a clock header
  EXPECT_EQ(HeaderStartDay(r1), 0);
}

TEST(RecordFile, RoundTripWithoutHeaderRecords) {
  TempFolder dir;
  auto buf = Readings(120);
  buf[1].Marker = 'T';
  buf[1].Tag = 5;
  ASSERT_FALSE(WriteRecordFile(dir / "a.zkd", buf, 120, std::nullopt));
  EXPECT_EQ(std::filesystem::file_size(dir / "a.zkd"), 120u * 20);

  RecordFileData data;
  ASSERT_EQ(ReadRecordFile(dir / "a.zkd", data).status, ReadStatus::Ok);
  ASSERT_EQ(data.RecordCount, 120);
  ASSERT_EQ(data.records.size(), 121u);
  for (int k = 1; k <= 120; ++k) EXPECT_TRUE(SameReading(data.records[k], buf[k])) << "record " << k;
  EXPECT_EQ(data.TotalTimeMs, 119 * 20);
  EXPECT_EQ(data.RecordStartSeconds, 0);
  EXPECT_EQ(data.RecordStartDay, 0);
  EXPECT_EQ(data.RecordDate, DateSerial(1999, 12, 31));
}

TEST(RecordFile, RoundTripWithHeaderRecordsKeepsTheBufferPlain) {
  TempFolder dir;
  auto buf = Readings(60);
  buf[2].Marker = 'T';
  buf[2].Tag = 9;
  const auto before = buf;
  const int32_t day = DateSerial(2026, 12, 8) - DateSerial(1999, 12, 31);
  ASSERT_FALSE(WriteRecordFile(dir / "h.zkd", buf, 60, RecordHeader{2, 4, 36000 + 61, day}));
  for (int k = 1; k <= 60; ++k) EXPECT_TRUE(SameReading(buf[k], before[k]));

  RecordFileData data;
  ASSERT_EQ(ReadRecordFile(dir / "h.zkd", data).status, ReadStatus::Ok);
  EXPECT_EQ(data.records[1].Marker, 'C');
  EXPECT_EQ(data.records[2].Marker, 'D');            // the tag on record 2 is overwritten
  EXPECT_EQ(data.records[1].Needle, buf[1].Needle);  // the reading data stays
  EXPECT_EQ(data.records[2].Raw, buf[2].Raw);
  EXPECT_EQ(data.RecordStartSeconds, 36061);
  EXPECT_EQ(data.RecordStartDay, day);
  EXPECT_EQ(data.RecordDate, DateSerial(2026, 12, 8));
  for (int k = 3; k <= 60; ++k) EXPECT_TRUE(SameReading(data.records[k], buf[k]));

  const auto bytes = ReadBytes(dir / "h.zkd");
  EXPECT_EQ(bytes[14], 2);
  EXPECT_EQ(bytes[20 + 14], 4);
}

TEST(RecordFile, RecordCountRoundsHalfToEven) {
  EXPECT_EQ(RecordCountForLength(30), 2);
  EXPECT_EQ(RecordCountForLength(50), 2);
  EXPECT_EQ(RecordCountForLength(70), 4);
  EXPECT_EQ(RecordCountForLength(109), 5);
  EXPECT_EQ(RecordCountForLength(110), 6);
  EXPECT_EQ(RecordCountForLength(0), 0);

  // 5.5 records of data: six records, the last one cut short and read as zeros beyond.
  TempFolder dir;
  auto buf = Readings(6);
  ASSERT_FALSE(WriteRecordFile(dir / "c.zkd", buf, 6, std::nullopt));
  std::filesystem::resize_file(dir / "c.zkd", 110);
  RecordFileData data;
  ASSERT_EQ(ReadRecordFile(dir / "c.zkd", data).status, ReadStatus::Ok);
  EXPECT_EQ(data.RecordCount, 6);
  EXPECT_EQ(data.TotalTimeMs, buf[6].TimeMs);
  EXPECT_EQ(data.records[6].Raw, buf[6].Raw);
  EXPECT_EQ(data.records[6].Letter, 0);
}

TEST(RecordFile, FormatCheckLooksAtTheFirstFiveRecords) {
  auto image = [](int records, int badRecord, char letter) {
    std::vector<uint8_t> img(static_cast<std::size_t>(records) * RecordSize);
    for (int k = 1; k <= records; ++k) img[k * RecordSize - 1] = k == badRecord ? letter : 'P';
    return img;
  };
  auto ok = [](const std::vector<uint8_t>& img) { return Verify_zkd_Format(img.data(), img.size()); };
  EXPECT_TRUE(ok(image(5, 0, 0)));
  EXPECT_TRUE(ok(image(8, 3, 'T')));
  EXPECT_TRUE(ok(image(8, 2, 'O')));
  EXPECT_FALSE(ok(image(8, 5, 'X')));
  EXPECT_FALSE(ok(image(8, 1, 0)));
  EXPECT_TRUE(ok(image(8, 6, 'X')));  // record 6 is not looked at
  EXPECT_FALSE(ok(image(4, 0, 0)));   // fewer than five records is refused
  EXPECT_FALSE(ok({}));
  auto cut = image(5, 0, 0);
  cut.pop_back();  // the fifth letter is missing
  EXPECT_FALSE(ok(cut));

  TempFolder dir;
  RecordFileData data;
  data.RecordCount = 77;
  test::WriteBytes(dir / "bad.zkd", image(8, 4, 'Z'));
  EXPECT_EQ(ReadRecordFile(dir / "bad.zkd", data).status, ReadStatus::BadFormat);
  EXPECT_EQ(data.RecordCount, 77);  // nothing was taken
}

// What arrives from disks, copies and older versions: each refused with its reason, or
// read, never a crash or a file's worth of memory for nothing.
TEST(RecordReader, DamagedAndStrangeFiles) {
  TempFolder dir;
  RecordReader reader;
  EXPECT_EQ(reader.Open(dir / "absent.zkd"), ReadStatus::Missing);
  EXPECT_EQ(reader.Error().number, ENOENT);
  EXPECT_EQ(reader.Open(dir.str()), ReadStatus::IoError);  // a folder
  EXPECT_EQ(reader.Error().number, EISDIR);
  test::WriteBytes(dir / "empty.zkd", {});
  EXPECT_EQ(reader.Open(dir / "empty.zkd"), ReadStatus::BadFormat);
  test::WriteBytes(dir / "tiny.zkd", {'P', 'P', 'P'});  // shorter than one record
  EXPECT_EQ(reader.Open(dir / "tiny.zkd"), ReadStatus::BadFormat);

  // Cut in the middle of record 8: eight records, the last one zero beyond the cut.
  auto buf = Readings(10);
  ASSERT_FALSE(WriteRecordFile(dir / "cut.zkd", buf, 10, std::nullopt));
  std::filesystem::resize_file(dir / "cut.zkd", 7 * 20 + 12);
  RecordFileData data;
  ASSERT_EQ(ReadRecordFile(dir / "cut.zkd", data).status, ReadStatus::Ok);
  EXPECT_EQ(data.RecordCount, 8);
  EXPECT_EQ(data.records[8].TimeMs, buf[8].TimeMs);
  EXPECT_EQ(data.records[8].Letter, 0);

  if (::geteuid() != 0) {  // root reads everything
    ASSERT_FALSE(WriteRecordFile(dir / "locked.zkd", buf, 10, std::nullopt));
    ::chmod((dir / "locked.zkd").c_str(), 0);
    EXPECT_EQ(reader.Open(dir / "locked.zkd"), ReadStatus::IoError);
    EXPECT_EQ(reader.Error().number, EACCES);
  }
}

TEST(RecordReader, HugeFilesAreJudgedFromTheirFirstRecords) {
  TempFolder dir;
  const uint64_t twoGB = uint64_t{2} << 30;
  // 2 GB of zeros (sparse, no disk used): refused on its first five records.
  { std::ofstream(dir / "zeros.zkd"); }
  std::filesystem::resize_file(dir / "zeros.zkd", twoGB);
  RecordReader reader;
  EXPECT_EQ(reader.Open(dir / "zeros.zkd"), ReadStatus::BadFormat);

  // The same with five good records in front: more records than may be loaded, refused
  // with the limit before any memory is taken for them.
  auto buf = Readings(5);
  ASSERT_FALSE(WriteRecordFile(dir / "big.zkd", buf, 5, std::nullopt));
  std::filesystem::resize_file(dir / "big.zkd", twoGB);
  EXPECT_EQ(reader.Open(dir / "big.zkd"), ReadStatus::TooLarge);
  EXPECT_EQ(reader.Error().description, TooManyRecordsText(twoGB / 20));
  EXPECT_NE(reader.Error().description.find("at most 10000000"), std::string::npos);
  RecordFileData data;
  EXPECT_EQ(ReadRecordFile(dir / "big.zkd", data).status, ReadStatus::TooLarge);

  // Exactly the limit is fine for the check (the records are not read here).
  std::filesystem::resize_file(dir / "big.zkd", uint64_t{MaxRecords} * 20);
  EXPECT_EQ(reader.Open(dir / "big.zkd"), ReadStatus::Ok);
  EXPECT_EQ(reader.RecordCount(), MaxRecords);
}

TEST(RecordReader, NextAndRewindWalkEveryRecordAcrossBufferEdges) {
  TempFolder dir;
  const int n = 7000;  // more than two buffers of records
  auto buf = Readings(n);
  ASSERT_FALSE(WriteRecordFile(dir / "long.zkd", buf, n, std::nullopt));
  RecordReader reader;
  ASSERT_EQ(reader.Open(dir / "long.zkd"), ReadStatus::Ok);
  for (int pass = 0; pass < 2; ++pass) {
    SampleRecord r;
    int k = 0;
    while (reader.Next(r)) {
      ++k;
      ASSERT_TRUE(SameReading(r, buf[k])) << "record " << k;
    }
    EXPECT_EQ(k, n);
    EXPECT_EQ(reader.Delivered(), n);
    EXPECT_FALSE(reader.Error());
    reader.Rewind();
  }
}

class CountingProgress : public LoadProgress {
 public:
  int begins = 0;
  std::vector<int> shown;
  void Begin() override { ++begins; }
  void Show(int f) override { shown.push_back(f); }
};

TEST(RecordFile, ProgressGrowsInFiftySteps) {
  for (int count : {1000, 120, 7}) {
    TempFolder dir;
    auto buf = Readings(count);
    ASSERT_FALSE(WriteRecordFile(dir / "p.zkd", buf, count, std::nullopt));
    CountingProgress p;
    int steps = 0;
    RecordFileData data;
    ASSERT_EQ(ReadRecordFile(dir / "p.zkd", data, &p, [&] { ++steps; }).status, ReadStatus::Ok);
    EXPECT_EQ(p.begins, 1);
    ASSERT_FALSE(p.shown.empty());
    EXPECT_EQ(p.shown.back(), 50) << count;
    EXPECT_TRUE(std::adjacent_find(p.shown.begin(), p.shown.end(), std::greater_equal<int>()) == p.shown.end());
    EXPECT_EQ(static_cast<int>(p.shown.size()), steps);
    EXPECT_EQ(steps, std::min(count, 50)) << count;
  }
}

TEST(RecordFile, FailedSaveKeepsTheOlderRecording) {
  TempFolder dir;
  auto old = Readings(4);
  ASSERT_FALSE(WriteRecordFile(dir / "keep.zkd", old, 4, std::nullopt));
  const auto oldBytes = ReadBytes(dir / "keep.zkd");

  // The disk takes no more than 100 bytes per file: the save fails and says so.
  auto fresh = Readings(30);
  FileError err;
  {
    test::FileSizeLimit limit(100);
    err = WriteRecordFile(dir / "keep.zkd", fresh, 30, std::nullopt);
  }
  EXPECT_TRUE(err);
  EXPECT_FALSE(err.description.empty());
  EXPECT_EQ(ReadBytes(dir / "keep.zkd"), oldBytes);

  EXPECT_TRUE(WriteRecordFile(dir / "no-such-folder/x.zkd", fresh, 3, std::nullopt));
  EXPECT_TRUE(WriteRecordFile(dir / "x.zkd", fresh, 31, std::nullopt));  // more than the buffer holds
  EXPECT_FALSE(std::filesystem::exists(dir / "x.zkd"));

  // A successful save replaces the old one completely and leaves no temporary file.
  ASSERT_FALSE(WriteRecordFile(dir / "keep.zkd", fresh, 3, std::nullopt));
  EXPECT_EQ(std::filesystem::file_size(dir / "keep.zkd"), 60u);  // nothing of the longer old file survives
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.str())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace zk
