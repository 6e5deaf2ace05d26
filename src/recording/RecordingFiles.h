#pragma once
// Picking recordings to load: the load dialog behind the load button and the list of a
// numbered series (name001, name002 ...) opened by a right click on the load button. Also
// the small file-system questions they ask.
#include <string>

#include "core/Context.h"
#include "core/StreamGate.h"
#include "core/TransportView.h"
#include "recording/RecordingMemory.h"

namespace zk {

class Player;
class Transport;

// cboFile, the drop-down list of a series, as the file commands use it.
class SeriesList {
 public:
  virtual ~SeriesList() = default;
  virtual void Clear() = 0;
  virtual void AddItem(const std::string& text) = 0;
  // Selects entry `index` (0-based) without raising the list's click event.
  virtual void SetListIndex(int index) = 0;
  // The selected entry's text; empty when none is selected.
  virtual std::string Text() const = 0;
  virtual void DropDown() = 0;
  // While the list is open the keys go to it instead of the window's key handler.
  virtual void SetKeyPreview(bool on) = 0;
};

// True when `path` names an existing file or folder.
bool File_Exists(const std::string& path);
// True when `path` names an existing folder.
bool Folder_Exists(const std::string& path);

class RecordingFiles {
 public:
  RecordingFiles(Context& ctx, Player& player, Transport& transport, TransportView& bar, StreamGate& gate,
                 RecordingMemory& memory, SeriesList& list);

  // "Load File for Playback".
  void cmdLoad_Click();
  // The right button opens the list of the loaded recording's series.
  void cmdLoad_MouseDown(int button);
  void cboFile_Click();
  void cboFile_KeyPress(int keyAscii);
  void cboFile_KeyDown(int keyCode);
  void cboFile_KeyUp(int keyCode);
  void cboFile_DblClick();
  void cboFile_LostFocus();

  // Opens a recording (its ".zkd", or the path without it) as the load dialog does once a
  // file is chosen, with the loading progress on the seek bar and the panel set up; false
  // (with the loader's message shown) when it does not load.
  bool Open_Recording(const std::string& path, const RecordingLeave& leave);

 private:
  bool Load(const std::string& basePath);
  void Take_Entry();
  void End_Playback();
  void Close_List();

  Context& ctx_;
  Player& player_;
  Transport& transport_;
  TransportView& bar_;
  StreamGate& gate_;
  RecordingMemory& memory_;
  SeriesList& list_;
  std::string sequenceStem_;   // the series' path without its three-digit number
  bool arrowKeyFlag_ = false;  // an arrow key is held in the list: moving does not load
};

}  // namespace zk
