// The journal: every statement the engine commits after a checkpoint, as an
// opaque payload, so that a crashed process loses no completed statement. A
// transaction arrives at its commit as a group of records, the last of them
// its commit record, appended with one write; the engine replays a group
// only when its commit record is there.
//
//   header: magic "STDNJRNL" | u32 version | u64 generation | u32 crc32c
//   record: u32 length | u32 crc32c of the length | u32 crc32c of the payload
//           | payload
//
// The length carries its own checksum so that a damaged length is told from
// a damaged payload and a reader never follows a wrong length. A record is
// written with one write(2), so a killed process leaves whole records; a
// machine that loses power may leave a short or garbled tail behind the last
// synced record. Such a tail is dropped. A damaged record with a valid record
// after it is not a torn write but damage, and the journal is refused rather
// than silently losing the statements behind it.
//
// The file grows in zero-filled steps ahead of its records, and records
// overwrite those zeros: a sync then flushes data only, not the file's new
// size, which on ext4 halves its cost. Zeros after the last record end the
// journal (a record header of zeros fails its length checksum).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_io.h"

namespace standin::storage {

struct JournalScan {
  std::vector<std::string> records;
  uint64_t valid_length = 0;  // bytes of header and intact records
  bool zero_tail = true;      // nothing but zeros follows them
};

// Parses a journal file's bytes. Throws OpenError (naming `path`) for a bad
// header, a generation other than `generation`, or damage before valid data.
JournalScan scan_journal(std::string_view file, uint64_t generation, const std::filesystem::path& path);

class Journal {
 public:
  // Writes an empty journal of `generation` atomically.
  static void create(const std::filesystem::path& path, uint64_t generation);

  // Opens an existing journal for appending; verifies it and truncates a
  // torn tail first. Throws OpenError.
  static Journal open(const std::filesystem::path& path, uint64_t generation);

  // Appends one record with a single write. On a failed write the file is
  // cut back to the end of the records and the error is thrown.
  void append(std::string_view payload);
  // Appends several records with a single write: a killed process keeps all
  // or none of them; a power cut may keep a prefix, which the reader of the
  // payloads has to recognise (a transaction ends with a commit record).
  void append_group(const std::vector<std::string>& payloads);
  void sync();  // fdatasync; nothing to do when nothing was appended since

  uint64_t record_bytes() const;  // bytes of records, header excluded
  const std::filesystem::path& path() const { return path_; }

 private:
  Journal(std::filesystem::path path, FileHandle fd, uint64_t size, uint64_t allocated)
      : path_(std::move(path)), fd_(std::move(fd)), size_(size), allocated_(allocated) {}
  void write_frames(std::string_view frames);
  void reserve(uint64_t end);  // zero-fills the file up to at least `end`
  void cut_back();             // drops everything after the records

  std::filesystem::path path_;
  FileHandle fd_;
  uint64_t size_ = 0;       // end of the records
  uint64_t allocated_ = 0;  // end of the file: zeros from size_ on
  bool unsynced_ = false;
};

}  // namespace standin::storage
