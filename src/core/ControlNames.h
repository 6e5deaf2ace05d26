#pragma once
// The names of the window's controls and menu items that code outside app/ reaches through
// Controls and registers commands under: a misspelt name does not compile. app/ builds the
// widgets and menus under the same names.
namespace zk::ctl {

inline constexpr const char* cboFile = "cboFile";
inline constexpr const char* cmdLoop = "cmdLoop";
inline constexpr const char* cmdRecord = "cmdRecord";
inline constexpr const char* cmdSave = "cmdSave";
inline constexpr const char* cmdStop = "cmdStop";
inline constexpr const char* lblLoadedFile = "lblLoadedFile";
inline constexpr const char* lblPlayTime = "lblPlayTime";
inline constexpr const char* lblRecordMode = "lblRecordMode";
inline constexpr const char* lblTag = "lblTag";
inline constexpr const char* lblTotalTime = "lblTotalTime";
inline constexpr const char* mnuConnection = "mnuConnection";
inline constexpr const char* mnuConnectionConnect = "mnuConnectionConnect";
inline constexpr const char* mnuConnectionPortComm = "mnuConnectionPortComm";
inline constexpr const char* mnuConnectSensor = "mnuConnectSensor";
inline constexpr const char* mnuConnectSyncTest = "mnuConnectSyncTest";
inline constexpr const char* mnuFile = "mnuFile";
inline constexpr const char* mnuGraph = "mnuGraph";
inline constexpr const char* mnuGraphGridX = "mnuGraphGridX";
inline constexpr const char* mnuGraphGridY = "mnuGraphGridY";
inline constexpr const char* mnuGraphHeightIndex = "mnuGraphHeightIndex";
inline constexpr const char* mnuGraphInvert = "mnuGraphInvert";
inline constexpr const char* mnuGraphPenWidthIndex = "mnuGraphPenWidthIndex";
inline constexpr const char* mnuGraphTimescaleSecs = "mnuGraphTimescaleSecs";
inline constexpr const char* mnuRecAudioOff = "mnuRecAudioOff";
inline constexpr const char* mnuRecAudioOn = "mnuRecAudioOn";
inline constexpr const char* mnuRecording = "mnuRecording";
inline constexpr const char* mnuRecSettings = "mnuRecSettings";
inline constexpr const char* mnuSensorLocal = "mnuSensorLocal";
inline constexpr const char* mnuSensorRemote = "mnuSensorRemote";
inline constexpr const char* mnuSetBmFreezeOff = "mnuSetBmFreezeOff";
inline constexpr const char* mnuSetBmFreezeOn = "mnuSetBmFreezeOn";
inline constexpr const char* mnuSetNeedleBDOff = "mnuSetNeedleBDOff";
inline constexpr const char* mnuSetNeedleBDOn = "mnuSetNeedleBDOn";
inline constexpr const char* mnuSettingsBmFreeze = "mnuSettingsBmFreeze";
inline constexpr const char* mnuSettingsBodyMotionThreshold = "mnuSettingsBodyMotionThreshold";
inline constexpr const char* mnuSettingsExtSwMode = "mnuSettingsExtSwMode";
inline constexpr const char* mnuSettingsLagThreshold = "mnuSettingsLagThreshold";
inline constexpr const char* mnuViewGraph = "mnuViewGraph";
inline constexpr const char* mnuViewMeter = "mnuViewMeter";
inline constexpr const char* mnuViewRecording = "mnuViewRecording";
inline constexpr const char* picFilePosition = "picFilePosition";
inline constexpr const char* picGraph = "picGraph";
inline constexpr const char* picRecord = "picRecord";

}  // namespace zk::ctl
