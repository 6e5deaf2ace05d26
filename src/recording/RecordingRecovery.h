#pragma once
// At start-up: the recording of a run that did not end normally is offered back. Each spool
// in the recovery folder that no running instance holds is read; one holding at least a
// whole second is offered with a Yes/No question titled "Recover Recording". Yes brings it
// back into memory exactly as a stop leaves a recording (and "Auto Save" saves it at once),
// No deletes the spool. A spool that is damaged, or too long to be held, is never deleted:
// it is set aside and kept for the user, what is whole before and after the damage is
// offered with the question saying what could not be read, and one with nothing whole in
// it is reported. One holding less than a second is deleted without a word.
//
// The start also removes the temporary files that a crash in the middle of a save left in
// the save folder and in the recovery folder.
#include <string>

#include "core/Context.h"
#include "recording/Recorder.h"
#include "recording/RecordingMemory.h"
#include "recording/Transport.h"
#include "spool/SpoolReader.h"

namespace zk {

inline constexpr const char* RecoverTitle = "Recover Recording";

// "A recording of 12:34 started on 08/12/2026 at 14:02:11 was not saved when the program
// last ended. Recover it?"
// When only a first part can be brought back, the question says why not the rest
// (`partial`, the end of a sentence) and where the spool is kept; when seconds in the
// middle were lost to damage, it says how many ("Recover 00:12 of 00:14?"). A recording made with
// the audio switched the other way than it is now says that recovering it switches the
// audio too (`audioNow`: AudioEnable as it stands).
std::string RecoverQuestion(const RecoveredRecording& r, bool audioNow, const std::string& partial = "",
                            const std::string& keptIn = "");
// What is said of a spool that cannot be brought back.
std::string NotRecoverableText(const std::string& problem, const std::string& keptIn);

class RecordingRecovery {
 public:
  RecordingRecovery(Context& ctx, Recorder& recorder, Transport& transport, RecordingMemory& memory)
      : ctx_(ctx), recorder_(recorder), transport_(transport), memory_(memory) {}

  // Offers the spools left behind, oldest first. After one is brought back and left
  // unsaved the rest wait for the next start: bringing back another would replace it.
  void Offer_Recovery();

 private:
  void Remove_Stale_Temp_Files();
  // The sound comes from the data file of the spool in `spoolPath`.
  void Bring_Back(RecoveredRecording& r, const std::string& spoolPath);

  Context& ctx_;
  Recorder& recorder_;
  Transport& transport_;
  RecordingMemory& memory_;
};

}  // namespace zk
