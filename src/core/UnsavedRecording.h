#pragma once
// The question before an unsaved recording is dropped (by exit, a new audio mode, new
// recording settings). It is asked only while a recording is unsaved and the recording
// prompt is enabled.
#include <string>

#include "core/Context.h"

namespace zk {

// False when the user answers No to `question`: the recording must be kept.
inline bool Unsaved_Recording_May_Go(Context& ctx, const std::string& question) {
  if (!(ctx.state.RecordingUnsaved && ctx.settings.RecPromptEnable)) return true;
  return ctx.prompts.MsgBox(question, "Warning", MsgButtons::YesNo, MsgIcon::None) != MsgResult::No;
}

}  // namespace zk
