#include "core/Banner.h"

namespace zk {

void Show_Status(Context& ctx, const std::string& text) {
  SessionState& st = ctx.state;
  st.StatusWanted = text;
  if (st.StatusText != text) {
    st.StatusText = text;
    st.StatusColor = text == "Input Error" ? 255 : ctx.settings.Text_Color;
    ctx.view.Update_ModeDisplay();
  }
}

void Show_Message(Context& ctx, const std::string& text) {
  ctx.state.StatusText = text;
  ctx.view.Update_ModeDisplay();
  ctx.timers.tmrMessage.Start();
}

void End_Message(Context& ctx) {
  ctx.timers.tmrMessage.Stop();
  ctx.state.StatusText = ctx.state.StatusWanted;
  ctx.view.Update_ModeDisplay();
}

}  // namespace zk
