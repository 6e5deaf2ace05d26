// Build-time tool: makes the sample session, a recording with its sound, from a script.
//
//   zk_make_sample SCRIPT OUTPUT_BASE    writes OUTPUT_BASE.zkd and OUTPUT_BASE.wav
//
// Both files are written whole or not at all (temporary file, then rename).
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "SampleRecording.h"
#include "SampleSound.h"
#include "SessionScript.h"
#include "sound/SoundFile.h"
#include "zkd/RecordFile.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " SCRIPT OUTPUT_BASE\n";
    return 2;
  }
  const std::string scriptPath = argv[1], base = argv[2];
  std::ifstream in(scriptPath, std::ios::binary);
  if (!in) {
    std::cerr << scriptPath << ": cannot be read\n";
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << scriptPath << ": cannot be read\n";
    return 1;
  }
  const zk::sample::ScriptResult parsed = zk::sample::ParseScript(text);
  if (!parsed.ok()) {
    std::cerr << scriptPath << ": " << parsed.error << "\n";
    return 1;
  }
  const zk::sample::SampleRecording rec = zk::sample::RecordScript(parsed.script);
  if (!rec.error.empty()) {
    std::cerr << scriptPath << ": " << rec.error << "\n";
    return 1;
  }
  // The sound first: a recording whose sound is missing would still load, silently.
  if (zk::FileError e = zk::SaveWavFile(base + ".wav", zk::sample::RoomSound(parsed.script), zk::sample::SoundFormat)) {
    std::cerr << base << ".wav: " << e.description << "\n";
    return 1;
  }
  if (zk::FileError e = zk::WriteRecordFile(base + ".zkd", rec.records, rec.recordCount, rec.header)) {
    std::cerr << base << ".zkd: " << e.description << "\n";
    return 1;
  }
  return 0;
}
