#include "core/SettingsFile.h"

#include <gtest/gtest.h>

#include "SettingsFixture.h"
#include "base/IniFile.h"

namespace zk {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

struct SettingsFileTest : test::SettingsFixture {
  // A record in which every field differs from its default.
  void SetEveryField() {
    s.Dial_Color = 1;
    s.LED_Set_Color = 2;
    s.LED_BM_Color = 3;
    s.LED_Lag_Color = 4;
    s.Panel_Color = 5;
    s.Background_Color = 6;
    s.GraphSheet_Color = 7;
    s.GraphPen_Color = 8;
    s.GraphGrid_Color = 9;
    s.MainNeedle_Color = 10;
    s.ShadowNeedleColor_Index = 5;
    s.FreezeNeedle_Color = 11;
    s.Scale_Color = 12;
    s.Text_Color = -13;
    s.Needle_Width = 7;
    s.DialType = 3;
    s.ScaleType = 1;
    s.RecordVisible = false;
    s.GraphVisible = true;
    s.GraphHeight_Index = "5";
    s.ClockType = 3;
    s.ClockLeft = true;
    s.DateType = 0;
    s.SwitchMode_Index = 2;
    s.DataLag_Index = 5;
    s.BM_Threshold_Index = 3;
    s.Freeze_Threshold_Index = 1;
    s.FreezeEnable = true;
    s.NeedleBdEnable = true;
    s.zk3SensorMode = true;
    s.GraphInvert = true;
    s.GraphPenWidth_Index = "3";
    s.GridX = true;
    s.GridY = true;
    s.GraphTimescale = "16";
    s.GraphGain = -3;
    s.SavePath = "/data/rec/";
    s.SavePrefix = "Pc_";
    s.LoadPath = "/data/load/";
    s.RecordingMode = 1;
    s.SuffixType = 2;
    s.SuffixNum = 42;
    s.AudioEnable = false;
    s.RecPromptEnable = false;
    s.TimeDateEnable = false;
    s.PlayLoopEnable = true;
  }
};

TEST_F(SettingsFileTest, ReadIniValueGivesDefaultForMissingFileOrKey) {
  EXPECT_EQ(Read_Ini_Value("Colors", "Dial_Color", "16777215", ini), "16777215");
  Write_Ini_Value("Colors", "Dial_Color", "255", ini);
  EXPECT_EQ(Read_Ini_Value("COLORS", "dial_color", "0", ini), "255");
  EXPECT_EQ(Read_Ini_Value("Colors", "Text_Color", "dflt", ini), "dflt");
}

TEST_F(SettingsFileTest, FileWrittenFromScratchHasTheWriteOrder) {
  const std::string samples = tmp.str() + "/samples/";
  s.LoadPath = samples;
  Save_Settings(t.ctx);
  Save_Recording_Settings(t.ctx);
  EXPECT_EQ(ReadText(ini),
            "[Colors]\r\nDial_Color=16777215\r\nLED_Set_Color=65280\r\nLED_BM_Color=16711680\r\n"
            "LED_Lag_Color=255\r\nPanel_Color=10070316\r\nBackground_Color=0\r\n"
            "GraphSheet_Color=11924207\r\nGraphPen_Color=0\r\nGraphGrid_Color=12632256\r\n"
            "MainNeedle_Color=255\r\nShadowNeedleColor_Index=1\r\nScale_Color=12615680\r\n"
            "FreezeNeedle_Color=0\r\nText_Color=0\r\n"
            "\r\n[Format]\r\nNeedle_Width=4\r\nDialType=1\r\nScaleType=0\r\nRecordVisible=True\r\n"
            "GraphHeight_Index=3\r\nGraphVisible=False\r\nClockType=1\r\nClockLeft=False\r\n"
            "DateType=1\r\n"
            "\r\n[Settings]\r\nSwitchMode_Index=1\r\nDataLag_Index=2\r\nBM_Threshold_Index=2\r\n"
            "Freeze_Threshold_Index=2\r\nFreezeEnable=False\r\nNeedleBdEnable=False\r\n"
            "zk3SensorMode=False\r\n"
            "\r\n[Graph]\r\nGraphInvert=False\r\nGraphPenWidth_Index=2\r\nGridX=False\r\n"
            "GridY=False\r\nGraphTimescale=8\r\nGraphGain=0\r\n"
            "\r\n[Recording]\r\nSavePath=\r\nSavePrefix=Prefix_\r\nLoadPath=" +
                samples +
                "\r\nRecordingMode=2\r\nSuffixType=1\r\nSuffixNum=1\r\nAudioEnable=True\r\n"
                "RecPromptEnable=True\r\nTimeDateEnable=True\r\nPlayLoopEnable=False\r\n");
}

TEST_F(SettingsFileTest, SavedFileReadsBackIntoTheSameRecord) {
  SetEveryField();
  Save_Settings(t.ctx);
  Save_Recording_Settings(t.ctx);
  const std::string first = ReadText(ini);

  test::TestContext other;
  other.ctx.programFolder = tmp.str();
  other.settings.SettingsFilePath = ini;
  Load_Settings(other.ctx);
  EXPECT_TRUE(Settings_Unchanged(other.ctx));
  // Writing the loaded record elsewhere gives the same file, so every field came back.
  other.settings.SettingsFilePath = tmp.File("copy.ini");
  Save_Settings(other.ctx);
  Save_Recording_Settings(other.ctx);
  EXPECT_EQ(ReadText(tmp.File("copy.ini")), first);
  EXPECT_EQ(other.settings.Text_Color, -13);
  EXPECT_EQ(other.settings.GraphTimescale, "16");
  EXPECT_EQ(other.settings.SavePath, "/data/rec/");
}

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndTheDefaultPath) {
  SetEveryField();
  s.SettingsFilePath = tmp.File("gone.ini");
  Load_Settings(t.ctx);
  EXPECT_EQ(s.SettingsFilePath, ini);
  EXPECT_EQ(s.Dial_Color, 16777215);
  EXPECT_EQ(s.ShadowNeedleColor_Index, 1);
  EXPECT_TRUE(s.RecordVisible);
  EXPECT_FALSE(s.GraphVisible);
  EXPECT_EQ(s.GraphHeight_Index, "3");
  EXPECT_EQ(s.SavePrefix, "Prefix_");
  EXPECT_EQ(s.LoadPath, tmp.str() + "/samples/");
  EXPECT_TRUE(s.AudioEnable);
  EXPECT_FALSE(std::filesystem::exists(ini));  // loading never creates the file
}

