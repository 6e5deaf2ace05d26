#pragma once
// The one guard of the recording in memory. Every command that would drop, replace or cut
// the recording passes it; what may drop the recording (RecordingMemory's Drop and
// Flush_RecBuffer) takes a RecordingLeave, and only the guard makes one, so a path that
// skips the guard does not compile.
//
// While a recording runs (its pre-roll and its stop included) the guard refuses with a
// message: such a command would cut it, and the user stops it first (exit stops it
// itself). An unsaved recording is asked about while the recording prompt is enabled —
// and always when its automatic save failed: the user turned the question off trusting
// the save, and that recording exists nowhere else.
#include <optional>
#include <string>

#include "core/Context.h"

namespace zk {

// The user's leave (or the lack of anything to lose) to let the recording in memory go.
class RecordingLeave {
 private:
  RecordingLeave() = default;
  friend std::optional<RecordingLeave> Recording_May_Go(Context& ctx, const std::string& question);
};

inline constexpr const char* RecordingRunningText = "Recording in progress. Stop the recording first.";
inline constexpr const char* UnsavedQuestion = "Previous recording not saved, Continue?";

// False, with the message, while a recording runs: for a command that would cut it.
inline bool Recording_Not_Running(Context& ctx) {
  if (ctx.state.OperatingMode != ModeRecording) return true;
  ctx.prompts.MsgBox(RecordingRunningText, "Warning", MsgButtons::OK, MsgIcon::Warning);
  return false;
}

// Nothing while a recording runs, or when the user answers No to `question` about the
// unsaved recording: the recording must be kept and the command changes nothing.
inline std::optional<RecordingLeave> Recording_May_Go(Context& ctx, const std::string& question) {
  if (!Recording_Not_Running(ctx)) return std::nullopt;
  const SessionState& st = ctx.state;
  if (st.RecordingUnsaved && (ctx.settings.RecPromptEnable || st.RecordingSaveFailed) &&
      ctx.prompts.MsgBox(question, "Warning", MsgButtons::YesNo, MsgIcon::None) == MsgResult::No)
    return std::nullopt;
  return RecordingLeave{};
}

// The question of every command that would replace the recording in memory: a new
// recording, a load, the series list, the recording settings, the sound on or off, the
// sync test, hiding the record panel.
inline std::optional<RecordingLeave> Unsaved_Recording_Guard(Context& ctx) {
  return Recording_May_Go(ctx, UnsavedQuestion);
}

}  // namespace zk
