#pragma once
// File > Export Recording...: the recording in memory written as CSV (the columns of
// "zodovaz-zkd csv"), EDF+ or a PNG picture, by the type chosen in the save dialog. The
// recording itself is never changed; the file is written atomically, and a failure says
// which file and why. The notes on the recording go with it: a note column in the CSV,
// annotation texts in the EDF+, labels over the tags in the PNG. With a part of the recording selected as the play
// range, the export offers that part alone.
#include <QSize>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/Context.h"
#include "recording/RecordingNotes.h"

namespace zk {

class RecordingExport {
 public:
  // `pictureSize` gives the size of a PNG: the overview's when it is shown. The notes on
  // the recording, when given, go into every type of file.
  RecordingExport(Context& ctx, std::function<QSize()> pictureSize, const RecordingNotes* notes = nullptr)
      : ctx_(ctx), pictureSize_(std::move(pictureSize)), notes_(notes) {}

  void mnuFileExport_Click();
  // Writes the file of the type its extension names (.csv, .edf, .png); an empty text on
  // success, else the message for the user.
  // With `part`, records first..last alone, as a recording of their own.
  std::string Export(const std::string& path, std::optional<std::pair<int32_t, int32_t>> part = std::nullopt);

 private:
  Context& ctx_;
  std::function<QSize()> pictureSize_;
  const RecordingNotes* notes_;
};

// The filter of the export's save dialog.
inline constexpr const char* ExportFilter = "CSV (*.csv)|*.csv|EDF+ (*.edf)|*.edf|PNG picture (*.png)|*.png";

}  // namespace zk
