// The overview window in the main window: a click in the picture moves the play
// position as the seek bar does, the tag keys and menus, export, and its place in the INI.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "Fakes.h"
#include "QtTestApp.h"
#include "TestFiles.h"
#include "app/frmMain.h"
#include "base/IniFile.h"
#include "base/RecordingCodes.h"
#include "sound/AudioFactory.h"
#include "zkd/RecordCodec.h"
#include "zkd/RecordFile.h"
#include "zkd/StartTexts.h"
#include "zkd/TagNotes.h"

namespace zk {
namespace {

struct frmOverviewTest : ::testing::Test {
  void SetUp() override {
    test::TestApp();
    // 3000 readings (a minute) with tags at records 500, 1500 and 2500; sound off.
    std::vector<SampleRecord> records = test::Readings(3000);
    for (int k : {500, 1500, 2500}) {
      records[k].Marker = 'T';
      records[k].Tag = static_cast<uint16_t>(k / 1000 + 1);
    }
    EXPECT_FALSE(WriteRecordFile(home.File("take007.zkd"), records, 3000, std::nullopt));
    home.Write("zk3_Zodovaz.ini", "[Recording]\r\nAudioEnable=False\r\n");
    Start();
    ASSERT_EQ(f->ctx().state.RecordCount, 3000);
  }
  // The program started with take007 loaded.
  void Start() {
    StartOptions o;
    o.programFolder = home.str();
    o.recording = home.File("take007.zkd");
    o.prompts = &prompts;
    o.audio = MakeNullAudioDevice(clock);
    f = std::make_unique<frmMain>(std::move(o));
    f->Form_Load();
  }
  frmOverview& Open() {
    f->Choose("mnuViewOverview");
    frmOverview& w = *f->review().Overview();
    w.resize(800, 400);
    w.Redraw();
    return w;
  }
  void Click(QWidget& w, int x, int toX = -1) {
    const QPointF at(x, 200), to(toX < 0 ? x : toX, 200);
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &press);
    QMouseEvent move(QEvent::MouseMove, to, w.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, w.mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &release);
  }
  void Key(int code) {
    f->keyboard().Form_KeyDown(code, false);
    f->keyboard().Form_KeyUp(code);
  }
  test::TempFolder home;
  test::ScriptedPrompts prompts;
  SystemClock clock;
  std::unique_ptr<frmMain> f;
};

TEST_F(frmOverviewTest, AClickMovesThePlayPositionThereAndADragSelectsARange) {
  frmOverview& w = Open();
  const SessionState& st = f->ctx().state;
  EXPECT_EQ(w.windowTitle(), "Overview - take007");
  ASSERT_FALSE(w.Picture().isNull());
  // The tag list takes the right of the window, the picture the rest.
  EXPECT_EQ(w.Picture().size(), QSize(500, 400));

  // Stopped, a click makes the play range start there and run to the end, as on the
  // seek bar: Play then starts from that record.
  const int x = w.Navigator().XOf(1200);
  Click(w, x);
  EXPECT_EQ(st.RangeStartIndex, w.Navigator().RecordAt(x));
  EXPECT_NEAR(st.RangeStartIndex, 1200, 10);
  EXPECT_EQ(st.RangeEndIndex, 3000);
  // Record 1200 is at 23.98 s; its column holds 24 s, where the click goes.
  EXPECT_EQ(f->controls().Caption("lblPlayTime"), "00:24");
  EXPECT_EQ(w.CursorX(), x);

  // A drag selects the range between its ends.
  Click(w, w.Navigator().XOf(2400), w.Navigator().XOf(600));
  EXPECT_NEAR(st.RangeStartIndex, 600, 10);
  EXPECT_NEAR(st.RangeEndIndex, 2400, 10);

  // While paused, a click inside the range moves the play position and leaves the range.
  SessionState& s = f->ctx().state;
  s.OperatingMode = ModePlayback;
  s.PlayState = PlayPaused;
  Click(w, w.Navigator().XOf(1000));
  EXPECT_NEAR(s.RecordIndex, 1000, 10);
  EXPECT_NEAR(st.RangeStartIndex, 600, 10);
  Click(w, w.Navigator().XOf(2900));  // outside the range: nothing, as on the seek bar
  EXPECT_NEAR(s.RecordIndex, 1000, 10);
  s.OperatingMode = ModeNone;
  s.PlayState = PlayStopped;
}

TEST_F(frmOverviewTest, BracketKeysAndTheMenuMoveBetweenTags) {
  const SessionState& st = f->ctx().state;
  EXPECT_TRUE(f->controls().Enabled("mnuRecNextTag"));
  EXPECT_TRUE(f->controls().Enabled("mnuFileExport"));
  Key(vk::BracketRight);
  EXPECT_EQ(st.RangeStartIndex, 500);
  Key(vk::BracketRight);
  EXPECT_EQ(st.RangeStartIndex, 1500);
  f->Choose("mnuRecNextTag");
  EXPECT_EQ(st.RangeStartIndex, 2500);
  Key(vk::BracketRight);  // no tag after the last: nothing happens
  EXPECT_EQ(st.RangeStartIndex, 2500);
  Key(vk::BracketLeft);
  EXPECT_EQ(st.RangeStartIndex, 1500);
  f->Choose("mnuRecPrevTag");
  Key(vk::BracketLeft);
  EXPECT_EQ(st.RangeStartIndex, 500);
}

// The cursor follows what the seek bar is told, when it is told: a tag key in the main
// window moves it once the key's event is done, and an idle window does no work.
TEST_F(frmOverviewTest, TheCursorFollowsTheSeekBarWithoutATimer) {
  frmOverview& w = Open();
  const SessionState& st = f->ctx().state;
  QCoreApplication::processEvents();
  ASSERT_EQ(w.CursorX(), w.Navigator().XOf(1));
  Key(vk::BracketRight);
  ASSERT_EQ(st.RangeStartIndex, 500);
  EXPECT_EQ(w.CursorX(), w.Navigator().XOf(1));  // not in the middle of the key's work
  QCoreApplication::processEvents();
  EXPECT_EQ(w.CursorX(), w.Navigator().XOf(500));
  // Nothing drawn on the bar, nothing followed: a play position changed behind the
  // bar's back stays unseen however long the window waits.
  f->ctx().state.RangeStartIndex = 2500;
  QTest::qWait(60);
  EXPECT_EQ(w.CursorX(), w.Navigator().XOf(500));
  f->Choose("mnuRecPrevTag");
  QCoreApplication::processEvents();
  EXPECT_EQ(w.CursorX(), w.Navigator().XOf(1500));
}

// A recording just made carries its start in memory only in the session, not in header
// records: the overview and the export take it from there, as the saved file has it.
TEST_F(frmOverviewTest, AFreshRecordingShowsItsStartAsTheSavedFileDoes) {
  frmOverview& w = Open();
  const QImage plain = w.Picture();
  SessionState& st = f->ctx().state;
  EXPECT_FALSE(HasStartTime(RecordingInMemory(st)));
  st.RecordStartSeconds = 10 * 3600 + 15 * 60;
  st.RecordDate = DateSerial(2026, 3, 14);
  st.RecordStartDay = st.RecordDate - DateSerial(1999, 12, 31);
  const RecordFileData d = RecordingInMemory(st);
  ASSERT_TRUE(HasStartTime(d) && HasStartDate(d));
  EXPECT_EQ(HeaderStartSeconds(d.records[1]), st.RecordStartSeconds);
  EXPECT_EQ(HeaderStartDay(d.records[2]), st.RecordStartDay);
  EXPECT_NE(st.RecordBuffer[1].Marker, 'C');  // the buffer keeps its readings
  w.Redraw();
  EXPECT_NE(w.Picture(), plain);  // the clock row and the date
}

// With a part selected, the export offers it alone: Yes writes that part, No the whole,
// Cancel nothing.
TEST_F(frmOverviewTest, ExportOffersTheSelectedPart) {
  frmOverview& w = Open();
  Click(w, w.Navigator().XOf(2001), w.Navigator().XOf(1001));  // 20 s .. 40 s
  const SessionState& st = f->ctx().state;
  const int32_t first = st.RangeStartIndex, last = st.RangeEndIndex;
  ASSERT_LT(last - first, 1100);
  auto lines = [&](const std::string& name) {
    const std::string text = home.Read(name);
    return std::count(text.begin(), text.end(), '\n');
  };
  prompts.files.push_back(home.File("part.csv"));
  f->Choose("mnuFileExport");  // answered Yes
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_NE(prompts.shown[0].text.find("00:20 to 00:40"), std::string::npos) << prompts.shown[0].text;
  EXPECT_EQ(lines("part.csv"), last - first + 2);  // the heading and the part's records
  prompts.answers = {MsgResult::No};
  prompts.files.push_back(home.File("whole.csv"));
  f->Choose("mnuFileExport");
  EXPECT_EQ(lines("whole.csv"), 3001);
  prompts.answers = {MsgResult::Cancel};
  f->Choose("mnuFileExport");
  EXPECT_EQ(prompts.fileRequests.size(), 2u);  // no dialog after Cancel
  prompts.files.push_back(home.File("part.edf"));
  f->Choose("mnuFileExport");
  EXPECT_GT(std::filesystem::file_size(home.File("part.edf")), 1000u);
}

// The wheel zooms about the pointer, a Ctrl drag to the span dragged, Back returns; the
// time under the pointer stands in the corner, with the clock when the start is known.
TEST_F(frmOverviewTest, ZoomAndTheTimeUnderThePointer) {
  frmOverview& w = Open();
  auto wheel = [&](int x, int delta) {
    const QPointF at(x, 200);
    QWheelEvent e(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QCoreApplication::sendEvent(&w, &e);
  };
  auto hover = [&](int x) {
    const QPointF at(x, 200);
    QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move);
  };
  const int at30 = w.Navigator().XOf(1501);  // 30 s
  hover(at30);
  EXPECT_EQ(w.Readout(), "00:30.0");  // a minute over 500 pixels: below a second a column, tenths
  wheel(at30, 120);
  ASSERT_TRUE(w.Zoom());
  EXPECT_NEAR(w.Zoom()->toMs - w.Zoom()->fromMs, 59980 / 2, 1);
  EXPECT_TRUE(w.Zoom()->Holds(30000));
  EXPECT_EQ(w.Navigator().Range().fromMs, w.Zoom()->fromMs);  // the picture is of the span alone
  EXPECT_EQ(w.Picture().size(), QSize(500, 400));
  EXPECT_NEAR(w.Navigator().XOf(1501), at30, 2);  // 30 s stays under the pointer

  // A Ctrl drag zooms to the span dragged; a click there still moves the play position.
  const int32_t rangeStart = f->ctx().state.RangeStartIndex;
  const int from = w.Navigator().XOf(1251), to = w.Navigator().XOf(1351);  // 25 s .. 27 s
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(from, 200), w.mapToGlobal(QPointF(from, 200)), Qt::LeftButton,
                    Qt::LeftButton, Qt::ControlModifier);
  QCoreApplication::sendEvent(&w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(to, 200), w.mapToGlobal(QPointF(to, 200)), Qt::LeftButton,
                      Qt::NoButton, Qt::ControlModifier);
  QCoreApplication::sendEvent(&w, &release);
  ASSERT_TRUE(w.Zoom());
  EXPECT_NEAR(w.Zoom()->fromMs, 25000, 100);
  EXPECT_NEAR(w.Zoom()->toMs, 27000, 100);
  EXPECT_EQ(f->ctx().state.RangeStartIndex, rangeStart);  // the drag selected no play range
  hover(w.Navigator().XOf(1301));
  EXPECT_EQ(w.Readout(), "00:26.0");
  Click(w, w.Navigator().XOf(1301));
  EXPECT_EQ(f->ctx().state.RangeStartIndex, 1301);

