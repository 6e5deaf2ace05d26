#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "TestFiles.h"
#include "ZkdTool.h"
#include "sound/SoundFile.h"
#include "zkd/FailureTexts.h"
#include "zkd/RecordFile.h"

namespace zk {
namespace {

using test::TempFolder;

struct ToolRun {
  int code;
  std::string out, err;
};

template <class F>
ToolRun Call(F f, const std::string& path) {
  std::ostringstream out, err;
  int code = f(path, out, err);
  return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

class ZkdTool : public ::testing::Test {
 protected:
  void SetUp() override {
    buf = test::Readings(3100);  // a minute and two seconds
    buf[1].Raw = -1;             // reading 65535
    buf[1].Letter = 'P';
    buf[3].Marker = 'T';
    buf[3].Tag = 1;
    buf[3000].Marker = 'T';
    buf[3000].Tag = 2;
    for (int k = 1; k <= 3100; ++k) buf[k].Sensitivity = k < 1000 ? 8 : 12;
    ASSERT_FALSE(WriteRecordFile(dir / "r.zkd", buf, 3100, RecordHeader{1, 1, 3600 * 13 + 62, 9839}));
  }
  TempFolder dir;
  std::vector<SampleRecord> buf;
};

TEST_F(ZkdTool, CsvListsEveryRecord) {
  ToolRun r = Call(zkd::Csv, dir / "r.zkd");
  ASSERT_EQ(r.code, 0) << r.err;
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3101u);
  EXPECT_EQ(lines[0], "index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter");
  EXPECT_EQ(lines[1].substr(0, 12), "1,0,65535,-2");
  EXPECT_EQ(lines[1].substr(lines[1].size() - 4), ",C,P");
  EXPECT_EQ(lines[2].substr(lines[2].size() - 4), ",D,P");
  EXPECT_EQ(lines[3], "3,40," + std::to_string(buf[3].RawReading()) + ",-2503,1,3,8,45,1,T,O");
  EXPECT_EQ(lines[4].substr(lines[4].size() - 3), ",,P");  // no marker: an empty field
}

TEST_F(ZkdTool, InfoSummarises) {
  ToolRun r = Call(zkd::Info, dir / "r.zkd");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Records: 3100\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Duration: 01:02\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Start time: 13:01:02\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Start date: 08/12/2026\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Sensitivity steps: 8 (999) 12 (2101)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Tags: 2\n  tag 1 at 00:00 (record 3)\n  tag 2 at 00:59 (record 3000)\n"), std::string::npos)
      << r.out;
}

// A notes file beside the recording goes into csv, edf and info; a damaged one is told
// and the command does its work without notes. The notes file is never written over.
TEST_F(ZkdTool, NotesBesideTheRecordingAreCarried) {
  test::WriteText(dir / "r.notes", "zodovaz notes 1\nsession\tcalm\ntag\t2\tsneezed\n");
  ToolRun csv = Call(zkd::Csv, dir / "r.zkd");
  ASSERT_EQ(csv.code, 0) << csv.err;
  auto lines = Lines(csv.out);
  ASSERT_EQ(lines.size(), 3102u);
  EXPECT_EQ(lines[0], "# session: calm");
  EXPECT_EQ(lines[1], "index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter,note");
  EXPECT_EQ(lines[4], "3,40," + std::to_string(buf[3].RawReading()) + ",-2503,1,3,8,45,1,T,O,");
  EXPECT_NE(lines[3001].find(",2,T,"), std::string::npos);
  EXPECT_EQ(lines[3001].substr(lines[3001].size() - 8), ",sneezed");

  ToolRun info = Call(zkd::Info, dir / "r.zkd");
  EXPECT_NE(info.out.find(
                "Session note: calm\nTags: 2\n  tag 1 at 00:00 (record 3)\n  tag 2 at 00:59 (record 3000): sneezed\n"),
            std::string::npos)
      << info.out;

  std::ostringstream o, e;
  EXPECT_EQ(zkd::Edf(dir / "r.zkd", dir / "r.notes", o, e), 2);
  ASSERT_EQ(zkd::Edf(dir / "r.zkd", dir / "r.edf", o, e), 0) << e.str();
  const std::string edf = test::ReadText(dir / "r.edf");
  EXPECT_NE(edf.find("Tag 2: sneezed"), std::string::npos);
  EXPECT_NE(edf.find("Session: calm"), std::string::npos);

  test::WriteText(dir / "r.notes", "not notes\n");
  ToolRun damaged = Call(zkd::Csv, dir / "r.zkd");
  EXPECT_EQ(damaged.code, 0);
  EXPECT_NE(damaged.err.find("r.notes is damaged (line 1"), std::string::npos) << damaged.err;
  EXPECT_EQ(Lines(damaged.out)[0], "index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter");
}

TEST_F(ZkdTool, VerifyAnswersAsLoadingWould) {
  EXPECT_EQ(Call(zkd::Verify, dir / "r.zkd").code, 0);

  ToolRun missing = Call(zkd::Verify, dir / "gone.zkd");
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, dir / "gone.zkd" + ": no such file\n");
  ToolRun folder = Call(zkd::Info, dir.str());
  EXPECT_EQ(folder.code, 1);
  EXPECT_EQ(folder.err, dir.str() + ": a folder, not a recording\n");

  auto bytes = test::ReadBytes(dir / "r.zkd");
  bytes[4 * 20 - 1] = 'Q';
  test::WriteBytes(dir / "bad.zkd", bytes);
  ToolRun bad = Call(zkd::Verify, dir / "bad.zkd");
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, dir / "bad.zkd" + ": " + BadFormatText + "\n");
  EXPECT_EQ(Call(zkd::Csv, dir / "bad.zkd").code, 1);