// The defaults of the file and of the record are one: every key missing from the file
// loads as the field's initial value, and a fresh record is unchanged against no file.
TEST_F(SettingsFileTest, EveryMissingKeyLoadsAsTheRecordsDefault) {
  SetEveryField();
  Load_Settings(t.ctx);  // no file yet
  s.SettingsFilePath = tmp.File("loaded.ini");
  Save_Settings(t.ctx);
  Save_Recording_Settings(t.ctx);

  test::TestContext fresh;
  fresh.ctx.programFolder = tmp.str();
  fresh.settings.LoadPath = s.LoadPath;  // the one default computed from the program folder
  fresh.settings.SettingsFilePath = tmp.File("none.ini");
  EXPECT_TRUE(Settings_Unchanged(fresh.ctx));
  fresh.settings.SettingsFilePath = tmp.File("fresh.ini");
  Save_Settings(fresh.ctx);
  Save_Recording_Settings(fresh.ctx);
  EXPECT_EQ(ReadText(tmp.File("loaded.ini")), ReadText(tmp.File("fresh.ini")));
}

TEST_F(SettingsFileTest, ConversionRules) {
  WriteText(ini,
            "[Colors]\nDial_Color=abc\nLED_Set_Color=2.5\nLED_BM_Color=3.5\n"
            "ShadowNeedleColor_Index=40000\nText_Color=-7\n"
            "[Format]\nNeedle_Width=2.5\nRecordVisible=1\nGraphVisible=true\nClockLeft=TRUE\n"
            "GraphHeight_Index=tall\n"
            "[Settings]\nFreezeEnable=-1\nNeedleBdEnable=maybe\nDataLag_Index=1e1\n"
            "[Graph]\nGraphInvert=0\nGraphTimescale=4.5\n"
            "[Recording]\nSuffixNum=32768\nRecordingMode=3000000000\n");
  s.Dial_Color = 0;  // as at start-up
  s.ShadowNeedleColor_Index = 3;
  s.NeedleBdEnable = true;
  s.SuffixNum = 9;
  s.RecordingMode = 5;
  Load_Settings(t.ctx);
  EXPECT_EQ(s.Dial_Color, 0);     // "abc" keeps the field's value
  EXPECT_EQ(s.LED_Set_Color, 2);  // halves to even
  EXPECT_EQ(s.LED_BM_Color, 4);
  EXPECT_EQ(s.ShadowNeedleColor_Index, 3);  // does not fit 16 bits: kept
  EXPECT_EQ(s.Text_Color, -7);
  EXPECT_EQ(s.Needle_Width, 2);
  EXPECT_TRUE(s.RecordVisible);
  EXPECT_TRUE(s.GraphVisible);
  EXPECT_TRUE(s.ClockLeft);
  EXPECT_EQ(s.GraphHeight_Index, "tall");  // text fields take the text as it is
  EXPECT_TRUE(s.FreezeEnable);
  EXPECT_TRUE(s.NeedleBdEnable);  // "maybe" keeps the field's value
  EXPECT_EQ(s.DataLag_Index, 10);
  EXPECT_FALSE(s.GraphInvert);
  EXPECT_EQ(s.GraphTimescale, "4.5");
  EXPECT_EQ(s.SuffixNum, 9);
  EXPECT_EQ(s.RecordingMode, 5);
  EXPECT_EQ(s.Panel_Color, 10070316);  // missing keys take their defaults
}

