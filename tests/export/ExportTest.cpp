// The export's arithmetic (the 50-per-second grid, the annotations, the start) and its
// files: written whole or not at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <edflib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "TestFiles.h"
#include "export/CsvExport.h"
#include "export/EdfExport.h"
#include "export/EdfSignals.h"
#include "export/RecordRange.h"
#include "zkd/RecordCodec.h"
#include "zkd/StartTexts.h"

namespace zk {
namespace {

using test::TempFolder;

RecordFileData Data(std::vector<SampleRecord> records) {
  RecordFileData d;
  d.RecordCount = static_cast<int32_t>(records.size()) - 1;
  d.TotalTimeMs = d.RecordCount >= 1 ? records.back().TimeMs : 0;
  d.records = std::move(records);
  return d;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(EdfGrid, HoldsTheLastRecordAcrossGapsAndUnevenTimes) {
  std::vector<SampleRecord> r(6);
  const int32_t t[] = {0, 5, 17, 100, 100, 130};  // a gap after 17 ms, two at 100 ms
  for (int k = 1; k <= 5; ++k) r[k].TimeMs = t[k];
  const std::vector<int32_t> grid = GridRecords(Data(r));
  // 0, 20, 40, 60, 80, 100, 120 ms.
  EXPECT_EQ(grid, (std::vector<int32_t>{1, 2, 2, 2, 2, 4, 4}));
  // A first record later than 0 is shown from the start; none at all gives no grid.
  r[1].TimeMs = 10;
  EXPECT_EQ(GridRecords(Data(r))[0], 1);
  EXPECT_TRUE(GridRecords(Data({SampleRecord{}})).empty());
}

TEST(EdfSignalsTest, DigitalValuesMapOntoThePhysicalRanges) {
  SampleRecord r;
  r.Raw = -1;  // 65535
  r.Needle = -2503;
  r.BaseStep = 64;  // base 2.0
  r.Sensitivity = 16;
  auto physical = [&](int s) {
    const EdfSignalInfo& i = EdfSignals[s];
    return i.physicalMin +
           (EdfDigital(s, r) - i.digitalMin) * (i.physicalMax - i.physicalMin) / (i.digitalMax - i.digitalMin);
  };
  EXPECT_NEAR(physical(0), -2503 * 360.0 / 65536, 1e-9);
  EXPECT_NEAR(physical(1), 2.0, 1e-9);
  EXPECT_NEAR(physical(2), 65535, 1e-9);
  EXPECT_NEAR(physical(3), 16, 1e-9);
}

TEST(EdfEventsTest, TagsFreezesAndLampStretches) {
  std::vector<SampleRecord> r(8);
  for (int k = 1; k <= 7; ++k) r[k].TimeMs = (k - 1) * 20;
  r[2].Marker = 'T';
  r[2].Tag = 4;
  r[3].Flags = RecordFlags::Frozen | 2;  // frozen, body-motion lamp
  r[4].Flags = RecordFlags::Frozen | 2;
  r[5].Flags = 3;  // thawed; the lag lamp until the end
  r[6].Flags = 3;
  r[7].Flags = 3;
  const std::vector<EdfEvent> e = EdfEvents(Data(r));
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].text, "Tag 4");
  EXPECT_EQ(e[0].onsetMs, 20);
  EXPECT_EQ(e[1].text, "Freeze on");
  EXPECT_EQ(e[2].text, "Body motion");
  EXPECT_EQ(e[2].onsetMs, 40);
  EXPECT_EQ(e[2].durationMs, 40);
  EXPECT_EQ(e[3].text, "Freeze off");
  EXPECT_EQ(e[3].onsetMs, 80);
  EXPECT_EQ(e[4].text, "Needle lag");
  EXPECT_EQ(e[4].durationMs, 40);  // lit to the last record
}

TEST(EdfStartTest, HeaderStartOrTheFallback) {
  std::vector<SampleRecord> r = test::Readings(10);
  const DateTime file{2024, 5, 6, 7, 8, 9};
  bool fromHeader = true;
  DateTime s = EdfStart(Data(r), file, fromHeader);
  EXPECT_FALSE(fromHeader);
  EXPECT_EQ(s.year, 2024);
  EXPECT_EQ(s.second, 9);
  r[1].Marker = 'C';
  r[2].Marker = 'D';
  RecordFileData d = Data(r);
  d.RecordStartSeconds = 10 * 3600 + 30 * 60 + 5;
  d.RecordDate = DateSerial(2026, 3, 14);
  s = EdfStart(d, file, fromHeader);
  EXPECT_TRUE(fromHeader);
  EXPECT_EQ(s.year, 2026);
  EXPECT_EQ(s.month, 3);
  EXPECT_EQ(s.day, 14);
  EXPECT_EQ(s.hour, 10);
  EXPECT_EQ(s.minute, 30);
  EXPECT_EQ(s.second, 5);
}

// A part of a recording as a recording of its own: renumbered, times from its first
// whole second, the start moved on by as much (past midnight into the next day).
TEST(RecordRangeTest, APartKeepsItsClockTimes) {
  std::vector<SampleRecord> r = test::Readings(3000);  // 20 ms apart
  r[1] = ClockHeaderRecord(r[1], 1, 86400 - 10);       // 23:59:50
  r[2] = DateHeaderRecord(r[2], 1, 100);
  r[1700].Marker = 'T';
  RecordFileData d = Data(r);
  d.RecordStartSeconds = 86400 - 10;
  d.RecordStartDay = 100;
  d.RecordDate = DateSerial(1999, 12, 31) + 100;
  const RecordFileData p = RecordRange(d, 1511, 2000);  // 30.2 s .. 39.98 s
  EXPECT_EQ(p.RecordCount, 490);
  EXPECT_EQ(p.records[1].TimeMs, 200);
  EXPECT_EQ(p.TotalTimeMs, 9980);
  EXPECT_EQ(p.records[190].Marker, 'T');  // record 1700
  EXPECT_EQ(p.RecordStartSeconds, 20);    // 00:00:20 the next day
  EXPECT_EQ(p.RecordStartDay, 101);
  EXPECT_EQ(HeaderStartSeconds(p.records[1]), 20);
  EXPECT_EQ(HeaderStartDay(p.records[2]), 101);
  bool fromHeader = false;
  EXPECT_EQ(EdfStart(p, DateTime{}, fromHeader).day, DateFromSerial(d.RecordDate + 1).day);
  EXPECT_TRUE(fromHeader);
  // Out of reach: clamped to the recording.
  EXPECT_EQ(RecordRange(d, -5, 99999).RecordCount, 3000);
  EXPECT_EQ(RecordRange(Data({SampleRecord{}}), 1, 5).RecordCount, 0);
}

TEST(EdfFile, WrittenWholeOrTheOldFileKept) {
  TempFolder dir;
  const std::string path = dir / "out.edf";
  const RecordFileData d = Data(test::Readings(120));
  ASSERT_FALSE(WriteEdf(d, {DateTime{2024, 1, 2, 3, 4, 5}, "Start time taken from the file time"}, path));
  const std::string edf = ReadAll(path);
  // Header of 256 bytes plus 256 per signal (4 and the annotations), then 3 one-second
  // data records (120 records = 2.38 s) of 4 x 50 samples and the annotation bytes.
  ASSERT_GT(edf.size(), 256u * 6);
  EXPECT_EQ(edf.substr(0, 8), "0       ");
  EXPECT_EQ(edf.substr(192, 5), "EDF+C");
  EXPECT_EQ(edf.substr(236, 8), "3       ");            // data records
  EXPECT_NE(edf.find("file time"), std::string::npos);  // says where its start came from
  // The recording field (80 characters) holds how the signals were made, whole, with
  // and without a start in the recording.
  for (const bool header : {false, true}) {
    RecordFileData h = d;
    if (header) {
      h.records[1].Marker = 'C';
      h.records[2].Marker = 'D';
      h.RecordDate = DateSerial(2026, 3, 14);
      h.RecordStartSeconds = 3600;
    }
    ASSERT_FALSE(WriteEdf(h, {DateTime{2024, 1, 2, 3, 4, 5}, "x"}, dir / "field.edf"));
    const std::string field = ReadAll(dir / "field.edf").substr(88, 80);
    const std::string text = header ? EdfRecordingNote : EdfRecordingNoteNoStart;
    EXPECT_NE(field.find("zodovaz " + text + " "), std::string::npos) << "[" << field << "]";
  }
  std::filesystem::remove(dir / "field.edf");

  // A disk that fills half way fails and leaves the old file as it was.
  {
    const test::FileSizeLimit full(2000);  // the whole file is about 3 KB
    EXPECT_TRUE(WriteEdf(d, {DateTime{2024, 1, 1}, "x"}, path));
  }
  EXPECT_EQ(ReadAll(path), edf);
  // A start beyond what EDF+ holds fails with the reason.
  const FileError e = WriteEdf(d, {DateTime{2099, 1, 1}, "x"}, path);
  ASSERT_TRUE(e);
  EXPECT_NE(e.description.find("2099"), std::string::npos) << e.description;
  EXPECT_EQ(ReadAll(path), edf);
  // A recording without records writes nothing.
  EXPECT_EQ(WriteEdf(Data({SampleRecord{}}), {DateTime{2024, 1, 1}, "x"}, dir / "none.edf").description,
            "the recording has no records");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), {}), 1);
}

