// A recording survives the end of the program that made it: the spool the recorder keeps
// on real files, what the next start offers back, and the normal ends that remove it. Each
// "start" is a fresh session on virtual time sharing one program folder; a start destroyed
// while its recording is unsaved is a program that ended abnormally.
#include "recording/RecordingRecovery.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include "core/UnsavedRecording.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>

#include "SessionRig.h"
#include "TestFiles.h"
#include "ZkdTool.h"
#include "base/RecordingCodes.h"
#include "sound/SoundFile.h"
#include "spool/SpoolFormat.h"
#include "zkd/RecordCodec.h"
#include "zkd/RecordFile.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

struct Start {
  SessionRig rig;
  RecordingRecovery recovery{rig.ctx, rig.recorder, rig.transport, rig.memory};
  // `soundBlock`: the sound is handed over in blocks of that many frames.
  Start(const TempFolder& dir, int16_t mode, bool audio = true, int64_t soundBlock = 0) : rig(false, soundBlock) {
    rig.settings.SavePath = dir.str() + "/";
    rig.settings.RecordingMode = mode;
    rig.settings.AudioEnable = audio;
    rig.memory.Spool().SetFolder(dir / RecoveryFolderName);
    rig.Sensor(30, [](int i) { return 20000 + i; });
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const auto& m : rig.prompts.shown) titles.push_back(m.title);
    return titles;
  }
};

struct Recovery : ::testing::Test {
  TempFolder dir;
  std::string recovery = dir / RecoveryFolderName;
  std::vector<std::string> Spools() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(recovery, ec)) names.push_back(e.path().filename().string());
    return names;
  }
  // The records a start holds, as bytes.
  static std::vector<uint8_t> Bytes(const SessionState& st, int32_t count) {
    std::vector<uint8_t> out(static_cast<std::size_t>(count) * RecordSize);
    for (int32_t k = 1; k <= count; ++k)
      EncodeRecord(st.RecordBuffer[static_cast<std::size_t>(k)], out.data() + (k - 1) * RecordSize);
    return out;
  }
  // A start that records for `seconds` after the pre-roll and then ends abnormally; answers
  // the records it had taken, as bytes.
  std::vector<uint8_t> Abandoned(int16_t mode, double seconds, bool audio = true) {
    Start first(dir, mode, audio);
    first.rig.recorder.cmdRecord_Click();
    first.rig.Run(seconds);
    return Bytes(first.rig.state, first.rig.state.RecordCount);
  }
  // Flips a byte of the third second of the spool `name`'s data; answers the damaged bytes.
  std::vector<uint8_t> DamageThirdSecond(const std::string& name) {
    const std::string data = recovery + "/" + name + "/data";
    std::vector<uint8_t> bytes = ReadBytes(data);
    // The first chunk of the third batch starts after two marks.
    std::size_t at = 0;
    for (int marks = 0; marks < 2; at += ChunkHeaderSize + ChunkAt(bytes, at)->size)
      if (ChunkAt(bytes, at)->kind == ChunkKind::Mark) ++marks;
    bytes[at + ChunkHeaderSize + 3] ^= 0x01;
    WriteBytes(data, bytes);
    return bytes;
  }
  static int32_t SoundLength(Start& s) {
    int32_t length = -1;
    s.rig.ctx.audio.Length(length);
    return length;
  }
};

