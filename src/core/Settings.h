#pragma once
// The settings record: every user setting under its settings-file key name, plus the
// session values kept in the session file. Colours are 0x00BBGGRR in an int32. The
// initial values are the defaults of both the record and the settings file: a key the file
// lacks takes the value given here.
#include <cstdint>
#include <string>

namespace zk {

// How the settings are kept at exit (SettingsAutoSave).
enum AutoSaveMode : int32_t { AutoSaveOff = 0, AutoSaveOn = 1, AutoSavePrompt = 2 };

// The sensitivity knob's highest step; steps run 0..63.
inline constexpr int MaxSensitivityStep = 63;

struct Settings {
  // [Colors]
  int32_t Dial_Color = 16777215;
  int32_t LED_Set_Color = 65280;
  int32_t LED_BM_Color = 16711680;
  int32_t LED_Lag_Color = 255;
  int32_t Panel_Color = 10070316;
  int32_t Background_Color = 0;
  int32_t GraphSheet_Color = 11924207;
  int32_t GraphPen_Color = 0;
  int32_t GraphGrid_Color = 12632256;
  int32_t MainNeedle_Color = 255;
  int16_t ShadowNeedleColor_Index = 1;
  int32_t FreezeNeedle_Color = 0;
  int32_t Scale_Color = 12615680;
  int32_t Text_Color = 0;
  // [Format]
  int16_t Needle_Width = 4;
  int32_t DialType = 1;
  int32_t ScaleType = 0;
  bool RecordVisible = true;
  bool GraphVisible = false;
  std::string GraphHeight_Index = "3";  // text or number, as read from the file
  int32_t ClockType = 1;
  bool ClockLeft = false;
  int32_t DateType = 1;
  // [Settings]
  int16_t SwitchMode_Index = 1;
  int16_t DataLag_Index = 2;
  int16_t BM_Threshold_Index = 2;
  int16_t Freeze_Threshold_Index = 2;
  bool FreezeEnable = false;
  bool NeedleBdEnable = false;
  bool zk3SensorMode = false;
  // [Graph]
  bool GraphInvert = false;
  std::string GraphPenWidth_Index = "2";  // text or number
  bool GridX = false;
  bool GridY = false;
  std::string GraphTimescale = "8";  // text or number
  int16_t GraphGain = 0;
  // [Recording]
  std::string SavePath;
  std::string SavePrefix = "Prefix_";
  std::string LoadPath;  // default: the samples folder under the program folder
  int32_t RecordingMode = 2;
  int32_t SuffixType = 1;
  int16_t SuffixNum = 1;
  bool AudioEnable = true;
  bool RecPromptEnable = true;
  bool TimeDateEnable = true;
  bool PlayLoopEnable = false;

  // Session values (session file, not the settings file).
  std::string SettingsFilePath;               // default: program folder + "/zk3_Zodovaz.ini"
  int32_t SettingsAutoSave = AutoSavePrompt;  // an AutoSaveMode; other values do nothing
  int16_t CommPort = 0;                       // 0 = no port, demonstration mode
  int16_t SensitivityIndex = 8;
  int16_t WindowLeft = 0;   // twips
  int16_t WindowTop = 0;    // twips
  int16_t WindowWidth = 0;  // twips
  int16_t WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
};

// Resets the fourteen [Colors] fields to their defaults; nothing else changes.
void Set_Default_Colors(Settings& s);

}  // namespace zk
