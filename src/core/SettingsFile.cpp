#include "core/SettingsFile.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <variant>

#include "base/IniFile.h"
#include "base/Numbers.h"
#include "base/ProgramFolder.h"

namespace zk {

namespace {

// How a key's text becomes its field. Number is text kept as read (it may hold a text or
// a number); Text is a plain string.
using Field = std::variant<int32_t Settings::*, int16_t Settings::*, bool Settings::*, std::string Settings::*>;
enum class Kind { Int32, Int16, Bool, TextOrNumber, Text };

struct KeyInfo {
  const char* section;
  const char* key;
  Field field;
  Kind kind;
  int writeSlot;  // position in the write order
};

constexpr const char* RecordingSection = "Recording";

// Every key of the settings file, in the order it is read. writeSlot gives the order it is
// written, which differs in two places: Scale_Color goes before FreezeNeedle_Color and
// GraphHeight_Index before GraphVisible. A key the file lacks takes the default of its
// field in the settings record (Settings.h), the one table of defaults.
const std::array<KeyInfo, 46> KeyTable{{
    {"Colors", "Dial_Color", &Settings::Dial_Color, Kind::Int32, 0},
    {"Colors", "LED_Set_Color", &Settings::LED_Set_Color, Kind::Int32, 1},
    {"Colors", "LED_BM_Color", &Settings::LED_BM_Color, Kind::Int32, 2},
    {"Colors", "LED_Lag_Color", &Settings::LED_Lag_Color, Kind::Int32, 3},
    {"Colors", "Panel_Color", &Settings::Panel_Color, Kind::Int32, 4},
    {"Colors", "Background_Color", &Settings::Background_Color, Kind::Int32, 5},
    {"Colors", "GraphSheet_Color", &Settings::GraphSheet_Color, Kind::Int32, 6},
    {"Colors", "GraphPen_Color", &Settings::GraphPen_Color, Kind::Int32, 7},
    {"Colors", "GraphGrid_Color", &Settings::GraphGrid_Color, Kind::Int32, 8},
    {"Colors", "MainNeedle_Color", &Settings::MainNeedle_Color, Kind::Int32, 9},
    {"Colors", "ShadowNeedleColor_Index", &Settings::ShadowNeedleColor_Index, Kind::Int16, 10},
    {"Colors", "FreezeNeedle_Color", &Settings::FreezeNeedle_Color, Kind::Int32, 12},
    {"Colors", "Scale_Color", &Settings::Scale_Color, Kind::Int32, 11},
    {"Colors", "Text_Color", &Settings::Text_Color, Kind::Int32, 13},
    {"Format", "Needle_Width", &Settings::Needle_Width, Kind::Int16, 14},
    {"Format", "DialType", &Settings::DialType, Kind::Int32, 15},
    {"Format", "ScaleType", &Settings::ScaleType, Kind::Int32, 16},
    {"Format", "RecordVisible", &Settings::RecordVisible, Kind::Bool, 17},
    {"Format", "GraphVisible", &Settings::GraphVisible, Kind::Bool, 19},
    {"Format", "GraphHeight_Index", &Settings::GraphHeight_Index, Kind::TextOrNumber, 18},
    {"Format", "ClockType", &Settings::ClockType, Kind::Int32, 20},
    {"Format", "ClockLeft", &Settings::ClockLeft, Kind::Bool, 21},
    {"Format", "DateType", &Settings::DateType, Kind::Int32, 22},
    {"Settings", "SwitchMode_Index", &Settings::SwitchMode_Index, Kind::Int16, 23},
    {"Settings", "DataLag_Index", &Settings::DataLag_Index, Kind::Int16, 24},
    {"Settings", "BM_Threshold_Index", &Settings::BM_Threshold_Index, Kind::Int16, 25},
    {"Settings", "Freeze_Threshold_Index", &Settings::Freeze_Threshold_Index, Kind::Int16, 26},
    {"Settings", "FreezeEnable", &Settings::FreezeEnable, Kind::Bool, 27},
    {"Settings", "NeedleBdEnable", &Settings::NeedleBdEnable, Kind::Bool, 28},
    {"Settings", "zk3SensorMode", &Settings::zk3SensorMode, Kind::Bool, 29},
    {"Graph", "GraphInvert", &Settings::GraphInvert, Kind::Bool, 30},
    {"Graph", "GraphPenWidth_Index", &Settings::GraphPenWidth_Index, Kind::TextOrNumber, 31},
    {"Graph", "GridX", &Settings::GridX, Kind::Bool, 32},
    {"Graph", "GridY", &Settings::GridY, Kind::Bool, 33},
    {"Graph", "GraphTimescale", &Settings::GraphTimescale, Kind::TextOrNumber, 34},
    {"Graph", "GraphGain", &Settings::GraphGain, Kind::Int16, 35},
    {RecordingSection, "SavePath", &Settings::SavePath, Kind::Text, 36},
    {RecordingSection, "SavePrefix", &Settings::SavePrefix, Kind::Text, 37},
    {RecordingSection, "LoadPath", &Settings::LoadPath, Kind::Text, 38},
    {RecordingSection, "RecordingMode", &Settings::RecordingMode, Kind::Int32, 39},
    {RecordingSection, "SuffixType", &Settings::SuffixType, Kind::Int32, 40},
    {RecordingSection, "SuffixNum", &Settings::SuffixNum, Kind::Int16, 41},
    {RecordingSection, "AudioEnable", &Settings::AudioEnable, Kind::Bool, 42},
    {RecordingSection, "RecPromptEnable", &Settings::RecPromptEnable, Kind::Bool, 43},
    {RecordingSection, "TimeDateEnable", &Settings::TimeDateEnable, Kind::Bool, 44},
    {RecordingSection, "PlayLoopEnable", &Settings::PlayLoopEnable, Kind::Bool, 45},
}};

bool IsRecording(const KeyInfo& k) { return std::string_view(k.section) == RecordingSection; }

// The table in write order.
const std::array<const KeyInfo*, KeyTable.size()>& WriteOrder() {
  static const auto order = [] {
    std::array<const KeyInfo*, KeyTable.size()> o{};
    for (const KeyInfo& k : KeyTable) o[static_cast<std::size_t>(k.writeSlot)] = &k;
    return o;
  }();
  return order;
}

// Converts the text into the field; a text that does not convert leaves it as it was.
void Assign(Settings& s, const KeyInfo& k, const std::string& text) {
  switch (k.kind) {
    case Kind::Int32:
      if (auto v = ParseInt32(text)) s.*std::get<int32_t Settings::*>(k.field) = *v;
      break;
    case Kind::Int16:
      if (auto v = ParseInt16(text)) s.*std::get<int16_t Settings::*>(k.field) = *v;
      break;
    case Kind::Bool:
      if (auto v = ParseBool(text)) s.*std::get<bool Settings::*>(k.field) = *v;
      break;
    case Kind::TextOrNumber:
    case Kind::Text: s.*std::get<std::string Settings::*>(k.field) = text; break;
  }
}

std::string FieldText(const Settings& s, const KeyInfo& k) {
  switch (k.kind) {
    case Kind::Int32: return std::to_string(s.*std::get<int32_t Settings::*>(k.field));
    case Kind::Int16: return std::to_string(s.*std::get<int16_t Settings::*>(k.field));
    case Kind::Bool: return BoolText(s.*std::get<bool Settings::*>(k.field));
    case Kind::TextOrNumber:
    case Kind::Text: return s.*std::get<std::string Settings::*>(k.field);
  }
  return {};
}

std::string DefaultText(const KeyInfo& k, const Context& ctx) {
  // The samples folder that ships with the program: it depends on where the program is.
  if (k.field == Field(&Settings::LoadPath)) return SamplesFolder(ctx.programFolder, ExecutableFolder());
  static const Settings defaults;
  return FieldText(defaults, k);
}

std::string StoredText(const IniDocument& doc, const KeyInfo& k, const Context& ctx) {
  if (auto v = doc.Get(k.section, k.key)) return *v;
  return DefaultText(k, ctx).substr(0, IniValueMax);
}

// Whether the stored text matches the field. Texts that do not convert count as equal.
bool Matches(const Settings& s, const KeyInfo& k, const std::string& text) {
  switch (k.kind) {
    case Kind::Int32: {
      auto v = ParseNumber(text);
      return !v || *v == static_cast<double>(s.*std::get<int32_t Settings::*>(k.field));
    }
    case Kind::Int16: {
      auto v = ParseNumber(text);
      return !v || *v == static_cast<double>(s.*std::get<int16_t Settings::*>(k.field));
    }
    case Kind::Bool: {
      auto v = ParseBool(text);
      return !v || *v == s.*std::get<bool Settings::*>(k.field);
    }
    case Kind::TextOrNumber:
    case Kind::Text: {
      const std::string& field = s.*std::get<std::string Settings::*>(k.field);
      auto a = ParseNumber(text);
      auto b = ParseNumber(field);
      if (a && b) return *a == *b;
      return text == field;
    }
  }
  return true;
}

// Sets the chosen keys, in write order, into `doc` and saves it once.
template <typename Pick>
void WriteKeys(IniDocument doc, const Context& ctx, Pick pick) {
  for (const KeyInfo* k : WriteOrder())
    if (pick(*k)) doc.Set(k->section, k->key, FieldText(ctx.settings, *k));
  doc.Save(ctx.settings.SettingsFilePath);  // failures are not reported
}

// A style number no menu or dialog option can choose (only a hand-edited file holds one)
// would draw an empty panel without clock or status: such a style takes its default.
struct StyleRange {
  const char* key;
  int32_t Settings::*field;
  int32_t last, fallback;
};
constexpr StyleRange ChoosableStyles[] = {{"DialType", &Settings::DialType, 3, 1},
                                          {"ScaleType", &Settings::ScaleType, 1, 0},
                                          {"ClockType", &Settings::ClockType, 3, 1},
                                          {"DateType", &Settings::DateType, 2, 1}};

void FallBackToChoosableStyles(Settings& s) {
  for (const StyleRange& r : ChoosableStyles)
    if (s.*r.field < 0 || s.*r.field > r.last) s.*r.field = r.fallback;
}

// The stored text as loading takes it: a style no option can choose reads as its default,
// which is no change the user made.
std::string LoadedText(const IniDocument& doc, const KeyInfo& k, const Context& ctx) {
  std::string text = StoredText(doc, k, ctx);
  for (const StyleRange& r : ChoosableStyles) {
    if (std::string_view(k.key) != r.key) continue;
    if (auto v = ParseInt32(text); v && (*v < 0 || *v > r.last)) text = std::to_string(r.fallback);
  }
  return text;
}

}  // namespace

std::string DefaultSettingsFilePath(const Context& ctx) { return JoinPath(ctx.programFolder, DefaultSettingsFileName); }

std::string Read_Ini_Value(const std::string& section, const std::string& key, const std::string& defaultText,
                           const std::string& path) {
  if (auto v = ReadIniKey(path, section, key)) return *v;
  return defaultText.substr(0, IniValueMax);
}

void Write_Ini_Value(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) {
  WriteIniKey(path, section, key, value);
}

void Load_Settings(Context& ctx) {
  Settings& s = ctx.settings;
  std::error_code ec;
  if (s.SettingsFilePath.empty() || !std::filesystem::is_regular_file(s.SettingsFilePath, ec))
    s.SettingsFilePath = DefaultSettingsFilePath(ctx);
  const IniDocument doc = IniDocument::Load(s.SettingsFilePath);
  for (const KeyInfo& k : KeyTable) Assign(s, k, StoredText(doc, k, ctx));
  FallBackToChoosableStyles(s);
}

void Save_Settings(Context& ctx) {
  WriteKeys(IniDocument::Load(ctx.settings.SettingsFilePath), ctx, [](const KeyInfo& k) { return !IsRecording(k); });
}

void Save_Settings_Replacing(Context& ctx) {
  WriteKeys(IniDocument(), ctx, [](const KeyInfo& k) { return !IsRecording(k); });
}

void Save_Recording_Settings(Context& ctx) {
  WriteKeys(IniDocument::Load(ctx.settings.SettingsFilePath), ctx, IsRecording);
}

void Save_Recording_Choices(Context& ctx) {
  if (ctx.settings.SettingsFilePath.empty()) return;
  WriteKeys(IniDocument::Load(ctx.settings.SettingsFilePath), ctx,
            [](const KeyInfo& k) { return IsRecording(k) && std::string_view(k.key) != "SuffixNum"; });
}

void Save_Recording_Key(Context& ctx, const std::string& key) {
  if (ctx.settings.SettingsFilePath.empty()) return;
  WriteKeys(IniDocument::Load(ctx.settings.SettingsFilePath), ctx,
            [&](const KeyInfo& k) { return IsRecording(k) && key == k.key; });
}

void Save_Next_Series_Number(Context& ctx) {
  if (ctx.settings.SettingsFilePath.empty()) return;
  const IniDocument doc = IniDocument::Load(ctx.settings.SettingsFilePath);
  if (auto stored = doc.Get(RecordingSection, "SuffixNum"))
    if (auto n = ParseInt16(*stored); n && *n > ctx.settings.SuffixNum) ctx.settings.SuffixNum = *n;
  Save_Recording_Key(ctx, "SuffixNum");
}

bool Settings_Unchanged(Context& ctx) {
  const IniDocument doc = IniDocument::Load(ctx.settings.SettingsFilePath);
  bool unchanged = true;
  for (const KeyInfo& k : KeyTable)
    if (!IsRecording(k) && !Matches(ctx.settings, k, LoadedText(doc, k, ctx))) unchanged = false;
  return unchanged;
}

}  // namespace zk