TEST_F(Recovery, ACrashWhileRecordingIsOfferedBackAndAutoSaveSavesItAtOnce) {
  auto first = std::make_unique<Start>(dir, RecAutoSave);
  first->rig.recorder.cmdRecord_Click();
  first->rig.Run(3.5);
  ASSERT_EQ(first->rig.state.ElapsedSecs, 3);
  const std::vector<uint8_t> recorded = Bytes(first->rig.state, first->rig.state.RecordCount);
  ASSERT_EQ(Spools().size(), 1u);

  {
    // Another instance started meanwhile neither offers nor touches the recording's spool.
    Start second(dir, RecAutoSave);
    second.recovery.Offer_Recovery();
    EXPECT_TRUE(second.rig.prompts.shown.empty());
    EXPECT_EQ(Spools().size(), 1u);
  }
  first.reset();  // the program ends without a word
  ASSERT_EQ(Spools().size(), 1u);

  Start next(dir, RecAutoSave);
  next.recovery.Offer_Recovery();
  ASSERT_EQ(next.rig.prompts.shown.size(), 1u);
  const auto& asked = next.rig.prompts.shown[0];
  EXPECT_EQ(asked.title, "Recover Recording");
  EXPECT_EQ(asked.text,
            "A recording of 00:03 started on 08/12/2026 at 10:00:01 was not saved when the program last ended. "
            "Recover it?");
  EXPECT_EQ(asked.buttons, MsgButtons::YesNo);

  // Three whole seconds: the records byte for byte as they were taken, the sound as long.
  const SessionState& st = next.rig.state;
  ASSERT_NEAR(st.RecordCount, 150, 2);
  EXPECT_EQ(Bytes(st, st.RecordCount), std::vector<uint8_t>(recorded.begin(), recorded.begin() + st.RecordCount * 20));
  EXPECT_EQ(SoundLength(next), 3 * SoundBytesPerSecond);
  EXPECT_EQ(st.RecordStartSeconds, 36001);
  EXPECT_EQ(st.RecordDate, DateSerial(2026, 12, 8));

  // Saved at once under the next automatic name, as a stop would have done.
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_TRUE(st.FileLoaded);
  EXPECT_EQ(next.rig.settings.SuffixNum, 2);
  EXPECT_EQ(next.rig.controls.Caption("lblLoadedFile"), "Run_001");
  EXPECT_EQ(next.rig.controls.Caption("lblTotalTime"), "00:03");
  EXPECT_EQ(st.RangeEndIndex, st.RecordCount);
  EXPECT_EQ(next.rig.bar.calls.back(), "box 0..1000 7");
  RecordFileData saved;
  ASSERT_EQ(ReadRecordFile(dir / "Run_001.zkd", saved).status, ReadStatus::Ok);
  EXPECT_EQ(saved.RecordCount, st.RecordCount);
  EXPECT_EQ(saved.records[1].Marker, 'C');
  std::string error;
  auto wav = SoundFileSource::Open(dir / "Run_001.wav", error);
  ASSERT_TRUE(wav) << error;
  EXPECT_EQ(wav->Frames(), 3 * 22050);
  EXPECT_TRUE(Spools().empty()) << "saved: the spool has gone";
}

// The sound's position runs ahead of the sound handed over: a second is marked complete in
// the spool only once its sound is there, so that a crash brings back every whole second.
TEST_F(Recovery, ACrashWithSoundHandedOverInBlocksBringsBackEveryWholeSecond) {
  {
    Start first(dir, RecAutoName, true, SoundSampleRate * 150 / 1000);
    first.rig.recorder.cmdRecord_Click();
    first.rig.Run(3.5);
  }
  Start next(dir, RecAutoName);
  next.recovery.Offer_Recovery();
  ASSERT_EQ(next.rig.prompts.shown.size(), 1u);
  EXPECT_EQ(next.rig.controls.Caption("lblTotalTime"), "00:03");
  EXPECT_EQ(SoundLength(next), 3 * SoundBytesPerSecond);
}

TEST_F(Recovery, AStoppedUnsavedRecordingComesBackWholeAndKeepsItsSpoolUntilSaved) {
  auto first = std::make_unique<Start>(dir, RecAutoName);
  first->rig.recorder.cmdRecord_Click();
  first->rig.Run(2.3);
  first->rig.Stop();
  const SessionState& was = first->rig.state;
  ASSERT_TRUE(was.RecordingUnsaved);
  const std::vector<uint8_t> recorded = Bytes(was, was.RecordCount);
  const int32_t count = was.RecordCount, total = was.TotalTimeMs, sound = SoundLength(*first);
  first.reset();

  Start next(dir, RecAutoName);
  next.recovery.Offer_Recovery();
  const SessionState& st = next.rig.state;
  ASSERT_EQ(st.RecordCount, count);
  EXPECT_EQ(Bytes(st, count), recorded);
  EXPECT_EQ(st.TotalTimeMs, total);
  EXPECT_EQ(SoundLength(next), sound);
  EXPECT_TRUE(st.RecordingUnsaved);
  EXPECT_TRUE(st.FileLoaded);
  EXPECT_EQ(st.RecordName, "Run_001");
  EXPECT_EQ(next.rig.controls.Get("lblLoadedFile", -1).toolTip, next.rig.settings.SavePath + "Run_001");
  EXPECT_EQ(next.rig.controls.Caption("lblTotalTime"), "00:03");
  EXPECT_EQ(st.SkipSeconds, 10);

  // Still unsaved, so still spooled — and held: a third instance does not offer it.
  ASSERT_EQ(Spools().size(), 1u);
  {
    Start third(dir, RecAutoName);
    third.recovery.Offer_Recovery();
    EXPECT_TRUE(third.rig.prompts.shown.empty());
  }
  next.rig.saver.cmdSave_Click();
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_TRUE(fs::exists(dir / "Run_001.wav"));
  EXPECT_TRUE(Spools().empty());
}

