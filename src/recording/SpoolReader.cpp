#include "recording/SpoolReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/AtomicFile.h"
#include "recording/RecordCodec.h"

namespace zk {

namespace {

constexpr uint32_t RecordsPerSecond = 50;

SpoolReading Damaged(std::string problem) { return {SpoolContent::Damaged, std::move(problem)}; }

// Reads up to `bytes` bytes from the start of `path` into `out`; `got` tells how many
// there were.
FileError ReadStart(const std::string& path, void* out, std::size_t bytes, std::size_t& got) {
  got = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ErrnoError(errno);
  FileError err;
  auto* p = static_cast<char*>(out);
  while (got < bytes) {
    const ssize_t n = ::pread(fd, p + got, bytes - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) err = ErrnoError(errno);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return err;
}

// Reads one whole part of the spool; `missing` is set when the file does not exist.
bool ReadPart(const std::string& path, std::vector<uint8_t>& image, bool& missing, std::string& problem) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  missing = ec == std::errc::no_such_file_or_directory;
  FileError err = ec && !missing ? FileError{ec.value(), ec.message()} : FileError{};
  image.clear();
  if (!ec) {
    std::size_t got = 0;
    image.resize(static_cast<std::size_t>(size));
    err = ReadStart(path, image.data(), image.size(), got);
    image.resize(got);
  }
  if (err) problem = path + ": " + err.description;
  return !ec && !err;
}

// The index entries in order, up to the first that goes backwards (what follows it is
// not trusted: a file cut short by a power failure may end in zeros).
std::vector<SecondMark> IndexEntries(const std::vector<uint8_t>& image) {
  std::vector<SecondMark> marks;
  for (std::size_t at = 0; at + SecondMarkSize <= image.size(); at += SecondMarkSize) {
    const SecondMark m = DecodeSecondMark(image.data() + at);
    if (!marks.empty() && (m.Seconds < marks.back().Seconds || m.Records < marks.back().Records ||
                           m.SoundBytes < marks.back().SoundBytes))
      break;
    marks.push_back(m);
  }
  return marks;
}

// Whole records from the start up to the first that is not a reading.
uint32_t ValidRecords(const std::vector<uint8_t>& image) {
  uint32_t n = 0;
  for (std::size_t at = 0; at + RecordSize <= image.size(); at += RecordSize, ++n)
    if (!IsReadingLetter(static_cast<char>(image[at + RecordSize - 1]))) break;
  return n;
}

FileError ReadSound(const std::string& path, uint32_t bytes, std::vector<int16_t>& sound) {
  sound.assign(bytes / 2, 0);
  std::size_t got = 0;
  FileError err = ReadStart(path, sound.data(), sound.size() * 2, got);
  if (!err && got < sound.size() * 2) err = ErrnoError(EIO);  // it shrank while being read
  return err;
}

}  // namespace

SpoolReading ReadSpool(const std::string& folder, RecoveredRecording& out) {
  const auto file = [&](const char* name) { return folder + "/" + name; };
  std::vector<uint8_t> index, records, text;
  bool indexMissing = false, recordsMissing = false, infoMissing = false;
  std::string problem;
  ReadPart(file(SpoolFiles::Seconds), index, indexMissing, problem);
  ReadPart(file(SpoolFiles::Records), records, recordsMissing, problem);
  ReadPart(file(SpoolFiles::Info), text, infoMissing, problem);
  if (!problem.empty()) return Damaged(problem);
  const std::vector<SecondMark> marks = IndexEntries(index);
  const uint32_t valid = ValidRecords(records);
  // Nothing reached the disk beyond the first second (or the spool was only just being
  // set up): there is nothing to offer.
  if (valid == 0 && marks.empty()) return {SpoolContent::Empty, ""};
  if (recordsMissing) return Damaged("its readings (" + std::string(SpoolFiles::Records) + ") are missing");
  if (indexMissing) return Damaged("its index of seconds (" + std::string(SpoolFiles::Seconds) + ") is missing");
  const auto info = DecodeSpoolInfo(std::string(text.begin(), text.end()));
  if (!info) return Damaged("its description (" + std::string(SpoolFiles::Info) + ") is missing or damaged");

  uint64_t soundBytes = 0;
  if (info->Audio) {
    std::error_code ec;
    soundBytes = std::filesystem::file_size(file(SpoolFiles::Sound), ec);
    if (ec == std::errc::no_such_file_or_directory)
      return Damaged("its sound (" + std::string(SpoolFiles::Sound) + ") is missing");
    if (ec) return Damaged(file(SpoolFiles::Sound) + ": " + ec.message());
  }

  // The last whole second that the readings and the sound both hold.
  const SecondMark* best = nullptr;
  bool readingsHoldASecond = false;
  for (const SecondMark& m : marks) {
    if (m.Records == 0 || m.Records > valid) continue;
    readingsHoldASecond = true;
    if (m.SoundBytes <= soundBytes) best = &m;
  }
  if (!best) {
    if (readingsHoldASecond) return Damaged("its sound is shorter than one second of its readings");
    // Less than two seconds of readings: the crash came before the first second was
    // noted. More without any whole second noted is not a crash's doing.
    if (valid < 2 * RecordsPerSecond) return {SpoolContent::Empty, ""};
    return Damaged("its index of seconds does not match its readings");
  }

  out = RecoveredRecording{};
  out.info = *info;
  out.RecordCount = static_cast<int32_t>(best->Records);
  out.Seconds = static_cast<int32_t>(best->Seconds);
  out.records.resize(best->Records + 1);
  for (uint32_t k = 1; k <= best->Records; ++k) out.records[k] = DecodeRecord(records.data() + (k - 1) * RecordSize);
  out.TotalTimeMs = out.records[best->Records].TimeMs;
  if (info->Audio) {
    const FileError err = ReadSound(file(SpoolFiles::Sound), best->SoundBytes, out.sound);
    if (err) return Damaged(file(SpoolFiles::Sound) + ": " + err.description);
  }
  return {SpoolContent::Recording, ""};
}

}  // namespace zk