  // Back, by the key's action and by the button, to the spans before.
  auto* back = w.findChild<QAction*>("actOverviewBack");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->shortcut(), QKeySequence(Qt::Key_Backspace));
  back->trigger();
  EXPECT_NEAR(w.Zoom()->toMs - w.Zoom()->fromMs, 59980 / 2, 1);
  w.findChild<QToolButton*>("cmdOverviewBack")->click();
  EXPECT_FALSE(w.Zoom());
  EXPECT_EQ(w.Navigator().Range().toMs, 59980);

  // Zoomed out past the whole recording: the whole of it.
  wheel(at30, 120);
  wheel(at30, -240);
  EXPECT_FALSE(w.Zoom());

  // The clock time when the recording carries its start.
  f->ctx().state.RecordStartSeconds = 10 * 3600;
  hover(at30 + 1);
  hover(at30);
  EXPECT_EQ(w.Readout(), "00:30.0   10:00:30");
  f->ctx().state.RecordStartSeconds = 0;
}

// The overview has the keyboard: its keys reach the main window's key handler, so a click
// in the picture and then P plays from there without a click on the main window.
TEST_F(frmOverviewTest, KeysPressedInTheOverviewReachTheKeyHandler) {
  frmOverview& w = Open();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(w.isActiveWindow());
  const SessionState& st = f->ctx().state;
  auto press = [&](QWidget& to, Qt::Key key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&to, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&to, &up);
  };
  press(w, Qt::Key_BracketRight, "]");
  EXPECT_EQ(st.RangeStartIndex, 500);
  press(w, Qt::Key_BracketRight, "]");
  EXPECT_EQ(st.RangeStartIndex, 1500);
  press(w, Qt::Key_BracketLeft, "[");
  EXPECT_EQ(st.RangeStartIndex, 500);

  // A text field of the overview keeps what is typed into it.
  QLineEdit field(&w);
  press(field, Qt::Key_BracketRight, "]");
  EXPECT_EQ(st.RangeStartIndex, 500);
}