TEST_F(Recovery, NoDeletesTheSpoolAndLeavesNothingInMemory) {
  Abandoned(RecAutoName, 2.5);
  Start next(dir, RecAutoName);
  next.rig.prompts.answers.push_back(MsgResult::No);
  next.recovery.Offer_Recovery();
  EXPECT_EQ(next.Titles(), std::vector<std::string>{"Recover Recording"});
  EXPECT_FALSE(next.rig.state.FileLoaded);
  EXPECT_EQ(next.rig.state.RecordCount, 0);
  EXPECT_TRUE(Spools().empty());
}

TEST_F(Recovery, EveryNormalEndRemovesTheSpool) {
  Start s(dir, RecAutoName);
  SpoolDriver& spool = s.rig.memory.Spool();
  // A stop with "Auto Save".
  s.rig.settings.RecordingMode = RecAutoSave;
  s.rig.recorder.cmdRecord_Click();
  s.rig.Run(1.2);
  EXPECT_EQ(Spools().size(), 1u);
  s.rig.Stop();
  EXPECT_FALSE(s.rig.state.RecordingUnsaved);
  EXPECT_TRUE(Spools().empty());

  // Flushed by a new recording after Yes to the guard; that one's spool replaces it.
  s.rig.settings.RecordingMode = RecAutoName;
  s.rig.recorder.cmdRecord_Click();
  s.rig.Run(1.2);
  s.rig.Stop();
  const std::string before = Spools().at(0);
  s.rig.recorder.cmdRecord_Click();
  ASSERT_EQ(Spools().size(), 1u);
  EXPECT_NE(Spools()[0], before);
  s.rig.Stop();

  // Dropped (the record panel hidden).
  s.rig.memory.Flush_RecBuffer(*Unsaved_Recording_Guard(s.rig.ctx));
  EXPECT_TRUE(Spools().empty());
  EXPECT_EQ(spool.Current(), nullptr);
}

// A spool that cannot be made, or that fails half way (a full disk, here a file size
// limit), costs the recording nothing; the user is told once, naming the folder.
TEST_F(Recovery, ALostSpoolIsToldOnceAndTheRecordingGoesOn) {
  {
    WriteText(recovery, "a file where the folder should be");
    Start s(dir, RecManual);
    s.rig.recorder.cmdRecord_Click();
    s.rig.Run(3.5);
    ASSERT_EQ(s.rig.prompts.shown.size(), 1u);
    EXPECT_EQ(s.rig.prompts.shown[0].icon, MsgIcon::Warning);
    EXPECT_NE(s.rig.prompts.shown[0].text.find(recovery), std::string::npos) << s.rig.prompts.shown[0].text;
    s.rig.Stop();
    EXPECT_GE(s.rig.state.RecordCount, 3 * 50);
    EXPECT_TRUE(s.rig.state.RecordingUnsaved);
    fs::remove(recovery);
  }
  Start s(dir, RecManual);
  s.rig.recorder.cmdRecord_Click();
  s.rig.Run(1.5);
  EXPECT_TRUE(s.rig.prompts.shown.empty()) << "a spool that works says nothing";
  SpoolWriter& spool = *s.rig.memory.Spool().Current();
  spool.WaitDurable();
  {
    FileSizeLimit limit(60000);  // about a second of sound more
    // Each second's write is done before the next, all of them under the limit.
    for (int second = 0; second < 4; ++second) {
      s.rig.Run(1);
      spool.WaitDurable();
    }
  }
  s.rig.Run(1);
  ASSERT_EQ(s.rig.prompts.shown.size(), 1u);
  // The write that passes the limit comes back short: a full disk.
  EXPECT_NE(s.rig.prompts.shown[0].text.find(ErrnoError(ENOSPC).description), std::string::npos)
      << s.rig.prompts.shown[0].text;
  s.rig.Run(2);
  s.rig.Stop();
  EXPECT_EQ(s.rig.prompts.shown.size(), 1u);
  EXPECT_GE(s.rig.state.RecordCount, 7 * 50);
}

