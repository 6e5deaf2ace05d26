#include "recording/SkipSeconds.h"

#include "core/Numbers.h"

namespace zk {

void Show_Recording_Length(Context& ctx, int32_t seconds, int32_t skipFromSeconds) {
  SessionState& st = ctx.state;
  ctx.controls.SetCaption("lblPlayTime", Format_Time(0, st.TotalTimeMs));
  ctx.controls.SetCaption("lblTotalTime", Format_Time(seconds, st.TotalTimeMs));
  st.SkipSeconds = Skip_Seconds(skipFromSeconds);
}

}  // namespace zk
