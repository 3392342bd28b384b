#include "storage/journal.h"

#include <algorithm>
#include <system_error>

#include "storage/codec.h"
#include "storage/crc32c.h"
#include "storage/file_format.h"

namespace standin::storage {
namespace {

constexpr size_t kHeaderSize = kFileHeaderSize + 8 + 4;
constexpr size_t kRecordHeaderSize = 12;
constexpr uint64_t kGrowthStep = uint64_t{1} << 20;  // zeros written ahead of the records

bool all_zero(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

std::string encode_header(uint64_t generation) {
  Writer out;
  write_file_header(out, kJournalKind);
  out.u64(generation);
  return seal(std::move(out));
}

uint32_t length_checksum(uint32_t length) {
  Writer w;
  w.u32(length);
  return crc32c(w.bytes());
}

// The record at `pos`, if a whole and intact one starts there.
bool record_at(std::string_view file, size_t pos, std::string_view* payload) {
  if (file.size() - pos < kRecordHeaderSize) return false;
  Reader in(file.substr(pos));
  uint32_t length = 0, length_crc = 0, payload_crc = 0;
  in.u32(&length);
  in.u32(&length_crc);
  in.u32(&payload_crc);
  if (length_checksum(length) != length_crc) return false;
  if (!in.raw(length, payload)) return false;
  return crc32c(*payload) == payload_crc;
}

// Is there an intact record anywhere after `pos`? Only asked once damage has
// been found, so a byte-by-byte search is affordable; the length checksum
// rejects almost every false start at once.
bool intact_record_after(std::string_view file, size_t pos) {
  std::string_view ignored;
  for (size_t p = pos + 1; p + kRecordHeaderSize <= file.size(); ++p) {
    if (record_at(file, p, &ignored)) return true;
  }
  return false;
}

}  // namespace

JournalScan scan_journal(std::string_view file, uint64_t generation, const std::filesystem::path& path) {
  if (file.size() < kHeaderSize) throw_damaged(kJournalKind, path, "file is truncated");
  Reader header = unseal(file.substr(0, kHeaderSize), kJournalKind, path);
  uint64_t stored_generation = 0;
  header.u64(&stored_generation);
  if (stored_generation != generation) {
    throw_damaged(
        kJournalKind, path,
        "belongs to checkpoint " + std::to_string(stored_generation) + ", expected " + std::to_string(generation));
  }
  JournalScan scan;
  size_t pos = kHeaderSize;
  std::string_view payload;
  while (pos < file.size() && record_at(file, pos, &payload)) {
    scan.records.emplace_back(payload);
    pos += kRecordHeaderSize + payload.size();
  }
  scan.valid_length = pos;
  scan.zero_tail = all_zero(file.substr(pos));
  if (!scan.zero_tail && intact_record_after(file, pos)) {
    throw_damaged(kJournalKind, path,
                  "damaged record at byte " + std::to_string(pos) +
                      " followed by intact records; refusing to drop committed statements");
  }
  return scan;
}

void Journal::create(const std::filesystem::path& path, uint64_t generation) {
  write_file_atomically(path, encode_header(generation));
}

Journal Journal::open(const std::filesystem::path& path, uint64_t generation) {
  std::string bytes = read_whole_file(path);
  JournalScan scan = scan_journal(bytes, generation, path);
  FileHandle fd = open_file(path, OpenFor::Writing);
  // Zeros after the records are room for more; a torn tail goes, so that no
  // stale bytes stay behind the records written over it.
  if (scan.zero_tail) return Journal(path, std::move(fd), scan.valid_length, bytes.size());
  resize_file(fd, scan.valid_length, path);
  sync_file(fd, path);
  return Journal(path, std::move(fd), scan.valid_length, scan.valid_length);
}

namespace {

void frame_record(Writer& out, std::string_view payload) {
  if (payload.size() > UINT32_MAX) throw std::length_error("journal record too large");
  auto length = static_cast<uint32_t>(payload.size());
  out.u32(length);
  out.u32(length_checksum(length));
  out.u32(crc32c(payload));
  out.raw(payload);
}

}  // namespace

void Journal::append(std::string_view payload) {
  Writer out;
  out.reserve(kRecordHeaderSize + payload.size());
  frame_record(out, payload);
  write_frames(out.bytes());
}

// A transaction's group can hold thousands of records: the frames are
// assembled in one buffer of the right size.
void Journal::append_group(const std::vector<std::string>& payloads) {
  if (payloads.empty()) return;
  Writer out;
  size_t total = 0;
  for (const std::string& payload : payloads) total += kRecordHeaderSize + payload.size();
  out.reserve(total);
  for (const std::string& payload : payloads) frame_record(out, payload);
  write_frames(out.bytes());
}

void Journal::write_frames(std::string_view frames) {
  try {
    reserve(size_ + frames.size());
    write_all_at(fd_, frames, size_, path_);
  } catch (...) {
    cut_back();  // leave no partial record for the next append to build on
    throw;
  }
  size_ += frames.size();
  unsynced_ = true;
}

void Journal::reserve(uint64_t end) {
  if (end <= allocated_) return;
  static const std::string zeros(size_t{64} * 1024, '\0');
  const uint64_t target = (end + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
  for (uint64_t at = allocated_; at < target; at += zeros.size()) {
    write_all_at(fd_, std::string_view(zeros).substr(0, std::min<uint64_t>(zeros.size(), target - at)), at, path_);
  }
  allocated_ = target;
}

void Journal::cut_back() {
  try {
    resize_file(fd_, size_, path_);
    allocated_ = size_;
  } catch (const std::system_error&) {
    // Nothing more to do: the reader drops a torn tail anyway.
  }
}

// Most command texts of the upgrade are probes that journal nothing; they
// should not pay for a disk flush.
void Journal::sync() {
  if (!unsynced_) return;
  sync_file_data(fd_, path_);
  unsynced_ = false;
}

uint64_t Journal::record_bytes() const { return size_ - kHeaderSize; }

}  // namespace standin::storage
