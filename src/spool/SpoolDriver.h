#pragma once
// The spool of the recording in memory. It is begun with a recording, fed with every record
// and the sound recorded meanwhile, finished at the stop, and removed when the recording
// in memory ends normally: saved, flushed, dropped, or let go when the program is closed.
// Any other end — a crash, a killed process, a termination signal — leaves it on disk for
// the next start to offer back. A recording brought back that way keeps its spool until it
// ends normally in turn.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Context.h"
#include "spool/SpoolFolder.h"
#include "spool/SpoolReader.h"
#include "spool/SpoolSound.h"
#include "spool/SpoolWriter.h"

namespace zk {

class SpoolDriver {
 public:
  explicit SpoolDriver(Context& ctx) : ctx_(ctx) {}

  // The folder spools go to (the program folder's "recovery"); empty spools nothing.
  void SetFolder(std::string recoveryFolder) { folder_ = std::move(recoveryFolder); }
  const std::string& Folder() const { return folder_; }

  // The pre-roll is over and the start values are set: the next record is the first. The
  // spooled sound starts where the pre-roll ends, one second into the recorded sound.
  void Begin();
  // The record just stored. A record of a new second first takes the sound recorded so
  // far, which covers the seconds before it.
  void Record(const SampleRecord& record);
  // The recording has stopped after `seconds` whole seconds; the sound device still holds
  // the pre-roll.
  void Finish(int32_t seconds);
  // A recovered recording's spool, now the spool of the recording in memory.
  void Adopt(std::unique_ptr<SpoolFolder> folder);
  // A recording brought back from a spool that could not serve as its own (only a first
  // part of it came back): written to a new spool, finished, which it keeps until it ends
  // normally, so that a crash before then offers it again. Its sound comes from `sound`.
  void Respool(const RecoveredRecording& r, SpoolSound& sound);
  // The recording in memory ended normally.
  void Remove();
  // The program ends now without a normal end of the recording in memory: everything
  // appended reaches the disk and the spool stays for the next start.
  void Keep();

  // Tells the user, once per recording, that the recording in memory has lost its
  // protection: its spool could not be made, or a write to it failed (a full disk). The
  // recording itself goes on. Called from the clock's tick, never from the receive path,
  // so that the message box's wait cannot fall inside the taking of a record.
  void Warn_Unprotected();

  // The folder of the recording in memory's spool; "" when it has none.
  std::string Path() const;

  // The spool being written (tests and benchmarks).
  SpoolWriter* Current() { return spool_.get(); }

 private:
  void Take_Sound();

  Context& ctx_;
  std::string folder_;
  std::unique_ptr<SpoolWriter> spool_;
  std::unique_ptr<SpoolFolder> adopted_;
  bool audio_ = false;
  int32_t soundFrom_ = 0;  // sound device position of the next byte to spool
  int32_t second_ = 0;     // whole second of the last record spooled
  std::vector<int16_t> sound_;
  FileError beginError_;  // why the spool of the recording could not be made
  bool warned_ = false;
};

}  // namespace zk