// A crafted recording whose last record claims a time no recording can reach would make
// a file of gigabytes: refused before anything is written.
TEST(EdfFile, ATimeBeyondWhatARecordingCanLastIsRefusedUpFront) {
  TempFolder dir;
  std::vector<SampleRecord> records = test::Readings(650);
  records.back().TimeMs = INT32_MAX;
  const FileError e = WriteEdf(Data(records), {DateTime{2024, 1, 1}, "x"}, dir / "out.edf");
  ASSERT_TRUE(e);
  EXPECT_NE(e.description.find("2147483647 ms"), std::string::npos) << e.description;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), {}), 0);
  records.back().TimeMs = static_cast<int32_t>(MaxRecordTimeMs + 1);
  EXPECT_TRUE(WriteEdf(Data(records), {DateTime{2024, 1, 1}, "x"}, dir / "out.edf"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), {}), 0);
}

TEST(CsvFile, TheToolsColumnsForEveryRecord) {
  TempFolder dir;
  std::vector<SampleRecord> r = test::Readings(3);
  r[2].Marker = 'T';
  r[2].Tag = 7;
  r[3].Letter = ',';
  ASSERT_FALSE(WriteCsv(Data(r), dir / "r.csv"));
  std::string expected = CsvHeader();
  for (int k = 1; k <= 3; ++k) AppendCsvLine(expected, k, r[k]);
  EXPECT_EQ(ReadAll(dir / "r.csv"), expected);
  EXPECT_NE(expected.find(",7,T,P\n"), std::string::npos);
  EXPECT_NE(expected.find(",\",\"\n"), std::string::npos);
}

