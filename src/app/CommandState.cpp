#include "app/CommandState.h"

#include <filesystem>
#include <system_error>

#include "base/RecordingCodes.h"
#include "recording/names/RecordNames.h"

namespace zk {

namespace {

void Show(Controls& c, const char* name, bool visible) { c.SetVisible(name, visible); }
void Enable(Controls& c, const char* name, bool enabled) { c.SetEnabled(name, enabled); }

void PlayButton(Context& ctx) {
  Controls& c = ctx.controls;
  c.SetPicture("cmdPlay", -1, "Play");
  Enable(c, "cmdPlay", ctx.state.FileLoaded);
}

// Live mode: the save button saves an unsaved recording, or opens the recording settings.
void SaveButtonLive(Context& ctx) {
  Controls& c = ctx.controls;
  const Settings& s = ctx.settings;
  if (ctx.state.RecordingUnsaved) {
    switch (s.RecordingMode) {
      case RecAutoName:
        c.SetPicture("cmdSave", -1, "Save");
        c.SetToolTip("cmdSave", -1, "Save");
        break;
      case RecManual:
      case RecAutoSave:  // only a failed automatic save stays unsaved
      case RecCapture:
        // The user names it.
        c.SetPicture("cmdSave", -1, "Save");
        c.SetToolTip("cmdSave", -1, "Save As");
        break;
      default: break;
    }
    Enable(c, "cmdSave", true);
  } else {
    c.SetPicture("cmdSave", -1, "Settings");
    c.SetToolTip("cmdSave", -1, "Recording Settings");
    Enable(c, "cmdSave", true);
    // Otherwise the record button keeps the state it had.
    if (s.RecordingMode == RecManual || !s.SavePath.empty()) Enable(c, "cmdRecord", true);
  }
}

// The record button's tool tip: why it cannot be used, when it is shown greyed.
void RecordTip(Context& ctx) {
  const int mode = ctx.state.OperatingMode;
  if (mode != ModeLive && mode != ModeRecording) return;  // hidden there, or no mode at all
  Controls& c = ctx.controls;
  const bool greyed = c.Visible("cmdRecord") && !c.Enabled("cmdRecord");
  const std::string why = greyed ? Record_Disabled_Reason(ctx) : "";
  c.SetToolTip("cmdRecord", -1, why.empty() ? "Record" : "Record (" + why + ")");
}

}  // namespace

std::string Record_Disabled_Reason(const Context& ctx) {
  const Settings& s = ctx.settings;
  const SessionState& st = ctx.state;
  if (st.OperatingMode == ModeRecording) return "recording now";
  if (s.CommPort == 0) return "no sensor connected";
  if (s.RecordingMode != RecManual && s.SavePath.empty())
    return "no folder to save in: choose one in Recording Settings";
  return "";
}

void Update_Command_State(Context& ctx) {
  Controls& c = ctx.controls;
  const SessionState& st = ctx.state;
  switch (st.OperatingMode) {
    case ModeNone:
      Enable(c, "cmdStop", false);
      Show(c, "cmdRecord", false);
      Show(c, "cmdSave", false);
      Show(c, "lblRecordMode", false);
      Show(c, "cmdLoop", false);
      Show(c, "cmdLoad", true);
      Enable(c, "cmdLoad", true);
      Enable(c, "cmdRev", false);
      Enable(c, "cmdFwd", false);
      PlayButton(ctx);
      break;
    case ModeLive:
      Enable(c, "cmdStop", false);
      Show(c, "cmdRecord", true);
      Show(c, "cmdSave", true);
      Show(c, "lblRecordMode", true);
      Show(c, "cmdLoop", false);
      Show(c, "cmdLoad", true);
      Enable(c, "cmdLoad", true);
      c.SetPicture("cmdLoad", -1, "Load");
      Enable(c, "cmdRev", false);
      Enable(c, "cmdFwd", false);
      PlayButton(ctx);
      Show(c, "chkOveride", false);
      SaveButtonLive(ctx);
      break;
    case ModePlayback:
      Enable(c, "cmdStop", true);
      Show(c, "cmdRecord", false);
      Show(c, "cmdSave", false);
      Show(c, "lblRecordMode", false);
      Show(c, "cmdLoop", true);
      Show(c, "cmdLoad", false);
      Enable(c, "cmdRev", true);
      Enable(c, "cmdFwd", true);
      if (st.PlayState == PlayPlaying)
        c.SetPicture("cmdPlay", -1, "Pause");
      else if (st.PlayState == PlayPaused)
        c.SetPicture("cmdPlay", -1, "Play");
      Show(c, "chkOveride", true);
      break;
    case ModeRecording:
      Enable(c, "cmdStop", true);
      Enable(c, "cmdRecord", false);
      Enable(c, "cmdSave", false);
      Enable(c, "cmdLoad", false);
      Enable(c, "cmdRev", false);
      Enable(c, "cmdFwd", false);
      Enable(c, "cmdPlay", false);
      break;
    default: break;
  }
  RecordTip(ctx);
}

void Update_RecordModeLabel(Context& ctx) {
  Settings& s = ctx.settings;
  std::error_code ec;
  if (!s.SavePath.empty() && !std::filesystem::is_directory(s.SavePath, ec)) s.SavePath.clear();
  const char* caption = RecordingModeCaption(s.RecordingMode);
  if (!caption) return;
  ctx.controls.SetCaption("lblRecordMode", caption);
  ctx.controls.SetToolTip("lblRecordMode", -1,
                          s.RecordingMode == RecManual ? "" : s.SavePath + s.SavePrefix + RecordNameSuffixText(s));
}

}  // namespace zk
