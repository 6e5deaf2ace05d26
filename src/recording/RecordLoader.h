#pragma once
// The file and audio part of loading a recording: checks the ".zkd", opens its audio
// track (or the silent timing track when audio is off), checks the format and reads the
// records into the session's RecordBuffer. Every failure is shown through ctx.prompts
// and answers false with nothing loaded. The display set-up that follows a successful
// load belongs to the player.
#include <string>

#include "base/Version.h"
#include "zkd/FailureTexts.h"
#include "zkd/RecordFile.h"

namespace zk {

struct Context;

// Message texts of the sound track's loading and of switching audio off.
inline constexpr const char* AudioMissingText =
    "The audio file is missing. The .zkd and .wav (or .mp3) files must reside in the same folder.  "
    "Please check and try again or disable audio.";
inline constexpr const char* DummyMissingText =
    "The Dummy.mp3 file is missing. This should be located in the application directory.";

// The error text of the last audio command (MciResult) into MciErrorText and MciErrorFlag.
void Fetch_Error_Text(Context& ctx);

// Loads basePath + ".zkd" and its audio track. On success fills RecordBuffer, RecordCount,
// TotalTimeMs, RangeStartIndex/RangeEndIndex, RecordStartSeconds, RecordStartDay,
// RecordDate, AudioKind, PlayUnitsPerSecond, AudioLength and (WAV) the audio format.
// Shows "Loading......" in lblLoadedFile with the base path as its tool tip.
bool Load_File(Context& ctx, const std::string& basePath, LoadProgress& progress);

// Opens the silent timing track on ctx.audio: AudioCompressed, PlayUnitsPerSecond 1000.
// Answers false (the track file is missing) without showing anything.
bool Open_Silent_Track(Context& ctx);

// The check behind switching audio off: shows the missing or could-not-load message and
// answers false when the silent track is not usable.
bool Check_Silent_Track(Context& ctx);

}  // namespace zk