TEST_F(Recovery, NothingRecordedInTheFirstSecondIsNotOffered) {
  Abandoned(RecAutoSave, 0.5);
  Start next(dir, RecAutoSave);
  next.recovery.Offer_Recovery();
  EXPECT_TRUE(next.rig.prompts.shown.empty());
  EXPECT_TRUE(Spools().empty());
}

TEST_F(Recovery, ADamagedSpoolIsReportedAndKeptButNeverOfferedAgain) {
  Abandoned(RecAutoSave, 2.5);
  ASSERT_EQ(Spools().size(), 1u);
  const std::string name = Spools()[0];
  fs::remove(recovery + "/" + name + "/data");

  Start next(dir, RecAutoSave);
  next.recovery.Offer_Recovery();
  ASSERT_EQ(next.rig.prompts.shown.size(), 1u);
  const std::string kept = recovery + "/damaged-" + name.substr(std::strlen("recording-"));
  EXPECT_EQ(next.rig.prompts.shown[0].text,
            "A recording that was not saved when the program last ended cannot be recovered: its readings and "
            "sound (data) are missing. Its files are kept in " +
                kept + ".");
  EXPECT_EQ(next.rig.prompts.shown[0].title, "Recover Recording");
  EXPECT_FALSE(next.rig.state.FileLoaded);
  EXPECT_TRUE(fs::exists(kept + "/info"));

  Start again(dir, RecAutoSave);
  again.recovery.Offer_Recovery();
  EXPECT_TRUE(again.rig.prompts.shown.empty());
}

// The records in the chunks of a spool's data `bytes` before offset `upTo`.
std::size_t RecordsBefore(const std::vector<uint8_t>& bytes, std::size_t upTo) {
  std::size_t before = 0;
  for (std::size_t at = 0; at < upTo; at += ChunkHeaderSize + ChunkAt(bytes, at)->size)
    if (ChunkAt(bytes, at)->kind == ChunkKind::Records) before += ChunkAt(bytes, at)->size / RecordSize;
  return before;
}

