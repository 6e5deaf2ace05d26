#pragma once
// The question before an unsaved recording is dropped (by exit, a new recording, a new
// audio mode, new recording settings, the sync test, another settings file, hiding the
// record panel). It is asked while a recording is unsaved and the recording prompt is
// enabled — and always for a recording whose automatic save failed: the user turned the
// question off trusting the save, and that recording exists nowhere else.
#include <string>

#include "core/Context.h"

namespace zk {

// False when the user answers No to `question`: the recording must be kept.
inline bool Unsaved_Recording_May_Go(Context& ctx, const std::string& question) {
  const SessionState& st = ctx.state;
  if (!(st.RecordingUnsaved && (ctx.settings.RecPromptEnable || st.RecordingSaveFailed))) return true;
  return ctx.prompts.MsgBox(question, "Warning", MsgButtons::YesNo, MsgIcon::None) != MsgResult::No;
}

// The question of every command that would replace the recording in memory: a new
// recording, a load, the series list, the recording settings, the sound on or off.
inline bool Unsaved_Recording_Guard(Context& ctx) {
  return Unsaved_Recording_May_Go(ctx, "Previous recording not saved, Continue?");
}

}  // namespace zk
