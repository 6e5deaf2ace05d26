#include "spool/SpoolReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/AtomicFile.h"
#include "core/RecordingRates.h"
#include "zkd/RecordCodec.h"

namespace zk {

namespace {

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
// Whole records from the start up to the first that is not a reading (a block of zeros
// where a power failure left the data unwritten).
uint32_t ValidRecords(const std::vector<uint8_t>& records) {
  uint32_t n = 0;
  for (std::size_t at = 0; at + RecordSize <= records.size(); at += RecordSize, ++n)
    if (!IsReadingLetter(static_cast<char>(records[at + RecordSize - 1]))) break;
  return n;
}

// The chunks of the data file in order up to the first that is not whole: records and
// sound joined up, and the marks whose data is all there.
struct Contents {
  std::vector<uint8_t> records, sound;
  std::vector<SecondMark> marks;
};

Contents ReadChunks(const std::vector<uint8_t>& data) {
  Contents c;
  std::size_t at = 0;
  while (const auto chunk = ChunkAt(data, at)) {
    at += ChunkHeaderSize + chunk->size;
    const uint8_t* p = chunk->payload;
    switch (chunk->kind) {
      case ChunkKind::Records: c.records.insert(c.records.end(), p, p + chunk->size); break;
      case ChunkKind::Sound: c.sound.insert(c.sound.end(), p, p + chunk->size); break;
      case ChunkKind::Mark:
        if (chunk->size == SecondMarkSize) {
          const SecondMark m = DecodeSecondMark(p);
          if (uint64_t{m.Records} * RecordSize <= c.records.size() && m.SoundBytes <= c.sound.size())
            c.marks.push_back(m);
        }
        break;
    }
  }
  return c;
}

}  // namespace

SpoolReading ReadSpool(const std::string& folder, RecoveredRecording& out) {
  const auto file = [&](const char* name) { return folder + "/" + name; };
  std::vector<uint8_t> data, text;
  bool dataMissing = false, infoMissing = false;
  std::string problem;
  ReadPart(file(SpoolFiles::Data), data, dataMissing, problem);
  ReadPart(file(SpoolFiles::Info), text, infoMissing, problem);
  if (!problem.empty()) return Damaged(problem);
  // The spool was only just being set up: nothing to offer.
  if (dataMissing && infoMissing) return {SpoolContent::Empty, ""};
  if (dataMissing) return Damaged("its readings and sound (" + std::string(SpoolFiles::Data) + ") are missing");

  const Contents c = ReadChunks(data);
  const uint32_t valid = ValidRecords(c.records);
  const SecondMark* best = nullptr;
  for (const SecondMark& m : c.marks)
    if (m.Records > 0 && m.Records <= valid) best = &m;
  if (!best) {
    // Less than two seconds of readings: the end came before the first second was marked.
    // More without any whole second marked is not an end's doing.
    if (valid < 2 * RecordsPerSecond) return {SpoolContent::Empty, ""};
    return Damaged("no whole second of its readings is marked");
  }
  const auto info = DecodeSpoolInfo(std::string(text.begin(), text.end()));
  if (!info) return Damaged("its description (" + std::string(SpoolFiles::Info) + ") is missing or damaged");

  out = RecoveredRecording{};
  out.info = *info;
  out.RecordCount = static_cast<int32_t>(best->Records);
  out.Seconds = static_cast<int32_t>(best->Seconds);
  out.records.resize(best->Records + 1);
  for (uint32_t k = 1; k <= best->Records; ++k) out.records[k] = DecodeRecord(c.records.data() + (k - 1) * RecordSize);
  out.TotalTimeMs = out.records[best->Records].TimeMs;
  if (info->Audio) {
    out.sound.resize(best->SoundBytes / 2);
    std::memcpy(out.sound.data(), c.sound.data(), out.sound.size() * 2);
  }
  return {SpoolContent::Recording, ""};
}

}  // namespace zk