TEST_F(SettingsFileTest, StylesNoOptionCanChooseTakeTheirDefaults) {
  WriteText(ini, "[Format]\nDialType=99\nScaleType=-1\nClockType=4\nDateType=-3\n");
  Load_Settings(t.ctx);
  EXPECT_EQ(s.DialType, 1);
  EXPECT_EQ(s.ScaleType, 0);
  EXPECT_EQ(s.ClockType, 1);
  EXPECT_EQ(s.DateType, 1);
  EXPECT_TRUE(Settings_Unchanged(t.ctx));  // the reset is no change of the user's
  s.DialType = 2;
  EXPECT_FALSE(Settings_Unchanged(t.ctx));
  WriteText(ini, "[Format]\nDialType=3\nScaleType=1\nClockType=0\nDateType=2\n");
  Load_Settings(t.ctx);  // the ends of each option range stay as stored
  EXPECT_EQ(s.DialType, 3);
  EXPECT_EQ(s.ScaleType, 1);
  EXPECT_EQ(s.ClockType, 0);
  EXPECT_EQ(s.DateType, 2);
}

TEST_F(SettingsFileTest, JunkHugeAndFolderSettingsFilesLoadDefaults) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  WriteText(ini, junk);
  Load_Settings(t.ctx);
  EXPECT_EQ(s.Dial_Color, 16777215);
  EXPECT_EQ(s.DialType, 1);

  // 10 MB: one long value and many lines; the value is cut, the rest still loads.
  std::string big = "[Colors]\nPanel_Color=" + std::string(5'000'000, '9') + "\n";
  for (int i = 0; big.size() < 10'000'000; ++i) big += "Key" + std::to_string(i) + "=x\n";
  big += "[Format]\nNeedle_Width=6\n";
  WriteText(ini, big);
  s.Panel_Color = 5;
  Load_Settings(t.ctx);
  EXPECT_EQ(s.Panel_Color, 5);  // 254 nines do not fit 32 bits: kept
  EXPECT_EQ(s.Needle_Width, 6);

  s.SettingsFilePath = tmp.str();  // a folder: the default file takes its place
  Load_Settings(t.ctx);
  EXPECT_EQ(s.SettingsFilePath, ini);
}

TEST_F(SettingsFileTest, RecordVisibleAsTrueTextAndAfterSave) {
  WriteText(ini, "[Format]\nRecordVisible=True\n");
  s.RecordVisible = false;
  Load_Settings(t.ctx);
  EXPECT_TRUE(s.RecordVisible);
  WriteText(ini, "[Format]\nRecordVisible=1\n");
  s.RecordVisible = false;
  Load_Settings(t.ctx);
  EXPECT_TRUE(s.RecordVisible);
  Save_Settings(t.ctx);
  EXPECT_EQ(Read_Ini_Value("Format", "RecordVisible", "", ini), "True");
}

