#pragma once
// The status banner: every change of its text goes through here. Two rules (a status,
// a short message), and the banners of the modes that take it over.
#include <cstdint>
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

// A mode's banner ("Recording", "Playback", "Test Mode", the status again at rest, a
// fault): `text` in `color` at once, and redrawn. The wanted status is left alone.
void Set_Banner(Context& ctx, const std::string& text, int32_t color);
// The same in the banner's present colour.
void Set_Banner(Context& ctx, const std::string& text);

// The status before the panel is first drawn: wanted and shown, in Text_Color, not drawn.
void Preset_Status(Context& ctx, const std::string& text);

}  // namespace zk
