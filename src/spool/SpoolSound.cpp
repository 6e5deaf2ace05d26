#include "spool/SpoolSound.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "spool/SpoolChunks.h"

namespace zk {

SpoolSound::SpoolSound(const std::string& folder, uint64_t bytes) : left_(bytes & ~uint64_t{1}) {
  const std::string path = folder + "/" + SpoolFiles::Data;
  fd_ = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    broken_ = true;
    return;
  }
  size_ = static_cast<uint64_t>(st.st_size);
}

SpoolSound::~SpoolSound() {
  if (fd_ >= 0) ::close(fd_);
}

bool SpoolSound::Next_Sound_Chunk() {
  FileError error;
  while (ReadWholeChunk(fd_, size_, at_, header_, chunk_, error)) {
    at_ += ChunkHeaderSize + header_.size;
    if (header_.kind == ChunkKind::Sound && !chunk_.empty()) {
      used_ = 0;
      return true;
    }
  }
  chunk_.clear();
  used_ = 0;
  broken_ = true;
  return false;
}

std::size_t SpoolSound::Read(int16_t* out, std::size_t count) {
  auto* to = reinterpret_cast<uint8_t*>(out);
  const uint64_t want = std::min<uint64_t>(uint64_t{count} * 2, left_);
  uint64_t done = 0;
  while (done < want) {
    if (!broken_ && used_ == chunk_.size()) Next_Sound_Chunk();
    if (broken_) {
      std::memset(to + done, 0, static_cast<std::size_t>(want - done));
      done = want;
      break;
    }
    const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(want - done, chunk_.size() - used_));
    std::memcpy(to + done, chunk_.data() + used_, n);
    used_ += n;
    done += n;
  }
  left_ -= std::min(left_, done);
  return static_cast<std::size_t>(done / 2);
}

}  // namespace zk