TEST_F(SettingsFileTest, SavesKeepOtherSectionsAndEachOther) {
  WriteText(ini, "; hand-made\n[Colors]\nDial_Color=1\nMyOwn=x\n[Plugins]\nz=1\n");
  Load_Settings(t.ctx);
  Save_Settings(t.ctx);
  Save_Recording_Settings(t.ctx);
  auto doc = IniDocument::Load(ini);
  EXPECT_EQ(ReadText(ini).rfind("; hand-made\n[Colors]\nDial_Color=1\n", 0), 0u);
  EXPECT_EQ(doc.Get("Colors", "MyOwn"), "x");
  EXPECT_EQ(doc.Get("Plugins", "z"), "1");
  EXPECT_EQ(doc.Get("Recording", "SavePrefix"), "Prefix_");
  EXPECT_EQ(doc.Get("Graph", "GraphGain"), "0");

  // Save_Settings leaves the Recording section as it is and the other way round.
  s.SavePrefix = "New_";
  s.Dial_Color = 2;
  Save_Settings(t.ctx);
  EXPECT_EQ(Read_Ini_Value("Recording", "SavePrefix", "", ini), "Prefix_");
  Save_Recording_Settings(t.ctx);
  EXPECT_EQ(Read_Ini_Value("Recording", "SavePrefix", "", ini), "New_");
}

TEST_F(SettingsFileTest, SaveReplacingDropsEverythingElse) {
  WriteText(ini, "[Recording]\nSavePath=/old\n[Other]\nk=v\n");
  Save_Settings_Replacing(t.ctx);
  auto doc = IniDocument::Load(ini);
  EXPECT_FALSE(doc.Get("Recording", "SavePath"));
  EXPECT_FALSE(doc.Get("Other", "k"));
  EXPECT_EQ(doc.Get("Graph", "GraphTimescale"), "8");
}

TEST_F(SettingsFileTest, UnchangedRightAfterSaveAndNotAfterOneChange) {
  SetEveryField();
  Save_Settings(t.ctx);
  EXPECT_TRUE(Settings_Unchanged(t.ctx));
  s.GridY = false;
  EXPECT_FALSE(Settings_Unchanged(t.ctx));
  s.GridY = true;
  s.GraphTimescale = "abc";
  EXPECT_FALSE(Settings_Unchanged(t.ctx));
  s.GraphTimescale = "16";
  s.SuffixNum = 1000;  // the Recording section is never compared
  EXPECT_TRUE(Settings_Unchanged(t.ctx));
}

TEST_F(SettingsFileTest, UnchangedComparisonRules) {
  // No file: every field at its default counts as unchanged.
  EXPECT_TRUE(Settings_Unchanged(t.ctx));
  // Numbers compare as numbers; texts that do not convert are skipped.
  WriteText(ini,
            "[Colors]\nDial_Color=16777215.0\nText_Color=zz\n"
            "[Format]\nGraphHeight_Index=3.0\nRecordVisible=-1\n");
  s.Text_Color = 99;
  EXPECT_TRUE(Settings_Unchanged(t.ctx));
  s.Text_Color = 0;
  // A stored fraction differs from the rounded field.
  WriteText(ini, "[Format]\nNeedle_Width=4.4\n");
  EXPECT_FALSE(Settings_Unchanged(t.ctx));
  // A text-or-number field holding a text compares as text.
  WriteText(ini, "[Format]\nGraphHeight_Index=High\n");
  s.GraphHeight_Index = "high";
  EXPECT_FALSE(Settings_Unchanged(t.ctx));
  s.GraphHeight_Index = "High";
  EXPECT_TRUE(Settings_Unchanged(t.ctx));
}

TEST_F(SettingsFileTest, LongValuesAreCutOnLoad) {
  Write_Ini_Value("Recording", "SavePath", std::string(300, 'p'), ini);
  Load_Settings(t.ctx);
  EXPECT_EQ(s.SavePath, std::string(254, 'p'));
}

}  // namespace
}  // namespace zk
