#include "sound/SoundFile.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace zk {

namespace {

SNDFILE* Handle(void* p) { return static_cast<SNDFILE*>(p); }

int32_t BitsOf(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW: return 8;
    case SF_FORMAT_PCM_24: return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT: return 32;
    case SF_FORMAT_DOUBLE: return 64;
    default: return 16;
  }
}

}  // namespace

std::unique_ptr<SoundFileSource> SoundFileSource::Open(const std::string& path, std::string& error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  SF_INFO info{};
  SNDFILE* sf = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
  if (!sf) {
    error = sf_strerror(nullptr);
    ::close(fd);
    return nullptr;
  }
  if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
    error = "The file holds no usable sound.";
    sf_close(sf);
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<SoundFileSource> s(new SoundFileSource);
  s->sf_ = sf;
  s->fd_ = fd;
  s->fmt_ = PcmFormat{info.samplerate, info.channels};
  s->frames_ = info.frames;
  s->bits_ = BitsOf(info.format);
  s->wav_ =
      (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV || (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAVEX;
  return s;
}

SoundFileSource::~SoundFileSource() {
  if (sf_) sf_close(Handle(sf_));
  if (fd_ >= 0) ::close(fd_);
}

int64_t SoundFileSource::Read(int64_t frame, int16_t* out, int64_t frames) {
  if (frame < 0 || frame >= frames_ || frames <= 0) return 0;
  if (frame != cursor_) {
    if (sf_seek(Handle(sf_), frame, SEEK_SET) < 0) return 0;
    cursor_ = frame;
  }
  const sf_count_t got = sf_readf_short(Handle(sf_), out, std::min(frames, frames_ - frame));
  if (got <= 0) return 0;
  cursor_ += got;
  return got;
}

FileError SoundFileSource::CopyTo(int fd) const {
  char buf[1 << 16];
  off_t at = 0;
  for (;;) {
    ssize_t n = ::pread(fd_, buf, sizeof buf, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ErrnoError(errno);
    if (n == 0) return {};
    if (FileError e = WriteAll(fd, buf, static_cast<std::size_t>(n))) return e;
    at += n;
  }
}

int64_t MemorySource::Read(int64_t frame, int16_t* out, int64_t frames) {
  const int64_t total = Frames();
  if (frame < 0 || frame >= total || frames <= 0) return 0;
  const int64_t n = std::min(frames, total - frame);
  const auto from = samples_.begin() + frame * fmt_.channels;
  std::copy(from, from + n * fmt_.channels, out);
  return n;
}

FileError WriteWav(int fd, const PcmSamples& samples, PcmFormat fmt) {
  MemorySource source(samples, fmt);
  return WriteWav(fd, source);
}

FileError WriteWav(int fd, FrameSource& source) {
  const PcmFormat fmt = source.Format();
  SF_INFO info{};
  info.samplerate = fmt.rate;
  info.channels = fmt.channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* sf = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
  if (!sf) return FileError{EIO, sf_strerror(nullptr)};
  FileError err;
  std::vector<int16_t> chunk(static_cast<std::size_t>(fmt.channels) * 16384);
  for (int64_t at = 0;;) {
    const int64_t n = source.Read(at, chunk.data(), 16384);
    if (n <= 0) break;
    if (sf_writef_short(sf, chunk.data(), n) != n) {
      err = FileError{EIO, sf_strerror(sf)};
      break;
    }
    at += n;
  }
  if (sf_close(sf) != 0 && !err) err = FileError{EIO, "The sound file could not be completed."};
  return err;
}

FileError SaveWavFile(const std::string& path, const PcmSamples& samples, PcmFormat fmt) {
  return ReplaceFileAtomically(path, [&](int fd) { return WriteWav(fd, samples, fmt); });
}

bool WavDataIsWhole(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return true;
  in.seekg(0, std::ios::end);
  const uint64_t size = static_cast<uint64_t>(std::max<std::streamoff>(0, in.tellg()));
  in.seekg(0);
  auto le32 = [](const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  };
  unsigned char riff[12];
  if (!in.read(reinterpret_cast<char*>(riff), sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return true;
  // Walk the chunks up to "data"; chunks are padded to an even length.
  uint64_t at = 12;
  unsigned char chunk[8];
  while (at + 8 <= size) {
    in.seekg(static_cast<std::streamoff>(at));
    if (!in.read(reinterpret_cast<char*>(chunk), sizeof chunk)) return true;
    const uint64_t length = le32(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      const uint64_t there = size - (at + 8);
      // 0xFFFFFFFF is what a writer that never finished leaves: the data runs to the end.
      if (length == 0xFFFFFFFFu || length <= there) return true;
      error = "the header claims " + std::to_string(length) + " bytes of sound, the file holds " +
              std::to_string(there) + " (cut short)";
      return false;
    }
    at += 8 + length + (length & 1);
  }
  return true;
}

}  // namespace zk
