#include "recording/RecordingSave.h"


namespace zk {

namespace {

void Tell_Failure(Context& ctx, const std::string& path, const std::string& reason) {
  ctx.prompts.MsgBox("The recording could not be saved as " + path + ":\n" + reason +
                         "\n\nIt is still in memory: save it in another folder or under another name.",
                     "Save Recording", MsgButtons::OK, MsgIcon::Critical);
}

}  // namespace

std::optional<RecordHeader> HeaderToWrite(const Context& ctx) {
  if (!ctx.settings.TimeDateEnable) return std::nullopt;
  return RecordHeader{ctx.settings.ClockType, ctx.settings.DateType, ctx.state.RecordStartSeconds,
                      ctx.state.RecordStartDay};
}

bool Save_Recording(Context& ctx, const std::string& basePath, bool withHeader) {
  SessionState& st = ctx.state;
  if (ctx.settings.AudioEnable) {
    const std::string wav = basePath + ".wav";
    st.MciResult = ctx.audio.SaveWav(wav);
    if (st.MciResult != 0) {
      std::string reason;
      if (!ctx.audio.ErrorText(st.MciResult, reason)) reason = "error " + std::to_string(st.MciResult);
      Tell_Failure(ctx, wav, reason);
      return false;
    }
  }
  const std::string zkd = basePath + ".zkd";
  const FileError err = WriteRecordFile(zkd, st.RecordBuffer, st.RecordCount,
                                        withHeader ? HeaderToWrite(ctx) : std::nullopt);
  if (err) {
    Tell_Failure(ctx, zkd, err.description);
    return false;
  }
  return true;
}

}  // namespace zk
