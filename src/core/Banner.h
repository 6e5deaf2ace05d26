#pragma once
// The two rules of the status banner.
#include <string>

#include "core/Context.h"

namespace zk {

// Showing a status: StatusWanted := text; when it differs from what is shown, show it
// (red 255 for "Input Error", Text_Color otherwise) and redraw the banner.
void Show_Status(Context& ctx, const std::string& text);

// Showing a short message: the text replaces the banner for one second (tmrMessage);
// while the timer runs the banner is not redrawn.
void Show_Message(Context& ctx, const std::string& text);

// tmrMessage fired: the banner returns to the wanted status.
void End_Message(Context& ctx);

}  // namespace zk
