#pragma once
// Reviewing the recording in memory: View > Overview opens the overview window, "]" and
// "[" (and Recording > Next Tag, Previous Tag) move the play position between tags, and
// File > Export Recording... writes it for other programs. The overview keeps its size
// and place in the INI's own [Overview] section. The overview holds the tag list, whose
// notes (RecordingNotes) the export carries too.
#include <QWidget>

#include <memory>

#include "app/KeyFilter.h"
#include "app/RecordingExport.h"
#include "app/frmOverview.h"
#include "core/CommandTable.h"
#include "core/Context.h"
#include "recording/RecordingNotes.h"

namespace zk {

class Player;

inline constexpr const char* OverviewSection = "Overview";

class RecordingReview {
 public:
  // The overview passes its keys to the main window's keyboard through `keys`.
  RecordingReview(Context& ctx, Player& player, QWidget& mainWindow, KeyFilter& keys, RecordingNotes& notes);

  void Register_Commands(CommandTable& commands);

  void mnuViewOverview_Click();
  void Next_Tag();
  void Previous_Tag();
  // Export wants a recording; the tag items want tags.
  void Update_Menus();
  // What the seek bar shows has changed (the play position, the range, the recording, the
  // transport): a shown overview follows it once the present event is done.
  void Position_Changed();
  // The main window is closing: the overview's place is written and the window closed.
  void Close();

  // Null until View > Overview first opens it.
  frmOverview* Overview() { return overview_.get(); }
  RecordingExport& Export() { return export_; }

 private:
  void Jump(bool forward);
  void Place_Window();
  void Save_Place();

  Context& ctx_;
  Player& player_;
  QWidget& main_;
  KeyFilter& keys_;
  RecordingNotes& notes_;
  std::unique_ptr<frmOverview> overview_;
  RecordingExport export_;
};

}  // namespace zk
