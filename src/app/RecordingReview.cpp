#include "app/RecordingReview.h"

#include <QGuiApplication>
#include <QScreen>

#include "base/IniFile.h"
#include "base/Numbers.h"
#include "plot/Navigator.h"
#include "recording/Player.h"

namespace zk {

namespace {

bool HasTags(const SessionState& st) {
  const int32_t n = Records_Held(st);
  for (int32_t k = 1; k <= n; ++k)
    if (st.RecordBuffer[k].Marker == 'T') return true;
  return false;
}

}  // namespace

RecordingReview::RecordingReview(Context& ctx, Player& player, QWidget& mainWindow, KeyFilter& keys,
                                 RecordingNotes& notes)
    : ctx_(ctx),
      player_(player),
      main_(mainWindow),
      keys_(keys),
      notes_(notes),
      export_(
          ctx, [this] { return overview_ && overview_->isVisible() ? overview_->size() : QSize(); }, &notes) {}

void RecordingReview::Register_Commands(CommandTable& commands) {
  commands.Add("mnuViewOverview", [this] { mnuViewOverview_Click(); });
  commands.Add("mnuRecNextTag", [this] { Next_Tag(); });
  commands.Add("mnuRecPrevTag", [this] { Previous_Tag(); });
  commands.Add("mnuFileExport", [this] { export_.mnuFileExport_Click(); });
}

void RecordingReview::mnuViewOverview_Click() {
  if (!overview_) {
    overview_ = std::make_unique<frmOverview>(
        ctx_.state,
        [this](const plot::Navigator::Selection& s) {
          if (s.range)
            player_.Seek_Bar().Select_Range(s.first, s.last);
          else
            player_.Seek_Bar().Seek_To_Record(s.first);
        },
        &main_, &notes_);
    keys_.Also_For(*overview_);
    Place_Window();
  }
  overview_->show();
  overview_->raise();
  overview_->activateWindow();
}

void RecordingReview::Place_Window() {
  // Four whole numbers, each within what a screen can have; anything else keeps the
  // window's own size and lets the desktop place it.
  const std::string ini = ctx_.settings.SettingsFilePath;
  const IniDocument doc = IniDocument::Load(ini);
  auto number = [&](const char* key) -> std::optional<int> {
    const std::optional<std::string> v = doc.Get(OverviewSection, key);
    if (!v) return std::nullopt;
    const std::optional<int32_t> n = ParseInt32(*v);
    if (!n || *n < -20000 || *n > 20000) return std::nullopt;
    return *n;
  };
  const auto left = number("Left"), top = number("Top"), width = number("Width"), height = number("Height");
  if (width && height && *width >= overview_->minimumWidth() && *height >= overview_->minimumHeight())
    overview_->resize(*width, *height);
  if (left && top) overview_->move(*left, *top);
}

void RecordingReview::Save_Place() {
  if (!overview_) return;
  const QRect g = overview_->normalGeometry().isValid() ? overview_->normalGeometry() : overview_->geometry();
  IniDocument doc = IniDocument::Load(ctx_.settings.SettingsFilePath);
  doc.Set(OverviewSection, "Left", std::to_string(overview_->x()));
  doc.Set(OverviewSection, "Top", std::to_string(overview_->y()));
  doc.Set(OverviewSection, "Width", std::to_string(g.width()));
  doc.Set(OverviewSection, "Height", std::to_string(g.height()));
  doc.Save(ctx_.settings.SettingsFilePath);
}

void RecordingReview::Close() {
  notes_.Write();
  if (!overview_) return;
  Save_Place();
  overview_->close();
}

void RecordingReview::Jump(bool forward) {
  const SessionState& st = ctx_.state;
  if (st.RecordCount < 1 || st.OperatingMode == ModeRecording) return;
  const int32_t n = Records_Held(st);
  const plot::Navigator nav(st.RecordBuffer, n, {0, std::max(0, st.TotalTimeMs)}, 0, 1);
  // Playing or paused, the play position moves inside the play range; stopped, it is
  // the range's start and any tag of the file can become it.
  const bool playing = st.OperatingMode == ModePlayback;
  const int32_t at = playing ? st.RecordIndex : std::max(1, st.RangeStartIndex);
  const int32_t lo = playing ? std::max(1, st.RangeStartIndex) : 1;
  const int32_t hi = playing && st.RangeEndIndex >= 1 ? st.RangeEndIndex : n;
  const std::optional<int32_t> tag = forward ? nav.NextTag(at, lo, hi) : nav.PreviousTag(at, lo, hi);
  if (tag) player_.Seek_Bar().Seek_To_Record(*tag);
}

void RecordingReview::Next_Tag() { Jump(true); }

void RecordingReview::Previous_Tag() { Jump(false); }

void RecordingReview::Update_Menus() {
  const SessionState& st = ctx_.state;
  const bool recording = st.OperatingMode == ModeRecording;
  ctx_.controls.SetEnabled("mnuFileExport", !recording && st.RecordCount >= 1);
  const bool tags = !recording && HasTags(st);
  ctx_.controls.SetEnabled("mnuRecNextTag", tags);
  ctx_.controls.SetEnabled("mnuRecPrevTag", tags);
  // The commands' state follows the mode, which the overview shows too ("Recording...").
  Position_Changed();
}

void RecordingReview::Position_Changed() {
  if (overview_ && overview_->isVisible()) overview_->Follow_Soon();
}

}  // namespace zk