// With notes the tag lines carry them in a last column, and the session note comes first
// as a comment; the columns before stay as they are.
TEST(CsvFile, NotesInALastColumnAndTheSessionNoteAsAComment) {
  TempFolder dir;
  std::vector<SampleRecord> r = test::Readings(3);
  r[2].Marker = 'T';
  r[2].Tag = 7;
  TagNotes notes;
  notes.session = "two\nlines";
  notes.Set(7, "said \"stop\", then 2");
  ASSERT_FALSE(WriteCsv(Data(r), dir / "r.csv", notes));
  std::string plain;
  for (int k = 1; k <= 3; ++k) AppendCsvLine(plain, k, r[k]);
  const std::string csv = ReadAll(dir / "r.csv");
  EXPECT_EQ(csv.rfind(std::string("# session: two lines\n") + "index,time_ms,raw,needle,bd,base_step,sensitivity,flags,"
                                                              "tag,marker,letter,note\n",
                      0),
            0u)
      << csv;
  // Each line is the line without notes and its note field.
  const std::size_t first = plain.find('\n'), second = plain.find('\n', first + 1);
  EXPECT_NE(csv.find(plain.substr(0, first) + ",\n"), std::string::npos);
  EXPECT_NE(csv.find(plain.substr(first + 1, second - first - 1) + ",\"said \"\"stop\"\", then 2\"\n"),
            std::string::npos)
      << csv;
  // Notes on tags the recording does not have leave the column empty; no notes, no column.
  EXPECT_EQ(CsvPreamble({}), CsvHeader());
}

// The notes as annotation texts, as a reader of the file gets them back: the session
// note at the start, each tag's after its number, a long one cut at a character's edge.
TEST(EdfFile, NotesAreReadBackAsAnnotationTexts) {
  TempFolder dir;
  std::vector<SampleRecord> r = test::Readings(200);
  for (int k : {50, 120}) {
    r[k].Marker = 'T';
    r[k].Tag = static_cast<uint16_t>(k / 50);
  }
  TagNotes notes;
  notes.session = "Sitzung mit Ärger";
  notes.Set(1, "arm moved");
  notes.Set(2, std::string(32, 'x') + "äöü and more");  // byte 40 is inside "ä"
  ASSERT_FALSE(WriteEdf(Data(r), {DateTime{2024, 1, 2, 3, 4, 5}, "From the file"}, dir / "n.edf", notes));
  edf_hdr_struct hdr{};
  const int h = edfopen_file_readonly((dir / "n.edf").c_str(), &hdr, EDFLIB_READ_ALL_ANNOTATIONS);
  ASSERT_GE(h, 0) << hdr.filetype;
  std::vector<std::string> texts;
  for (long long i = 0; i < hdr.annotations_in_file; ++i) {
    edf_annotation_struct a{};
    ASSERT_EQ(edf_get_annotation(h, static_cast<int>(i), &a), 0);
    texts.push_back(a.annotation);
  }
  edfclose_file(h);
  const std::string cut = "Tag 2: " + std::string(32, 'x');
  EXPECT_EQ(OneLineUtf8("Tag 2: " + notes.Of(2), EdfAnnotationBytes), cut);
  for (const std::string& want : {std::string("Session: Sitzung mit Ärger"), std::string("Tag 1: arm moved"), cut})
    EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want;
  EXPECT_EQ(OneLineUtf8("ab\ncä", 4), "ab c");
}

}  // namespace
}  // namespace zk
