#include "app/RecordingExport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/frmOverview.h"
#include "base/Numbers.h"
#include "base/OutputFile.h"
#include "base/ProgramFolder.h"
#include "base/Version.h"
#include "core/Banner.h"
#include "export/CsvExport.h"
#include "export/EdfExport.h"
#include "export/RecordRange.h"
#include "plot/SessionPicture.h"

namespace zk {

namespace {

std::string Extension(const std::string& path) {
  std::string e = std::filesystem::path(path).extension().string();
  std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return e;
}

// The start a recording without its header records gets: the program's clock at the
// start of a recording just made, else the moment of the export; the annotation says which.
EdfFallbackStart FallbackStart(const SessionState& st, Clock& clock) {
  if (st.RecordStartSeconds != 0)
    return {DateTimeOf(st.RecordDate, st.RecordStartSeconds), "Start time taken from the program's clock"};
  return {clock.Now(), "Start time not recorded: the time of the export"};
}

}  // namespace

std::string RecordingExport::Export(const std::string& path, std::optional<std::pair<int32_t, int32_t>> part) {
  const RecordFileData whole = RecordingInMemory(ctx_.state);
  const RecordFileData data = part ? RecordRange(whole, part->first, part->second) : whole;
  if (data.RecordCount < 1) return "There is no recording to export.";
  const std::string type = Extension(path);
  // The recording's own files, where it was loaded from or saved to, are never written
  // over, nor is anything that is no regular file.
  const SessionState& st = ctx_.state;
  std::vector<std::string> own;
  if (!st.RecordName.empty())
    for (const char* ext : {".zkd", ".wav", ".mp3", NotesExtension})
      own.push_back(JoinPath(ctx_.settings.LoadPath, st.RecordName + ext));
  if (const std::string why = OutputRefusal(path, own); !why.empty())
    return "Could not export to " + path + ": it " + why + ".";
  const TagNotes noNotes;
  const TagNotes& notes = notes_ ? notes_->Notes() : noNotes;
  FileError e;
  if (type == ".csv") {
    e = WriteCsv(data, path, notes);
  } else if (type == ".edf") {
    e = WriteEdf(data, FallbackStart(ctx_.state, ctx_.clock), path, notes);
  } else if (type == ".png") {
    const QSize size = pictureSize_ ? pictureSize_() : QSize();
    const int w = size.isValid() && size.width() >= 200 ? size.width() : 1600;
    const int h = size.isValid() && size.height() >= 150 ? size.height() : 900;
    const std::string name = ctx_.state.RecordName;
    e = plot::WritePng(plot::DrawSession(data, name, plot::WholeRecording(data), w, h, notes).image, path);
  } else {
    return "Could not export to " + path + ": choose a name ending in .csv, .edf or .png.";
  }
  return e ? "Could not write " + path + ": " + e.description : "";
}

void RecordingExport::mnuFileExport_Click() {
  const SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  FileDialogRequest req;
  req.title = "Export Recording";
  req.filter = ExportFilter;
  req.fileName = (st.RecordName.empty() ? std::string("recording") : st.RecordName) + ".csv";
  req.flags = 0x2;  // ask before overwriting
  // Beside the recording: where it was loaded from or saved to; one not yet saved, in
  // the folder it would be saved in.
  req.initDir =
      !st.RecordName.empty() && !ctx_.settings.LoadPath.empty() ? ctx_.settings.LoadPath : ctx_.settings.SavePath;
  // A play range less than the whole recording: that part alone, if the user wants it.
  std::optional<std::pair<int32_t, int32_t>> part;
  const int32_t first = std::max(1, st.RangeStartIndex);
  const int32_t last = st.RangeEndIndex < 1 ? st.RecordCount : std::min(st.RangeEndIndex, st.RecordCount);
  if (st.OperatingMode != ModePlayback && (first > 1 || last < st.RecordCount) && first <= last) {
    const auto time = [&](int32_t k) { return Format_Time(st.RecordBuffer[k].TimeMs / 1000, st.TotalTimeMs); };
    const MsgResult answer = ctx_.prompts.MsgBox("Export only the selected part of the recording, " + time(first) +
                                                     " to " + time(last) + "?\n\nNo exports the whole recording.",
                                                 ProgramTitle, MsgButtons::YesNoCancel, MsgIcon::Question);
    if (answer == MsgResult::Cancel) return;
    if (answer == MsgResult::Yes) part = std::make_pair(first, last);
  }
  const std::optional<std::string> path = ctx_.prompts.SaveFile(req);
  if (!path || path->empty()) return;
  const std::string failure = Export(*path, part);
  if (!failure.empty())
    ctx_.prompts.MsgBox(failure, ProgramTitle, MsgButtons::OK, MsgIcon::Critical);
  else
    Show_Message(ctx_, "Exported to " + *path);
}

}  // namespace zk
