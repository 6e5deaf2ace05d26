#include "spool/SpoolReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "base/AtomicFile.h"
#include "base/RecordingRates.h"
#include "spool/SpoolChunks.h"
#include "zkd/RecordCodec.h"

namespace zk {

namespace {

// The description is a few lines of text.
constexpr std::size_t MaxInfoSize = 64 * 1024;

const std::string DataName = std::string("its readings and sound (") + SpoolFiles::Data + ")";

SpoolReading Damaged(std::string problem) { return {SpoolContent::Damaged, std::move(problem)}; }

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// One part of the spool, opened for reading: a plain file in the spool folder itself,
// never one a link leads to (nor a pipe or a device, whose reading could wait forever).
struct Part {
  Descriptor fd;
  uint64_t size = 0;
  bool missing = false;
  std::string problem;  // why it cannot be read
};

void OpenPart(int folderFd, const std::string& folder, const char* name, Part& part) {
  part.fd.reset(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  const std::string path = folder + "/" + name;
  if (part.fd.get() < 0) {
    if (errno == ENOENT)
      part.missing = true;
    else if (errno == ELOOP)
      part.problem = path + " is a link, not a file of the spool";
    else
      part.problem = path + ": " + ErrnoError(errno).description;
    return;
  }
  struct stat st {};
  if (::fstat(part.fd.get(), &st) != 0) {
    part.problem = path + ": " + ErrnoError(errno).description;
  } else if (!S_ISREG(st.st_mode)) {
    part.problem = path + " is not a plain file";
  } else {
    part.size = static_cast<uint64_t>(st.st_size);
  }
}

// Why the reading of the data file stopped where it did.
enum class Stop {
  End,       // at its end, or at a write a crash cut short: nothing is lost by stopping
  Damaged,   // at a chunk that is damaged, with more data after it
  Limit,     // the rest is longer than a recording can be
  NoMemory,  // the rest does not fit in memory
};

// The data file read chunk by chunk into the recording: the records decoded as they come,
// the sound counted (it stays in the spool, SpoolSound reads it), and the last mark whose
// records and sound are all there.
class DataReader {
 public:
  DataReader(const Part& data, bool audio, const SpoolLimits& limits, RecoveredRecording& out)
      : fd_(data.fd.get()), size_(data.size), audio_(audio), limits_(limits), out_(out) {}

  // False with `error` set when reading the file failed.
  bool Read(FileError& error);

  Stop stop = Stop::End;
  uint32_t validRecords = 0;  // records from the start up to the first that is not a reading
  bool marked = false;
  SecondMark best;  // the last usable mark

 private:
  void Reserve();
  bool Take_Records(const uint8_t* p, std::size_t size);
  bool Take_Sound(std::size_t size);
  void Take_Mark(const uint8_t* p, std::size_t size);
  // Decides how the reading that stopped at `at` ended: damaged when a whole chunk still
  // follows, else at a write that a crash cut short (its chunk runs past the end of the
  // file, its data never reached the disk and reads as zeros, or it is only partly there).
  void Classify_Break(uint64_t at, FileError& error);
  bool WholeChunkAt(uint64_t at, FileError& error);

  int fd_;
  uint64_t size_;
  bool audio_;
  SpoolLimits limits_;
  RecoveredRecording& out_;
  ChunkHeader header_{};  // of the chunk just read, whose payload is in payload_
  std::vector<uint8_t> payload_;
  uint8_t carry_[RecordSize] = {};  // a record split between two chunks
  std::size_t carried_ = 0;
  uint32_t records_ = 0;     // whole records seen
  bool invalid_ = false;     // a record that is not a reading has been seen
  uint64_t soundBytes_ = 0;  // sound bytes seen
};

void DataReader::Reserve() {
  // A second holds 50 records of 20 bytes, and with sound 44100 bytes more.
  const uint64_t perSecond = RecordsPerSecond * RecordSize + (audio_ ? SoundBytesPerSecond : 0);
  const uint64_t records = std::min<uint64_t>(size_ / perSecond * RecordsPerSecond + RecordsPerSecond, limits_.Records);
  try {
    out_.records.reserve(static_cast<std::size_t>(records) + 1);
  } catch (const std::bad_alloc&) {
  }
}

bool DataReader::Read(FileError& error) {
  Reserve();
  out_.records.assign(1, SampleRecord{});
  uint64_t at = 0;
  while (at < size_) {
    if (!WholeChunkAt(at, error)) {
      if (!error) Classify_Break(at, error);
      return !error;
    }
    bool go = true;
    switch (header_.kind) {
      case ChunkKind::Records: go = Take_Records(payload_.data(), payload_.size()); break;
      case ChunkKind::Sound: go = Take_Sound(payload_.size()); break;
      case ChunkKind::Mark: Take_Mark(payload_.data(), payload_.size()); break;
    }
    if (!go) return true;
    at += ChunkHeaderSize + header_.size;
  }
  return true;
}

bool DataReader::WholeChunkAt(uint64_t at, FileError& error) {
  return ReadWholeChunk(fd_, size_, at, header_, payload_, error);
}

void DataReader::Classify_Break(uint64_t at, FileError& error) {
  // A write cut short leaves at most one chunk's worth after the last whole chunk.
  if (size_ - at > ChunkHeaderSize + MaxChunkPayload) {
    stop = Stop::Damaged;
    return;
  }
  // Chunks start with "ZK": look for a whole one at every place that does.
  std::vector<uint8_t> tail(static_cast<std::size_t>(size_ - at));
  if (!ReadFileAt(fd_, at, tail.data(), tail.size(), error)) return;
  for (std::size_t i = 1; i + ChunkHeaderSize <= tail.size(); ++i) {
    if (tail[i] != 'Z' || tail[i + 1] != 'K') continue;
    if (WholeChunkAt(at + i, error)) {
      stop = Stop::Damaged;
      return;
    }
    if (error) return;
  }
}

bool DataReader::Take_Records(const uint8_t* p, std::size_t size) {
  if (invalid_) return true;
  while (size > 0) {
    const std::size_t n = std::min(size, RecordSize - carried_);
    std::memcpy(carry_ + carried_, p, n);
    carried_ += n;
    p += n;
    size -= n;
    if (carried_ < RecordSize) break;
    carried_ = 0;
    // A record that is not a reading ends what can be trusted; what follows is damaged.
    if (!IsReadingLetter(static_cast<char>(carry_[RecordSize - 1]))) {
      invalid_ = true;
      stop = Stop::Damaged;
      return false;
    }
    if (records_ >= limits_.Records) {
      stop = Stop::Limit;
      return false;
    }
    try {
      out_.records.push_back(DecodeRecord(carry_));
    } catch (const std::bad_alloc&) {
      stop = Stop::NoMemory;
      return false;
    }
    ++records_;
    validRecords = records_;
  }
  return true;
}

bool DataReader::Take_Sound(std::size_t size) {
  if (audio_ && soundBytes_ + size > limits_.SoundBytes) {
    stop = Stop::Limit;
    return false;
  }
  soundBytes_ += size;
  return true;
}

void DataReader::Take_Mark(const uint8_t* p, std::size_t size) {
  if (size != SecondMarkSize) return;
  const SecondMark m = DecodeSecondMark(p);
  if (m.Records > 0 && m.Records <= validRecords && m.SoundBytes <= soundBytes_) {
    best = m;
    marked = true;
  }
}

// Why a first part only comes back, as the end of a sentence.
std::string RestNotBack(Stop stop) {
  switch (stop) {
    case Stop::Damaged: return "the rest of " + DataName + " is damaged";
    case Stop::Limit: return "the rest is longer than a recording can be";
    case Stop::NoMemory: return "the rest does not fit in memory";
    case Stop::End: break;
  }
  return "";
}

std::optional<std::string> ReadInfo(const Part& part, std::string& problem) {
  if (part.missing || part.size > MaxInfoSize) return std::nullopt;
  std::string text(static_cast<std::size_t>(part.size), '\0');
  FileError error;
  if (!ReadFileAt(part.fd.get(), 0, text.data(), text.size(), error)) {
    if (error) problem = error.description;
    return std::nullopt;
  }
  return text;
}

}  // namespace

SpoolReading ReadSpool(const std::string& folder, RecoveredRecording& out, const SpoolLimits& limits) {
  const Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (folderFd.get() < 0) return Damaged(folder + ": " + ErrnoError(errno).description);
  Part data, info;
  OpenPart(folderFd.get(), folder, SpoolFiles::Data, data);
  OpenPart(folderFd.get(), folder, SpoolFiles::Info, info);
  if (!data.problem.empty()) return Damaged(data.problem);
  if (!info.problem.empty()) return Damaged(info.problem);
  // The spool was only just being set up: nothing to offer.
  if (data.missing && info.missing) return {SpoolContent::Empty, ""};
  if (data.missing) return Damaged(DataName + " are missing");

  std::string infoProblem;
  const auto text = ReadInfo(info, infoProblem);
  if (!infoProblem.empty()) return Damaged(folder + "/" + SpoolFiles::Info + ": " + infoProblem);
  const auto described = text ? DecodeSpoolInfo(*text) : std::nullopt;

  out = RecoveredRecording{};
  // Without a description the sound is read as if there were some, so that the marks can
  // be checked; the spool is refused below in any case.
  DataReader reader(data, described ? described->Audio : false, limits, out);
  FileError error;
  bool read = false;
  try {
    read = reader.Read(error);
  } catch (const std::bad_alloc&) {
    out = RecoveredRecording{};
    return Damaged("there is not enough memory to read " + DataName);
  }
  if (!read) return Damaged(folder + "/" + SpoolFiles::Data + ": " + error.description);

  if (!reader.marked) {
    out = RecoveredRecording{};
    if (reader.stop == Stop::Damaged) return Damaged(DataName + " are damaged from the start");
    if (reader.stop == Stop::NoMemory) return Damaged("there is not enough memory to read " + DataName);
    // Less than two seconds of readings: the end came before the first second was marked.
    // More without any whole second marked is not an end's doing.
    if (reader.validRecords < 2 * RecordsPerSecond) return {SpoolContent::Empty, ""};
    return Damaged("no whole second of its readings is marked");
  }
  if (!described) {
    out = RecoveredRecording{};
    return Damaged("its description (" + std::string(SpoolFiles::Info) + ") is missing or damaged");
  }

  const SecondMark& best = reader.best;
  out.info = *described;
  out.RecordCount = static_cast<int32_t>(best.Records);
  out.Seconds = static_cast<int32_t>(best.Seconds);
  out.records.resize(best.Records + 1);
  out.TotalTimeMs = out.records[best.Records].TimeMs;
  if (described->Audio) out.SoundBytes = best.SoundBytes & ~1u;
  return {SpoolContent::Recording, RestNotBack(reader.stop)};
}

}  // namespace zk
