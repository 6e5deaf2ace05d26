#include "core/SessionFile.h"

#include <charconv>
#include <iostream>
#include <limits>
#include <optional>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Numbers.h"
#include "base/ProgramFolder.h"
#include "base/SmallFile.h"
#include "core/SettingsFile.h"

namespace zk {

namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// List input: values separated by commas or line ends, blanks around them ignored, a value
// may be enclosed in double quotes (then commas inside it belong to it). Blank lines
// separate nothing. Answers nullopt for an unterminated quote.
std::optional<std::vector<std::string>> ListInput(std::string_view text) {
  std::vector<std::string> values;
  std::size_t i = 0, n = text.size();
  while (i < n) {
    while (i < n && (IsBlank(text[i]) || IsBreak(text[i]))) ++i;
    if (i >= n) break;
    std::string value;
    if (text[i] == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      value = std::string(text.substr(i + 1, close - i - 1));
      i = close + 1;
      while (i < n && text[i] != ',' && !IsBreak(text[i])) ++i;  // rest up to the separator
    } else {
      std::size_t start = i;
      while (i < n && text[i] != ',' && !IsBreak(text[i])) ++i;
      std::size_t end = i;
      while (end > start && IsBlank(text[end - 1])) --end;
      value = std::string(text.substr(start, end - start));
    }
    if (i < n && text[i] == ',') ++i;
    values.push_back(std::move(value));
  }
  return values;
}

// Bare decimal text of a single-precision value: "1440", "-120", "1234.5".
std::string NumberText(float x) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

// A quarter or half of the screen width, rounded half to even. A screen too wide for a
// 16-bit twips value gets the largest that fits rather than an overflow at start-up.
int16_t ScreenPart(int screenWidthTwips, double divisor) {
  double v = RoundHalfEven(screenWidthTwips / divisor);
  if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

}  // namespace

std::string SessionFilePath(const Context& ctx) { return JoinPath(ctx.programFolder, SessionFileName); }

void Set_Default_Session_Values(Context& ctx, int screenWidthTwips) {
  Settings& s = ctx.settings;
  s.SettingsFilePath = DefaultSettingsFilePath(ctx);
  s.SettingsAutoSave = 2;
  s.CommPort = 0;
  s.SensitivityIndex = 8;
  s.WindowLeft = ScreenPart(screenWidthTwips, 4);
  s.WindowTop = 0;
  s.WindowWidth = ScreenPart(screenWidthTwips, 2);
  s.WindowState = 0;
}

bool Read_Session_File(Context& ctx, int screenWidthTwips) {
  auto fail = [&] {
    Set_Default_Session_Values(ctx, screenWidthTwips);
    return false;
  };
  // A FIFO, device, folder or huge file in its place is a file that cannot be read.
  std::string text;
  if (ReadSmallFile(SessionFilePath(ctx), text) != SmallFileStatus::Read) return fail();

  auto values = ListInput(text);
  if (!values || values->size() < 8) return fail();
  const std::vector<std::string>& v = *values;
  auto autoSave = ParseInt32(v[1]);
  std::optional<int16_t> small[6];
  for (int k = 0; k < 6; ++k) {
    small[k] = ParseInt16(v[static_cast<std::size_t>(k) + 2]);
    if (!small[k]) return fail();
  }
  if (!autoSave) return fail();
  // A step the knob has no row for cannot be shown: it counts as a value that does not
  // fit, like any other, so the file is replaced by one that starts.
  if (*small[1] < 0 || *small[1] > MaxSensitivityStep) return fail();

  Settings& s = ctx.settings;
  s.SettingsFilePath = v[0];
  s.SettingsAutoSave = *autoSave;
  s.CommPort = *small[0];
  s.SensitivityIndex = *small[1];
  s.WindowLeft = *small[2];
  s.WindowTop = *small[3];
  s.WindowWidth = *small[4];
  s.WindowState = *small[5];
  return true;
}

bool Write_Session_File(Context& ctx, const WindowPlacement& window, bool unattended) {
  const Settings& s = ctx.settings;
  const std::string eol = "\r\n";
  std::string text;
  text += "\"" + s.SettingsFilePath + "\"" + eol;
  text += std::to_string(s.SettingsAutoSave) + eol;
  text += std::to_string(s.CommPort) + eol;
  text += std::to_string(s.SensitivityIndex) + eol;
  text += NumberText(window.left) + eol;
  text += NumberText(window.top) + eol;
  text += NumberText(window.width) + eol;
  text += std::to_string(window.state) + eol;
  const std::string path = SessionFilePath(ctx);
  const FileError err = ReplaceFileAtomically(path, [&](int fd) { return WriteAll(fd, text.data(), text.size()); });
  if (!err) return true;
  if (unattended)
    std::cerr << "zodovaz: Error Saving Session Config File " << path << ": " << err.description << "\n";
  else
    ctx.prompts.MsgBox("Error Saving Session Config File", "Save Config File", MsgButtons::OK, MsgIcon::Critical);
  return false;
}

}  // namespace zk
