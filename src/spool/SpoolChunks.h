#pragma once
// Reading the chunks of a spool's data file from disk, for the reading back of a recording
// and for the streaming of its sound.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/AtomicFile.h"
#include "spool/SpoolFormat.h"

namespace zk {

// A chunk longer than this is no chunk the writer makes (it writes about a second at a
// time): the header is damaged.
inline constexpr uint32_t MaxChunkPayload = 64u << 20;

// Reads `bytes` bytes at `offset`; false when they are not all there or reading fails
// (then with `error` set).
bool ReadFileAt(int fd, uint64_t offset, void* out, std::size_t bytes, FileError& error);

// The whole chunk at `at` of a file of `size` bytes: its header, and its payload into
// `payload`. False when no whole chunk of a known kind with a matching checksum is there,
// or reading failed (then with `error` set).
bool ReadWholeChunk(int fd, uint64_t size, uint64_t at, ChunkHeader& header, std::vector<uint8_t>& payload,
                    FileError& error);

}  // namespace zk
