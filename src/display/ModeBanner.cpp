#include "display/ModeBanner.h"

#include <string>

#include "base/DialTypes.h"

namespace zk {

namespace {
const std::string Wipe(23, ' ');
}

ModeBanner::ModeBanner(Context& ctx, Surface& panel) : ctx_(ctx), panel_(panel) {}

void ModeBanner::Print_Centred(const std::string& text, double x, double y) {
  panel_.CurrentX = x - panel_.TextWidth(text) / 2;
  panel_.CurrentY = y;
  panel_.Print(text);
}

void ModeBanner::Update_ModeDisplay() {
  // A short message is on show for its second.
  if (ctx_.timers.tmrMessage.Enabled()) return;
  const Settings& s = ctx_.settings;
  const SessionState& st = ctx_.state;
  panel_.SetFontBold(true);
  panel_.ForeColor = st.StatusColor;
  panel_.SetFontSize(panel_.WidthPx() * 0.015);
  panel_.SetFontName("Aerial");

  double x, y1, y2;
  if (Arc_Dial(s.DialType)) {
    const double bottom = panel_.ScaleTop() + panel_.ScaleHeight();
    x = 0;
    y1 = bottom + 300;
    y2 = bottom + 225;
  } else if (Round_Dial(s.DialType)) {
    x = -800;
    y1 = 600;
    y2 = 525;
  } else {
    return;
  }
  Print_Centred(Wipe, x, y1);
  Print_Centred(st.StatusText, x, y1);
  if (st.OperatingMode != ModePlayback && st.OperatingMode != ModeRecording) {
    Print_Centred(Wipe, x, y2);
    return;
  }
  // Recording or playing: with sound the second line is left as it is, unless the
  // recording's sound input broke down.
  const bool lost = st.OperatingMode == ModeRecording && st.SoundInputLost;
  if (s.AudioEnable && !lost) return;
  Print_Centred(Wipe, x, y2);
  Print_Centred(lost ? "Audio LOST" : "Audio OFF", x, y2);
}

}  // namespace zk