// A damaged spool is never deleted: what is whole before and after the damage is offered,
// the question says how much is lost, and the spool is set aside whatever the answer. The
// recording brought back keeps its length and its records their times: the pair saved
// holds a gap in the records and silence in the sound, and passes the check of the pair.
TEST_F(Recovery, ADamagedSpoolOffersWhatIsWholeAndIsKept) {
  const std::vector<uint8_t> recorded = Abandoned(RecAutoName, 4.5);
  ASSERT_EQ(Spools().size(), 1u);
  const std::string name = Spools()[0];
  const std::string kept = recovery + "/damaged-" + name.substr(std::strlen("recording-"));
  const std::string info = ReadText(recovery + "/" + name + "/info");
  const std::vector<uint8_t> original = ReadBytes(recovery + "/" + name + "/data");
  std::vector<uint8_t> bytes = DamageThirdSecond(name);
  const std::string question =
      "A recording of 00:04 started on 08/12/2026 at 10:00:01 was not saved when the program last ended. 00:01 of "
      "it cannot be recovered: its readings and sound (data) are damaged in places. The recording keeps its length, "
      "without readings and silent where they are lost. Its files are kept in " +
      kept + ". Recover 00:03 of 00:04?";

  {
    Start next(dir, RecAutoName);
    next.rig.prompts.answers.push_back(MsgResult::No);
    next.recovery.Offer_Recovery();
    ASSERT_EQ(next.rig.prompts.shown.size(), 1u);
    EXPECT_EQ(next.rig.prompts.shown[0].text, question);
    EXPECT_EQ(ReadBytes(kept + "/data"), bytes) << "No keeps a damaged spool";
  }
  fs::rename(kept, recovery + "/" + name);
  {
    Start next(dir, RecAutoName);
    next.recovery.Offer_Recovery();  // Yes
    const SessionState& st = next.rig.state;
    // The readings of the third second are gone, those after it are back as they were.
    std::size_t at = 0;
    for (int marks = 0; marks < 2; at += ChunkHeaderSize + ChunkAt(bytes, at)->size)
      if (ChunkAt(bytes, at)->kind == ChunkKind::Mark) ++marks;
    const std::size_t before = RecordsBefore(original, at);
    const std::size_t lost = ChunkAt(original, at)->size / RecordSize;
    ASSERT_GT(static_cast<std::size_t>(st.RecordCount), before);
    const auto record = [&](std::size_t k) { return recorded.begin() + static_cast<std::ptrdiff_t>(k * RecordSize); };
    std::vector<uint8_t> want(record(0), record(before));
    want.insert(want.end(), record(before + lost), record(lost + static_cast<std::size_t>(st.RecordCount)));
    EXPECT_EQ(Bytes(st, st.RecordCount), want);
    EXPECT_EQ(SoundLength(next), 4 * SoundBytesPerSecond);
    EXPECT_EQ(next.rig.controls.Caption("lblTotalTime"), "00:04");
    EXPECT_TRUE(st.RecordingUnsaved);
    next.rig.saver.cmdSave_Click();
    std::ostringstream out, err;
    EXPECT_EQ(zkd::Verify(dir / "Run_001.zkd", out, err), 0) << err.str();
    RecordFileData saved;
    ASSERT_EQ(ReadRecordFile(dir / "Run_001.zkd", saved).status, ReadStatus::Ok);
    EXPECT_EQ(saved.RecordCount, st.RecordCount);
    EXPECT_GE(saved.records[before + 1].TimeMs - saved.records[before].TimeMs, 900) << "the gap in the times";
    EXPECT_EQ(ReadBytes(kept + "/data"), bytes) << "the saved part does not take the rest with it";
  }

  // Damaged in its first chunk: the readings of the first second are lost, the rest is
  // offered.
  fs::remove_all(kept);
  fs::create_directories(recovery + "/" + name);
  WriteText(recovery + "/" + name + "/info", info);
  bytes = original;
  bytes[ChunkHeaderSize + 3] ^= 0x01;
  WriteBytes(recovery + "/" + name + "/data", bytes);
  Start next(dir, RecAutoName);
  next.rig.prompts.answers.push_back(MsgResult::No);
  next.recovery.Offer_Recovery();
  ASSERT_EQ(next.rig.prompts.shown.size(), 1u);
  EXPECT_EQ(next.rig.prompts.shown[0].text, question);
  EXPECT_EQ(ReadBytes(kept + "/data"), bytes);
}

// What is brought back of a damaged spool has a spool of its own: a second crash before it
// is saved offers it again, as it was brought back; saving it removes that spool and
// leaves the damaged one set aside.
TEST_F(Recovery, APartRecoveredIsOfferedAgainAfterASecondCrash) {
  Abandoned(RecAutoName, 4.5);
  const std::string name = Spools().at(0);
  const std::string kept = recovery + "/damaged-" + name.substr(std::strlen("recording-"));
  DamageThirdSecond(name);
  std::vector<uint8_t> recovered;
  {
    Start next(dir, RecAutoName);
    next.recovery.Offer_Recovery();  // Yes to 00:03 of 00:04
    ASSERT_NEAR(next.rig.state.RecordCount, 150, 2);
    recovered = Bytes(next.rig.state, next.rig.state.RecordCount);
  }  // the second crash
  ASSERT_EQ(Spools().size(), 2u);

  Start again(dir, RecAutoName);
  again.recovery.Offer_Recovery();
  ASSERT_EQ(again.Titles(), std::vector<std::string>{"Recover Recording"});
  EXPECT_EQ(again.rig.prompts.shown[0].text,
            "A recording of 00:04 started on 08/12/2026 at 10:00:01 was not saved when the program last ended. "
            "Recover it?");
  const SessionState& st = again.rig.state;
  EXPECT_EQ(Bytes(st, st.RecordCount), recovered);
  EXPECT_EQ(SoundLength(again), 4 * SoundBytesPerSecond);
  again.rig.saver.cmdSave_Click();
  EXPECT_TRUE(fs::exists(dir / "Run_001.zkd"));
  EXPECT_EQ(Spools(), std::vector<std::string>{kept.substr(recovery.size() + 1)});
}