// Typing into a field of the overview, as a user does: each character, then Enter.
void Type(QWidget& field, const QString& text) {
  field.setFocus();
  for (const QChar c : text) {
    QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&field, &down);
  }
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(&field, &enter);
}

// The tag list: each tag with its time; a click on a row moves there as "]" does and
// takes the typing into that tag's note, which is written beside the recording at once,
// comes back when the program starts again, and goes into the exports.
TEST_F(frmOverviewTest, TheTagListJumpsAndKeepsNotesBesideTheRecording) {
  frmOverview& w = Open();
  QApplication::setActiveWindow(&w);
  TagList* list = w.Tags();
  ASSERT_TRUE(list);
  const auto& rows = list->Model().Rows();
  ASSERT_EQ(rows.size(), 3u);
  const TagTableModel& m = list->Model();
  EXPECT_EQ(m.data(m.index(1, TagTableModel::Number), Qt::DisplayRole).toInt(), 2);
  EXPECT_EQ(m.data(m.index(1, TagTableModel::Time), Qt::DisplayRole).toString(), "00:29");
  EXPECT_EQ(m.data(m.index(1, TagTableModel::Clock), Qt::DisplayRole).toString(), "");  // no start time
  EXPECT_FALSE(list->Note_Field().isEnabled());                                         // no tag chosen yet

  list->Choose_Row(1);
  const SessionState& st = f->ctx().state;
  EXPECT_EQ(st.RangeStartIndex, 1500);
  EXPECT_EQ(list->Chosen_Tag(), 2);
  // "P" and "]" typed into the note are text, not transport keys.
  Type(list->Note_Field(), "Pause ] here, \"why\"");
  EXPECT_EQ(st.OperatingMode == ModePlayback, false);
  EXPECT_EQ(st.RangeStartIndex, 1500);
  EXPECT_EQ(m.data(m.index(1, TagTableModel::Note), Qt::DisplayRole).toString(), "Pause ] here, \"why\"");
  Type(list->Session_Field(), "Évening");
  EXPECT_EQ(LoadNotes(home.File("take007")).notes.Of(2), "Pause ] here, \"why\"");
  EXPECT_EQ(LoadNotes(home.File("take007")).notes.session, "Évening");
  EXPECT_TRUE(prompts.shown.empty());

  // The exports carry them.
  prompts.files.push_back(home.File("n.csv"));
  f->Choose("mnuFileExport");
  const std::string csv = home.Read("n.csv");
  EXPECT_EQ(
      csv.rfind("# session: Évening\nindex,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter,note\n",
                0),
      0u);
  EXPECT_NE(csv.find("\n1500,"), std::string::npos);
  EXPECT_NE(csv.find(",T,O,\"Pause ] here, \"\"why\"\"\"\n"), std::string::npos) << csv.substr(0, 400);

  // Closed and started again, the notes come back with the recording, and nothing is said.
  prompts.shown.clear();  // the export's question about the part selected by the click
  f.reset();
  Start();
  frmOverview& again = Open();
  const TagTableModel& m2 = again.Tags()->Model();
  EXPECT_EQ(m2.data(m2.index(1, TagTableModel::Note), Qt::DisplayRole).toString(), "Pause ] here, \"why\"");
  EXPECT_EQ(again.Tags()->Session_Field().text(), "Évening");
  for (const auto& m : prompts.shown) ADD_FAILURE() << m.text;
}

TEST_F(frmOverviewTest, ExportWritesEachTypeAndTheWindowKeepsItsPlace) {
  frmOverview& w = Open();
  for (const char* name : {"r.csv", "r.edf", "r.png"}) {
    prompts.files.push_back(home.File(name));
    f->Choose("mnuFileExport");
    EXPECT_TRUE(std::filesystem::file_size(home.File(name)) > 1000) << name;
  }
  EXPECT_EQ(QImage(QString::fromStdString(home.File("r.png"))).size(), QSize(800, 400));
  EXPECT_TRUE(prompts.shown.empty());
  // A name of no known type is refused with a message naming it.
  prompts.files.push_back(home.File("r.txt"));
  f->Choose("mnuFileExport");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_NE(prompts.shown[0].text.find(home.File("r.txt")), std::string::npos);

  w.resize(700, 300);
  f->review().Close();
  const IniDocument ini = IniDocument::Load(home.File("zk3_Zodovaz.ini"));
  EXPECT_EQ(ini.Get("Overview", "Width"), "700");
  EXPECT_EQ(ini.Get("Overview", "Height"), "300");
  EXPECT_EQ(ini.Get("Recording", "AudioEnable"), "False");  // the rest of the file is kept
}

}  // namespace
}  // namespace zk
