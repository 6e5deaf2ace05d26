#include "spool/SpoolWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/Clock.h"
#include "base/RecordingRates.h"
#include "zkd/RecordCodec.h"

namespace zk {

std::string SpoolFolderName(const SpoolInfo& info) {
  const DateTime d = DateFromSerial(info.RecordDate);
  const int32_t s = info.RecordStartSeconds;
  char name[96];
  std::snprintf(name, sizeof name, "%s%04d%02d%02d-%02d%02d%02d-%ld", SpoolPrefix, d.year, d.month, d.day, s / 3600,
                s / 60 % 60, s % 60, static_cast<long>(::getpid()));
  return name;
}

std::unique_ptr<SpoolWriter> SpoolWriter::Begin(const std::string& recoveryFolder, const SpoolInfo& info,
                                                FileError& error) {
  std::unique_ptr<SpoolWriter> spool(new SpoolWriter());
  const std::string name = SpoolFolderName(info);
  spool->folder_ = SpoolFolder::Create(recoveryFolder, name, error);
  // Two recordings started within one second by one process: number the second one.
  for (int n = 2; !spool->folder_ && error.number == EEXIST && n < 100; ++n)
    spool->folder_ = SpoolFolder::Create(recoveryFolder, name + "-" + std::to_string(n), error);
  if (!spool->folder_) return nullptr;
  const SpoolFolder& f = *spool->folder_;
  if (!(spool->info_ = AppendFile::Create(f.File(SpoolFiles::Info), error)) ||
      !(spool->data_ = AppendFile::Create(f.File(SpoolFiles::Data), error)) ||
      !(spool->folderSync_ = AppendFile::Folder(f.Path(), error)) ||
      !(spool->parentSync_ = AppendFile::Folder(recoveryFolder, error))) {
    spool->Remove();
    return nullptr;
  }
  spool->audio_ = info.Audio;
  // A second's worth, so that taking a second costs no allocation.
  spool->records_.reserve(64 * RecordSize);
  if (info.Audio) spool->sound_.reserve(SoundBytesPerSecond + SoundBytesPerSecond / 4);
  const std::string text = EncodeSpoolInfo(info);
  spool->info_->Append(text.data(), text.size());
  spool->SubmitAll();
  return spool;
}

SpoolWriter::~SpoolWriter() {
  // An end that is not a normal one (the program is closing while the recording is
  // unsaved): what has been appended still goes to disk before the files close.
  if (info_) {
    WaitDurable();
    SubmitAll();
  }
}

void SpoolWriter::AppendRecord(const SampleRecord& record, int32_t second) {
  if (second > seconds_) {
    // A record of a later second: the seconds before it are complete, their sound
    // included (the caller appends the sound up to now before the record).
    Move_Pending();
    for (int32_t s = seconds_ + 1; s <= second; ++s)
      Mark(static_cast<uint32_t>(s), static_cast<uint32_t>(recordCount_),
           audio_ ? static_cast<uint32_t>(s * int64_t{SoundBytesPerSecond}) : 0u);
    seconds_ = second;
    SubmitAll();
  }
  const std::size_t at = records_.size();
  records_.resize(at + RecordSize);
  EncodeRecord(record, records_.data() + at);
  ++recordCount_;
}

void SpoolWriter::AppendSound(const int16_t* samples, std::size_t count) {
  if (!audio_ || count == 0) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(samples);
  sound_.insert(sound_.end(), bytes, bytes + count * sizeof(int16_t));
  soundBytes_ += static_cast<int64_t>(count * sizeof(int16_t));
}

void SpoolWriter::Finish(int32_t seconds) {
  Move_Pending();
  Mark(static_cast<uint32_t>(std::max(seconds, 0)), static_cast<uint32_t>(recordCount_),
       static_cast<uint32_t>(soundBytes_));
  seconds_ = std::max(seconds_, seconds);
  // A batch from the last second may still be on its way; the final one follows it.
  WaitDurable();
  SubmitAll();
}

void SpoolWriter::Move_Pending() {
  batch_.clear();
  if (!records_.empty()) AppendChunk(batch_, ChunkKind::Records, records_.data(), records_.size());
  if (!sound_.empty()) AppendChunk(batch_, ChunkKind::Sound, sound_.data(), sound_.size());
  data_->Append(batch_.data(), batch_.size());
  records_.clear();
  sound_.clear();
}

void SpoolWriter::Mark(uint32_t seconds, uint32_t records, uint32_t soundBytes) {
  uint8_t bytes[SecondMarkSize];
  EncodeSecondMark({seconds, records, soundBytes, static_cast<uint32_t>(soundBytes_)}, bytes);
  batch_.clear();
  AppendChunk(batch_, ChunkKind::Mark, bytes, sizeof bytes);
  data_->Append(batch_.data(), batch_.size());
}

void SpoolWriter::Remove() {
  for (auto* f : {&info_, &data_, &folderSync_, &parentSync_}) f->reset();
  if (folder_) folder_->Remove();
}

FileError SpoolWriter::Failure() {
  for (auto* f : {&info_, &data_, &folderSync_, &parentSync_}) {
    if (!*f) continue;
    (*f)->Busy();  // a batch that has come back has its outcome known
    if ((*f)->Error()) return (*f)->Error();
  }
  return {};
}

void SpoolWriter::WaitDurable() {
  for (auto* f : {&info_, &data_, &folderSync_, &parentSync_})
    if (*f) (*f)->WaitIdle();
}

void SpoolWriter::SubmitAll() {
  for (auto* f : {&info_, &data_, &folderSync_, &parentSync_})
    if (*f) (*f)->Submit();
}

}  // namespace zk
