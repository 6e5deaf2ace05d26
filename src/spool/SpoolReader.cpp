#include "spool/SpoolReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "base/AtomicFile.h"
#include "base/RecordingRates.h"
#include "spool/SpoolChunks.h"
#include "spool/SpoolData.h"

namespace zk {

namespace {

// The description is a few lines of text.
constexpr std::size_t MaxInfoSize = 64 * 1024;

const std::string DataName = std::string("its readings and sound (") + SpoolFiles::Data + ")";

}  // namespace

const char* const DamagedInPlacesText = "its readings and sound (data) are damaged in places";

namespace {

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

// Why a first part only comes back, as the end of a sentence.
std::string RestNotBack(Stop stop) {
  switch (stop) {
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
  // Without a description the sound is read as if there were none; the spool is refused
  // below in any case.
  DataReader reader(data.fd.get(), data.size, described ? described->Audio : false, limits, out);
  FileError error;
  bool read = false;
  try {
    read = reader.Read(error);
  } catch (const std::bad_alloc&) {
    out = RecoveredRecording{};
    return Damaged("there is not enough memory to read " + DataName);
  }
  if (!read) {
    out = RecoveredRecording{};
    return Damaged(folder + "/" + SpoolFiles::Data + ": " + error.description);
  }

  if (!reader.marked) {
    const std::size_t records = reader.Records();
    out = RecoveredRecording{};
    if (reader.breaks > 0) return Damaged(DataName + " are damaged from the start");
    if (reader.stop == Stop::NoMemory) return Damaged("there is not enough memory to read " + DataName);
    // Less than two seconds of readings: the end came before the first second was marked.
    // More without any whole second marked is not an end's doing.
    if (records < 2 * RecordsPerSecond) return {SpoolContent::Empty, ""};
    return Damaged("no whole second of its readings is marked");
  }
  if (!described) {
    out = RecoveredRecording{};
    return Damaged("its description (" + std::string(SpoolFiles::Info) + ") is missing or damaged");
  }

  reader.Finish();
  out.info = *described;
  SpoolReading reading{SpoolContent::Recording, RestNotBack(reader.stop), reader.breaks > 0};
  // Damage after the last whole second is the rest that does not come back.
  if (reader.stop == Stop::End && reader.breaks > reader.breaksBeforeEnd)
    reading.problem = "the rest of " + DataName + " is damaged";
  return reading;
}

}  // namespace zk