// The notes written on a recording not yet saved go into its spool and come back with it
// after a crash; an automatic save then puts them beside the pair.
TEST_F(Recovery, NotesWrittenOnAnUnsavedRecordingSurviveACrash) {
  {
    Start first(dir, RecAutoSave);
    first.rig.settings.RecordingMode = RecManual;
    first.rig.recorder.cmdRecord_Click();
    first.rig.Run(2.5);
    first.rig.Stop();
    ASSERT_TRUE(first.rig.state.RecordingUnsaved);
    RecordingNotes& notes = first.rig.memory.Notes();
    notes.Set_Session("calm\tstart");
    notes.Set_Tag(2, "a sigh");
    EXPECT_TRUE(notes.Write());
    const std::string spool = first.rig.memory.Spool().Path();
    EXPECT_EQ(LoadNotesFile(spool + "/notes").notes, notes.Notes());
  }  // the crash
  Start next(dir, RecAutoSave);
  next.recovery.Offer_Recovery();
  EXPECT_EQ(next.Titles(), std::vector<std::string>{"Recover Recording"});
  EXPECT_FALSE(next.rig.state.RecordingUnsaved);
  const TagNotes saved = LoadNotes(dir / "Run_001").notes;
  EXPECT_EQ(saved.session, "calm\tstart");
  EXPECT_EQ(saved.Of(2), "a sigh");
  EXPECT_EQ(next.rig.memory.Notes().Notes(), saved);
  EXPECT_TRUE(Spools().empty()) << "the notes file went with the spool";
}

// A part brought back of a damaged spool has a spool of its own, which takes the notes too;
// a damaged notes file costs the notes, never the recording.
TEST_F(Recovery, NotesFollowAPartRecoveredAndADamagedNotesFileLosesOnlyThem) {
  Abandoned(RecAutoName, 4.5);
  const std::string name = Spools().at(0);
  TagNotes notes;
  notes.session = "restless";
  ASSERT_FALSE(SaveNotesFile(recovery + "/" + name + "/notes", notes));
  DamageThirdSecond(name);
  {
    Start next(dir, RecAutoName);
    next.recovery.Offer_Recovery();  // Yes
    EXPECT_EQ(next.rig.memory.Notes().Notes(), notes);
  }  // a second crash
  {
    Start again(dir, RecAutoName);
    again.recovery.Offer_Recovery();
    ASSERT_EQ(again.Titles(), std::vector<std::string>{"Recover Recording"});
    EXPECT_EQ(again.rig.memory.Notes().Notes(), notes);
    // Damaged while the recording is unsaved.
    WriteText(again.rig.memory.Spool().Path() + "/notes", "zodovaz notes 1\nsession\tbad \\q escape\n");
  }  // a third crash
  Start last(dir, RecAutoName);
  last.recovery.Offer_Recovery();
  ASSERT_EQ(last.rig.prompts.shown.size(), 2u);
  EXPECT_EQ(last.rig.prompts.shown[0].title, "Recover Recording");
  EXPECT_NE(last.rig.prompts.shown[1].text.find("is damaged"), std::string::npos) << last.rig.prompts.shown[1].text;
  EXPECT_NEAR(last.rig.state.RecordCount, 150, 2);
  EXPECT_TRUE(last.rig.memory.Notes().Notes().Empty());
  EXPECT_TRUE(last.rig.state.RecordingUnsaved);
}

