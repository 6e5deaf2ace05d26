#include "spool/SpoolSound.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "spool/SpoolChunks.h"

namespace zk {

SpoolSound::SpoolSound(const std::string& folder, const RecoveredRecording& r)
    : pieces_(r.sound), end_(r.SoundBytes & ~uint64_t{1}) {
  const std::string path = folder + "/" + SpoolFiles::Data;
  fd_ = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<uint64_t>(st.st_size);
}

SpoolSound::~SpoolSound() {
  if (fd_ >= 0) ::close(fd_);
}

bool SpoolSound::Load_Piece() {
  while (piece_ < pieces_.size() && pieces_[piece_].start + pieces_[piece_].size <= at_) {
    ++piece_;
    loaded_ = false;
  }
  if (piece_ == pieces_.size() || pieces_[piece_].start > at_) return false;
  if (loaded_) return true;
  // The chunk is read again and checked: the file may have changed since it was read back.
  const SoundPiece& p = pieces_[piece_];
  ChunkHeader header{};
  FileError error;
  loaded_ = size_ > 0 && ReadWholeChunk(fd_, size_, p.chunkAt, header, chunk_, error) &&
            header.kind == ChunkKind::Sound && header.size == p.size;
  if (!loaded_) {
    // Silence in its place.
    chunk_.assign(p.size, 0);
    loaded_ = true;
  }
  return true;
}

std::size_t SpoolSound::Read(int16_t* out, std::size_t count) {
  auto* to = reinterpret_cast<uint8_t*>(out);
  const uint64_t want = std::min<uint64_t>(uint64_t{count} * 2, end_ - at_);
  uint64_t done = 0;
  while (done < want) {
    const uint64_t rest = want - done;
    if (Load_Piece()) {
      const SoundPiece& p = pieces_[piece_];
      const uint64_t from = at_ - p.start;
      const auto n = static_cast<std::size_t>(std::min<uint64_t>(rest, p.size - from));
      std::memcpy(to + done, chunk_.data() + from, n);
      done += n;
      at_ += n;
    } else {
      // Lost: silence up to the next piece.
      const uint64_t next = piece_ < pieces_.size() ? pieces_[piece_].start : end_;
      const auto n = static_cast<std::size_t>(std::min<uint64_t>(rest, next - at_));
      std::memset(to + done, 0, n);
      done += n;
      at_ += n;
    }
  }
  return static_cast<std::size_t>(done / 2);
}

}  // namespace zk
