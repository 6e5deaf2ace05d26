#include "sound/ScratchTrack.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace zk {

namespace {

// An unnamed file in `folder`: O_TMPFILE where the file system has it, otherwise a named
// one removed at once.
int OpenUnnamed(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = folder + "/.zk-sound-XXXXXX";
  fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

}  // namespace

ScratchTrack::ScratchTrack(const std::string& folder) {
  if (!folder.empty()) fd_ = OpenUnnamed(folder);
  if (fd_ < 0) {
    std::error_code ec;
    const std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
    if (!ec) fd_ = OpenUnnamed(tmp.string());
  }
  tail_.reserve(SpillSamples * 2);
}

ScratchTrack::~ScratchTrack() {
  if (fd_ >= 0) ::close(fd_);
}

void ScratchTrack::Append(const int16_t* samples, std::size_t count) {
  tail_.insert(tail_.end(), samples, samples + count);
  if (tail_.size() >= SpillSamples) Spill();
}

void ScratchTrack::Take(PcmSamples& from) {
  // A deque's pieces are not one run: copied a piece at a time through a small buffer.
  int16_t piece[4096];
  std::size_t n = 0;
  for (const int16_t s : from) {
    piece[n++] = s;
    if (n == std::size(piece)) {
      Append(piece, n);
      n = 0;
    }
  }
  Append(piece, n);
  from.clear();
}

void ScratchTrack::Spill() {
  if (!OnDisk()) return;
  const auto* bytes = reinterpret_cast<const char*>(tail_.data());
  const std::size_t total = tail_.size() * sizeof(int16_t);
  std::size_t done = 0;
  while (done < total) {
    const ssize_t n = ::pwrite(fd_, bytes + done, total - done, static_cast<off_t>(onDisk_ * 2 + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A full disk: what was written is kept, the rest stays in memory.
      stuck_ = true;
      if (ftruncate(fd_, static_cast<off_t>(onDisk_ * 2)) != 0) {
        // The file keeps a torn piece past onDisk_, which is never read.
      }
      return;
    }
    done += static_cast<std::size_t>(n);
  }
  onDisk_ += static_cast<int64_t>(tail_.size());
  tail_.clear();
}

int64_t ScratchTrack::Read(int64_t at, int16_t* out, int64_t count) const {
  if (at < 0 || count <= 0) return 0;
  count = std::min(count, Size() - at);
  if (count <= 0) return 0;
  int64_t pos = front_ + at, done = 0;
  while (done < count && pos < onDisk_) {
    const int64_t want = std::min(count - done, onDisk_ - pos);
    const ssize_t n = ::pread(fd_, out + done, static_cast<std::size_t>(want * 2), static_cast<off_t>(pos * 2));
    if (n < 0 && errno == EINTR) continue;
    if (n < 2) return done;
    done += n / 2;
    pos += n / 2;
  }
  if (done < count) {
    const auto from = tail_.begin() + (pos - onDisk_);
    std::copy(from, from + (count - done), out + done);
    done = count;
  }
  return done;
}

void ScratchTrack::DropFront(int64_t count) { front_ += std::clamp<int64_t>(count, 0, Size()); }

void ScratchTrack::Resize(int64_t count) {
  count = std::max<int64_t>(0, count);
  if (count >= Size()) {
    const std::vector<int16_t> silence(static_cast<std::size_t>(count - Size()), 0);
    Append(silence.data(), silence.size());
    return;
  }
  const int64_t end = front_ + count;  // in samples of the whole track, dropped ones included
  if (end >= onDisk_) {
    tail_.resize(static_cast<std::size_t>(end - onDisk_));
    return;
  }
  // The cut lies in the file: what follows it there and the tail are forgotten.
  tail_.clear();
  onDisk_ = end;
}

int64_t ScratchSource::Read(int64_t frame, int16_t* out, int64_t frames) {
  const int channels = fmt_.channels;
  return track_.Read(frame * channels, out, frames * channels) / channels;
}

}  // namespace zk
