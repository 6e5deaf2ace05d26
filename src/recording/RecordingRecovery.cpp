#include "recording/RecordingRecovery.h"

#include "core/UnsavedRecording.h"

#include <cstdio>

#include "base/Numbers.h"
#include "base/PairJournal.h"
#include "base/StaleTempFiles.h"
#include "core/ControlNames.h"
#include "core/MenuTicks.h"
#include "core/SoundQueries.h"
#include "recording/RecordLoader.h"
#include "spool/SpoolSound.h"

namespace zk {

namespace {

// A recording comes back the way it was made, with its sound or without, and the audio
// menu follows it: said in the question, so that the switch is no surprise.
std::string AudioSwitchText(const RecoveredRecording& r, bool audioNow) {
  if (r.info.Audio == audioNow) return "";
  return r.info.Audio ? " It was recorded with sound: recovering it switches the audio on."
                      : " It was recorded without sound: recovering it switches the audio off.";
}

}  // namespace

std::string RecoverQuestion(const RecoveredRecording& r, bool audioNow, const std::string& partial,
                            const std::string& keptIn) {
  const DateTime t = DateTimeOf(r.info.RecordDate, r.info.RecordStartSeconds);
  char when[64];
  std::snprintf(when, sizeof when, "%02d/%02d/%04d at %02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute,
                t.second);
  const std::string length = Format_Time(r.Seconds, r.Seconds * 1000);
  const bool damaged = r.DamagedSeconds > 0;
  // Damage that cost nothing of the recording (a mark) still keeps the spool.
  if (partial.empty() && !damaged)
    return "A recording of " + length + " started on " + when + " was not saved when the program last ended." +
           (keptIn.empty()
                ? ""
                : " Its files are damaged in places, but nothing of it is lost; they are kept in " + keptIn + ".") +
           AudioSwitchText(r, audioNow) + " Recover it?";
  std::string text = partial.empty() ? "A recording of " + length + " started on " + when
                                     : std::string("A recording started on ") + when;
  text += " was not saved when the program last ended.";
  if (!partial.empty()) text += " Only its first " + length + " can be recovered: " + partial + ".";
  const std::string lost = Format_Time(r.DamagedSeconds, r.DamagedSeconds * 1000);
  const std::string whole = Format_Time(r.Seconds - r.DamagedSeconds, (r.Seconds - r.DamagedSeconds) * 1000);
  if (damaged)
    text += " " + lost + (partial.empty() ? " of it" : " of those") + " cannot be recovered: " + DamagedInPlacesText +
            ". The recording keeps its length, without readings and silent where they are lost.";
  text += " Its files are kept in " + keptIn + "." + AudioSwitchText(r, audioNow);
  if (!damaged) return text + " Recover the first " + length + "?";
  return text + " Recover " + whole + " of " + (partial.empty() ? "" : "the first ") + length + "?";
}

std::string NotRecoverableText(const std::string& problem, const std::string& keptIn) {
  return "A recording that was not saved when the program last ended cannot be recovered: " + problem +
         ". Its files are kept in " + keptIn + ".";
}

void RecordingRecovery::Remove_Stale_Temp_Files() {
  // Left by a crash in the middle of a save; see StaleTempFiles.h for what is taken as
  // left behind (among others, nothing written to within the last minutes, so that a save
  // of another running copy is never disturbed).
  // A save over an existing pair that a crash cut short between its renames is completed
  // first; the sweep leaves alone whatever a journal still names.
  if (!ctx_.settings.SavePath.empty()) RestorePairsAndSweep(ctx_.settings.SavePath);
  if (!memory_.Spool().Folder().empty()) RemoveStaleTempFiles(memory_.Spool().Folder());
}

void RecordingRecovery::Offer_Recovery() {
  Remove_Stale_Temp_Files();
  const std::string& folder = memory_.Spool().Folder();
  if (folder.empty()) return;
  for (auto& spool : HoldOrphanSpools(folder)) {
    if (ctx_.state.RecordingUnsaved) break;
    RecoveredRecording r;
    const SpoolReading reading = ReadSpool(spool->Path(), r);
    switch (reading.content) {
      case SpoolContent::Empty: spool->Remove(); break;
      case SpoolContent::Damaged: {
        const std::string kept = spool->SetAside();
        ctx_.prompts.MsgBox(NotRecoverableText(reading.problem, kept), RecoverTitle, MsgButtons::OK, MsgIcon::Warning);
        break;
      }
      case SpoolContent::Recording: {
        // Only a first part comes back: the spool, which holds the rest, is kept whatever
        // the answer, and the recording brought back gets a spool of its own.
        const bool partial = !reading.problem.empty() || reading.damaged;
        const std::string kept = partial ? spool->SetAside() : "";
        if (ctx_.prompts.MsgBox(RecoverQuestion(r, ctx_.settings.AudioEnable, reading.problem, kept), RecoverTitle,
                                MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
          if (!partial) spool->Remove();
          break;
        }
        const auto leave = Unsaved_Recording_Guard(ctx_);  // nothing is held yet at start-up
        if (!leave) break;
        memory_.Flush_RecBuffer(*leave);
        // The sound stays in the spool's data file and goes from there, a piece at a time.
        const std::string path = spool->Path();
        if (partial) {
          SpoolSound sound(path, r);
          memory_.Spool().Respool(r, sound);
        } else {
          memory_.Spool().Adopt(std::move(spool));
        }
        // The notes come back before the recording is kept, which an automatic save writes
        // at once; they go into the recording's spool (a new one for a part).
        memory_.Notes().Recovered(path);
        memory_.Notes().Write();
        Bring_Back(r, path);
        break;
      }
    }
  }
}

void RecordingRecovery::Bring_Back(RecoveredRecording& r, const std::string& spoolPath) {
  SessionState& st = ctx_.state;
  Settings& s = ctx_.settings;
  st.RecordBuffer = std::move(r.records);
  st.RecordCount = r.RecordCount;
  st.TotalTimeMs = r.TotalTimeMs;
  st.RecordStartSeconds = r.info.RecordStartSeconds;
  st.RecordStartDay = r.info.RecordStartDay;
  st.RecordDate = r.info.RecordDate;
  // The recording is saved the way it was made: with its sound, or without.
  s.AudioEnable = r.info.Audio;
  Tick_Pair(ctx_.controls, ctl::mnuRecAudioOn, ctl::mnuRecAudioOff, r.info.Audio);
  if (r.info.Audio) {
    Recorder::Use_Sound_Format(st);
    SpoolSound sound(spoolPath, r);
    st.MciResult =
        ctx_.audio.OpenRecordedSound([&](int16_t* out, std::size_t count) { return sound.Read(out, count); });
    Query_Length(ctx_.audio, st);
  } else {
    st.PlayUnitsPerSecond = 1000;
    Open_Silent_Track(ctx_);
  }
  recorder_.Keep_Recovered(r.Seconds);
  transport_.Stop_Tail();
}

}  // namespace zk
