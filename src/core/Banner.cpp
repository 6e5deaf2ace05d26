#include "core/Banner.h"

namespace zk {

void Show_Status(Context& ctx, const std::string& text) {
  SessionState& st = ctx.state;
  st.StatusWanted = text;
  if (st.StatusText != text) Set_Banner(ctx, text, text == "Input Error" ? 255 : ctx.settings.Text_Color);
}

void Show_Message(Context& ctx, const std::string& text) {
  Set_Banner(ctx, text);
  ctx.timers.tmrMessage.Start();
}

void End_Message(Context& ctx) {
  ctx.timers.tmrMessage.Stop();
  Set_Banner(ctx, ctx.state.StatusWanted);
}

void Set_Banner(Context& ctx, const std::string& text, int32_t color) {
  ctx.state.StatusColor = color;
  Set_Banner(ctx, text);
}

void Set_Banner(Context& ctx, const std::string& text) {
  ctx.state.StatusText = text;
  ctx.view.Update_ModeDisplay();
}

void Preset_Status(Context& ctx, const std::string& text) {
  SessionState& st = ctx.state;
  st.StatusColor = ctx.settings.Text_Color;
  st.StatusText = st.StatusWanted = text;
}

}  // namespace zk
