// Build-time tool: writes the silent timing track (a short MP3 of silence). The program
// runs that track as a clock of unlimited length, so its own length does not matter.
#include <sndfile.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/RecordingRates.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.mp3\n", argv[0]);
    return 2;
  }
  const std::string out = argv[1];
  const std::string temp = out + ".part";
  SF_INFO info{};
  info.samplerate = zk::SoundSampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  SNDFILE* sf = sf_open(temp.c_str(), SFM_WRITE, &info);
  if (!sf) {
    std::fprintf(stderr, "%s: %s\n", temp.c_str(), sf_strerror(nullptr));
    return 1;
  }
  const std::vector<short> silence(static_cast<std::size_t>(info.samplerate) * 2, 0);  // two seconds
  const bool wrote = sf_writef_short(sf, silence.data(), static_cast<sf_count_t>(silence.size())) ==
                     static_cast<sf_count_t>(silence.size());
  if (sf_close(sf) != 0 || !wrote || std::rename(temp.c_str(), out.c_str()) != 0) {
    std::fprintf(stderr, "%s: could not be written\n", out.c_str());
    std::remove(temp.c_str());
    return 1;
  }
  return 0;
}