// A link in the recovery folder named like a spool leads nowhere the recovery acts on.
TEST_F(Recovery, ALinkInTheRecoveryFolderIsNeverFollowed) {
  const std::string elsewhere = dir / "elsewhere";
  fs::create_directories(elsewhere);
  fs::create_directories(recovery);
  for (const char* name : {"info", "data", "lock"}) WriteText(elsewhere + "/" + name, "precious");
  fs::create_directory_symlink(elsewhere, recovery + "/recording-20261208-140211-1");
  Start next(dir, RecAutoName);
  next.recovery.Offer_Recovery();
  EXPECT_TRUE(next.rig.prompts.shown.empty());
  for (const char* name : {"info", "data", "lock"}) EXPECT_EQ(ReadText(elsewhere + "/" + name), "precious");
  EXPECT_TRUE(fs::is_symlink(recovery + "/recording-20261208-140211-1"));
}

TEST_F(Recovery, ASpoolWithoutItsLockIsOffered) {
  Abandoned(RecAutoName, 2.5);
  fs::remove(recovery + "/" + Spools().at(0) + "/lock");
  Start next(dir, RecAutoName);
  next.recovery.Offer_Recovery();
  EXPECT_EQ(next.Titles(), std::vector<std::string>{"Recover Recording"});
  EXPECT_NEAR(next.rig.state.RecordCount, 100, 2);
}

// The start removes the temporary files a crash in the middle of a save left behind —
// only its own kind, and only ones nothing has written to for a while.
TEST_F(Recovery, TheStartRemovesStaleTemporaryFilesOfSaves) {
  fs::create_directories(recovery);
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const auto make = [&](const std::string& path, bool stale) {
    WriteText(path, "x");
    if (stale) fs::last_write_time(path, old);
  };
  make(dir / ".Run_001.wav.a1B2c3", true);
  make(dir / ".Run_001.zkd.Zz9Yy8", true);
  make(recovery + "/.Run_002.ZKD.q0W9e8", true);
  make(dir / ".Run_003.wav.Qq1Ww2", false);  // a save in progress, perhaps in another copy
  make(dir / ".bashrc.backup", true);        // not ours
  make(dir / ".notes.txt.a1B2c3", true);     // not a recording's
  make(dir / "Run_004.wav", true);
  make(dir / "elsewhere.wav", true);
  fs::create_symlink(dir / "elsewhere.wav", dir / ".Run_005.wav.abcdef");

  Start next(dir, RecAutoName);
  next.recovery.Offer_Recovery();
  EXPECT_FALSE(fs::exists(dir / ".Run_001.wav.a1B2c3"));
  EXPECT_FALSE(fs::exists(dir / ".Run_001.zkd.Zz9Yy8"));
  EXPECT_FALSE(fs::exists(recovery + "/.Run_002.ZKD.q0W9e8"));
  for (const char* kept :
       {".Run_003.wav.Qq1Ww2", ".bashrc.backup", ".notes.txt.a1B2c3", "Run_004.wav", "elsewhere.wav"})
    EXPECT_TRUE(fs::exists(dir / kept)) << kept;
  EXPECT_TRUE(fs::is_symlink(dir / ".Run_005.wav.abcdef"));
  EXPECT_TRUE(next.rig.prompts.shown.empty());
}

TEST_F(Recovery, ARecordingWithoutSoundComesBackWithoutSound) {
  const std::vector<uint8_t> all = Abandoned(RecAutoName, 2.5, false);
  const std::vector<uint8_t> recorded(all.begin(), all.begin() + 100 * RecordSize);

  Start next(dir, RecAutoName, true);
  next.recovery.Offer_Recovery();
  ASSERT_EQ(next.rig.prompts.shown.size(), 1u);  // the question says the audio switches off
  EXPECT_NE(next.rig.prompts.shown[0].text.find(
                " It was recorded without sound: recovering it switches the audio off. Recover it?"),
            std::string::npos)
      << next.rig.prompts.shown[0].text;
  const SessionState& st = next.rig.state;
  ASSERT_EQ(st.RecordCount, 100);
  EXPECT_EQ(Bytes(st, 100), recorded);
  EXPECT_FALSE(next.rig.settings.AudioEnable);
  EXPECT_TRUE(next.rig.controls.Get("mnuRecAudioOff", -1).checked);
  EXPECT_EQ(st.AudioKind, AudioCompressed);
  EXPECT_EQ(st.PlayUnitsPerSecond, 1000);
  EXPECT_EQ(next.rig.controls.Caption("lblTotalTime"), "00:02");
}

}  // namespace
}  // namespace zk::test
