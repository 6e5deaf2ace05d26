#include "recording/RecordLoader.h"

#include <filesystem>
#include <system_error>

#include "base/Numbers.h"
#include "base/ProgramFolder.h"
#include "base/RecordingCodes.h"
#include "core/Context.h"
#include "core/ControlNames.h"
#include "core/SoundQueries.h"
#include "sound/AudioFactory.h"
#include "sound/SoundFile.h"
#include "sound/TrackDevice.h"

namespace zk {

namespace fs = std::filesystem;

namespace {

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

uintmax_t FileLength(const std::string& path) {
  std::error_code ec;
  const uintmax_t n = fs::file_size(path, ec);
  return ec ? 0 : n;
}

std::string SilentTrackPath(const Context& ctx) {
  return ctx.state.DummyAudioPath.empty() ? JoinPath(ctx.programFolder, SilentTrackFileName) : ctx.state.DummyAudioPath;
}

void Warn(Context& ctx, const std::string& text, const std::string& title) {
  ctx.prompts.MsgBox(text, title, MsgButtons::OK, MsgIcon::Warning);
}

// Opens a compressed track and takes its length.
int32_t OpenCompressed(Context& ctx, const std::string& path, bool silent) {
  SessionState& st = ctx.state;
  st.AudioKind = AudioCompressed;
  st.MciResult = silent ? ctx.audio.OpenSilentTrack(path) : ctx.audio.OpenMp3(path);
  Fetch_Error_Text(ctx);
  if (st.MciResult != 0) return st.MciResult;
  Query_Length(ctx.audio, st);
  st.PlayUnitsPerSecond = 1000;
  return 0;
}

// Opens a WAV: positions in bytes of its own format.
int32_t OpenWave(Context& ctx, const std::string& path) {
  SessionState& st = ctx.state;
  st.AudioKind = AudioWave;
  st.MciResult = ctx.audio.OpenWav(path);
  Fetch_Error_Text(ctx);
  if (st.MciResult != 0) return st.MciResult;
  Query_Length(ctx.audio, st);
  int32_t rate = 0, bits = 0, channels = 0;
  ctx.audio.SamplesPerSec(rate);
  ctx.audio.BitsPerSample(bits);
  ctx.audio.Channels(channels);
  st.AudioSamplesPerSec = rate;
  st.AudioBitsPerSample = static_cast<int16_t>(bits);
  st.AudioChannels = static_cast<int16_t>(channels);
  st.PlayUnitsPerSecond = CInt32(static_cast<double>(channels) * rate * bits / 8.0);
  return 0;
}

// The audio track of a recording being loaded: its own sound, or the silent track when
// audio is off. Tells why it cannot be opened and answers false.
bool Open_Track(Context& ctx, const std::string& basePath) {
  std::string kind, audioPath;
  bool silent = false;
  if (ctx.settings.AudioEnable) {
    if (IsFile(basePath + ".wav") && FileLength(basePath + ".wav") > 0) {
      kind = "wav";
      audioPath = basePath + ".wav";
    } else if (IsFile(basePath + ".mp3")) {
      kind = "mp3";
      audioPath = basePath + ".mp3";
    } else {
      Warn(ctx, AudioMissingText, "File Not Found");
      return false;
    }
  } else {
    audioPath = SilentTrackPath(ctx);
    if (!IsFile(audioPath)) {
      Warn(ctx, DummyMissingText, "File Not Found");
      return false;
    }
    kind = "mp3";
    silent = true;
  }
  const int32_t opened = kind == "wav" ? OpenWave(ctx, audioPath) : OpenCompressed(ctx, audioPath, silent);
  if (opened != 0) {
    // A track that cannot be opened would leave playback without a clock.
    ctx.prompts.MsgBox(CouldNotLoadText(kind, opened, ctx.state.MciErrorText), ProgramTitle, MsgButtons::OK,
                       MsgIcon::None);
    ctx.audio.Close();
    return false;
  }
  // A WAV cut short (a full disk, a copy broken off) still plays, silent past its end:
  // the recording loads, and the user hears why the sound stops.
  std::string shortBy;
  if (kind == "wav" && !WavDataIsWhole(audioPath, shortBy))
    Warn(ctx,
         "The sound of this recording is cut short: " + shortBy +
             ". The recording plays without sound after the point where its sound ends.",
         "Sound Cut Short");
  return true;
}

// The records of basePath + ".zkd" into the session, once the first five show the format.
// Tells why they cannot be read, closes the track and answers false.
bool Read_Records(Context& ctx, const std::string& basePath, LoadProgress& progress) {
  SessionState& st = ctx.state;
  const std::string zkdPath = basePath + ".zkd";
  auto failed = [&](const FileError& err) {
    ctx.prompts.MsgBox(CouldNotLoadText("zkd", err.number, err.description), ProgramTitle, MsgButtons::OK,
                       MsgIcon::None);
    st.MciResult = ctx.audio.Close();
    return false;
  };
  // Only the first five records are read before the format is known.
  RecordReader reader;
  switch (reader.Open(zkdPath)) {
    case ReadStatus::Ok: break;
    case ReadStatus::BadFormat:
      Warn(ctx, BadFormatText, "Incompatible file format");
      st.MciResult = ctx.audio.Close();
      return false;
    case ReadStatus::TooLarge:
      Warn(ctx, reader.Error().description, ProgramTitle);
      st.MciResult = ctx.audio.Close();
      return false;
    case ReadStatus::Missing:
    case ReadStatus::IoError: return failed(reader.Error());
  }

  ctx.controls.SetCaption(ctl::lblLoadedFile, "Loading......");
  ctx.controls.SetToolTip(ctl::lblLoadedFile, -1, basePath);

  RecordFileData data;
  // The window handles what is pending at each step of the bar, without waiting for more:
  // the reading itself is the work, and a short file loads at once.
  const ReadResult read = ReadRecords(reader, data, &progress, [&] { ctx.events.DoEventsFor(0); });
  if (read.status != ReadStatus::Ok) return failed(read.error);
  st.RecordBuffer = std::move(data.records);
  st.RecordCount = data.RecordCount;
  st.TotalTimeMs = data.TotalTimeMs;
  st.RangeStartIndex = 1;
  st.RangeEndIndex = data.RecordCount;
  st.RecordStartSeconds = data.RecordStartSeconds;
  st.RecordStartDay = data.RecordStartDay;
  st.RecordDate = data.RecordDate;
  return true;
}

}  // namespace

void Fetch_Error_Text(Context& ctx) {
  std::string text;
  ctx.state.MciErrorFlag = ctx.audio.ErrorText(ctx.state.MciResult, text);
  if (ctx.state.MciErrorFlag) ctx.state.MciErrorText = text.substr(0, 128);
}

bool Load_File(Context& ctx, const std::string& basePath, LoadProgress& progress) {
  ctx.state.MciResult = ctx.audio.Close();
  const std::string zkdPath = basePath + ".zkd";
  if (!IsFile(zkdPath)) {
    Warn(ctx, zkdPath, "File Not Found");
    return false;
  }
  return Open_Track(ctx, basePath) && Read_Records(ctx, basePath, progress);
}

bool Open_Silent_Track(Context& ctx) {
  const std::string path = SilentTrackPath(ctx);
  if (!IsFile(path)) return false;
  return OpenCompressed(ctx, path, true) == 0;
}

bool Check_Silent_Track(Context& ctx) {
  const std::string path = SilentTrackPath(ctx);
  if (!IsFile(path)) {
    Warn(ctx, DummyMissingText, "File Not Found");
    return false;
  }
  std::string error;
  if (!SoundFileSource::Open(path, error)) {
    ctx.prompts.MsgBox(CouldNotLoadText("Dummy.mp3", AudioOpenFailed, error), ProgramTitle, MsgButtons::OK,
                       MsgIcon::None);
    return false;
  }
  return true;
}

}  // namespace zk