  test::WriteBytes(dir / "r.wav", {'j', 'u', 'n', 'k'});
  ToolRun wav = Call(zkd::Verify, dir / "r.zkd");
  EXPECT_EQ(wav.code, 1);
  EXPECT_EQ(wav.err.rfind("The wav file could not be loaded", 0), 0u) << wav.err;

  // A sound track whose header claims more sound than the file holds (a cut copy).
  PcmSamples pcm(8000 * 62, 100);  // as long as the records
  ASSERT_FALSE(SaveWavFile(dir / "r.wav", pcm, PcmFormat{8000, 1}));
  EXPECT_EQ(Call(zkd::Verify, dir / "r.zkd").code, 0);
  std::filesystem::resize_file(dir / "r.wav", std::filesystem::file_size(dir / "r.wav") - 6000);
  ToolRun cut = Call(zkd::Verify, dir / "r.zkd");
  EXPECT_EQ(cut.code, 1);
  EXPECT_NE(cut.err.find("the header claims 992000 bytes of sound, the file holds 986000 (cut short)"),
            std::string::npos)
      << cut.err;
}

// A sound and records that do not belong together — another recording's sound beside
// them, as an interrupted save of a pair could leave — fail. The sound may end up to a
// second early, or run on a few seconds (a recording stopped by the readings stopping).
TEST_F(ZkdTool, VerifyChecksThatTheSoundBelongsToTheRecords) {
  for (const auto& [seconds, code] :
       std::vector<std::pair<double, int>>{{62.9, 0}, {61.1, 0}, {66, 0}, {60.5, 1}, {68, 1}, {3, 1}}) {
    PcmSamples pcm(static_cast<std::size_t>(8000 * seconds), 100);
    ASSERT_FALSE(SaveWavFile(dir / "r.wav", pcm, PcmFormat{8000, 1}));
    ToolRun run = Call(zkd::Verify, dir / "r.zkd");
    EXPECT_EQ(run.code, code) << seconds << " s: " << run.err;
    if (code) {
      EXPECT_NE(run.err.find("do not belong together"), std::string::npos) << run.err;
    }
  }
}

TEST_F(ZkdTool, InfoSaysWhatIsWrongWithTheTimes) {
  buf[5].TimeMs = -65000;  // negative, and falling from record 4
  buf[5].Marker = 'T';
  buf[5].Tag = 7;
  buf[3100].TimeMs = -794000;
  ASSERT_FALSE(WriteRecordFile(dir / "t.zkd", buf, 3100, std::nullopt));
  ToolRun r = Call(zkd::Info, dir / "t.zkd");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find(":-"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Duration: not known: the last record has a negative time (-794000 ms)\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Warning: 2 record(s) have a negative time, the first is record 5\n"), std::string::npos);
  EXPECT_NE(r.out.find("Warning: the time goes back at 2 record(s), the first is record 5\n"), std::string::npos);
  EXPECT_NE(r.out.find("  tag 7 at a negative time (-65000 ms) (record 5)\n"), std::string::npos) << r.out;
}

// The output of "edf" is never the recording read (under any name) or its sound track,
// nor anything that is no regular file: refused as a usage error, nothing touched.
TEST_F(ZkdTool, EdfRefusesToWriteOverItsInputOrANonRegularFile) {
  test::WriteText(dir / "r.wav", "sound");
  std::filesystem::create_symlink(dir / "r.zkd", dir / "link.edf");
  ASSERT_EQ(::mkfifo((dir / "fifo.edf").c_str(), 0600), 0);
  const auto before = test::ReadBytes(dir / "r.zkd");
  for (const std::string& out : {dir / "r.zkd", dir / "link.edf", dir / "r.wav", dir / "fifo.edf"}) {
    std::ostringstream o, e;
    EXPECT_EQ(zkd::Edf(dir / "r.zkd", out, o, e), 2) << out;
    EXPECT_NE(e.str().find("will not write " + out), std::string::npos) << e.str();
  }
  EXPECT_EQ(test::ReadBytes(dir / "r.zkd"), before);
  EXPECT_EQ(test::ReadText(dir / "r.wav"), "sound");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.edf"));
  struct stat st {};
  ASSERT_EQ(::lstat((dir / "fifo.edf").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  std::ostringstream o, e;
  EXPECT_EQ(zkd::Edf(dir / "r.zkd", dir / "r.edf", o, e), 0) << e.str();
}

// A recording without its own start takes it from the file's time, which is when the
// recording ended: the start is that time less the recording's length.
TEST_F(ZkdTool, EdfStartFromTheFileTimeIsTheEndLessTheLength) {
  ASSERT_FALSE(WriteRecordFile(dir / "plain.zkd", buf, 3100, std::nullopt));  // 61.98 s
  struct tm end {};
  end.tm_year = 2024 - 1900;
  end.tm_mon = 4;
  end.tm_mday = 6;
  end.tm_hour = 10;
  end.tm_isdst = -1;
  const time_t t = mktime(&end);
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "plain.zkd").c_str(), times, 0), 0);
  std::ostringstream o, e;
  ASSERT_EQ(zkd::Edf(dir / "plain.zkd", dir / "plain.edf", o, e), 0) << e.str();
  const std::string header = test::ReadText(dir / "plain.edf").substr(168, 16);
  EXPECT_EQ(header, "06.05.2409.58.58");  // 10:00:00 less 62 s
}

}  // namespace
}  // namespace zk
