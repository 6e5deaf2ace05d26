// The end of a recording: no record at or past the last whole second, and a spool that
// holds the whole recording once it has stopped, with sound or without.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "SessionRig.h"
#include "TestFiles.h"
#include "spool/SpoolFormat.h"
#include "spool/SpoolReader.h"
#include "spool/SpoolWriter.h"

namespace zk::test {
namespace {

// Messages 20 ms apart, shifted by 0..19 ms against the sound: for some shifts the
// records lie on the whole 20 ms, so that one of them falls exactly on the last second.
// That one belongs to the next second and is not kept.
TEST(RecordingStop, ARecordOnTheLastWholeSecondIsNotKept) {
  int onTheSecond = 0;
  for (int shift = 0; shift < 20; ++shift) {
    SessionRig rig;
    TempFolder dir;
    rig.settings.SavePath = dir.str() + "/";
    for (int i = 0; i < 400; ++i) {
      char msg[16];
      std::snprintf(msg, sizeof msg, "P%04X\r", 20000u + static_cast<unsigned>(i));
      rig.port.Arrive(msg, i * 0.02 + shift * 0.001);
    }
    rig.recorder.cmdRecord_Click();
    rig.Run(2.3);
    rig.Stop();
    const SessionState& st = rig.state;
    ASSERT_GT(st.RecordCount, 100) << shift;
    EXPECT_LT(st.TotalTimeMs, 3000) << shift;
    EXPECT_GE(st.TotalTimeMs, 3000 - 20) << shift;  // and the one before it is
    if (st.RecordBuffer[1].TimeMs % 20 == 0) ++onTheSecond;
  }
  EXPECT_GT(onTheSecond, 0);  // the case in question came up
}

// Stopped and not yet saved, the recording is in its spool up to its last record, its
// length in whole seconds marked: a crash now loses nothing.
TEST(RecordingStop, TheSpoolOfAStoppedRecordingHoldsAllOfIt) {
  for (bool sound : {false, true}) {
    TempFolder dir;
    SessionRig rig;
    rig.settings.SavePath = dir.str() + "/";
    rig.settings.AudioEnable = sound;
    rig.memory.Spool().SetFolder(dir / RecoveryFolderName);
    rig.Sensor(8, [](int i) { return 20000 + i; });
    rig.recorder.cmdRecord_Click();
    rig.Run(2.3);
    rig.Stop();
    const SessionState& st = rig.state;
    ASSERT_TRUE(st.RecordingUnsaved) << sound;
    ASSERT_NE(rig.memory.Spool().Current(), nullptr) << sound;
    rig.memory.Spool().Current()->WaitDurable();

    RecoveredRecording r;
    ASSERT_EQ(ReadSpool(rig.memory.Spool().Current()->Path(), r).content, SpoolContent::Recording) << sound;
    EXPECT_EQ(r.RecordCount, st.RecordCount) << sound;
    EXPECT_EQ(r.Seconds, 3) << sound;
    EXPECT_EQ(r.TotalTimeMs, st.TotalTimeMs) << sound;
    EXPECT_EQ(r.records[static_cast<std::size_t>(r.RecordCount)].RawReading(),
              st.RecordBuffer[static_cast<std::size_t>(st.RecordCount)].RawReading())
        << sound;
  }
}

}  // namespace
}  // namespace zk::test
