// Thin file helpers for the data directory, one implementation per system
// (file_io_posix.cpp, file_io_win32.cpp; what both share in file_io.cpp).
// Every failure throws std::system_error naming the path, so that a full
// disk or a permission problem reaches the user as a sentence rather than as
// an error code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace standin::storage {

// Owns an open file of the system (a descriptor or a HANDLE) and closes it.
class FileHandle {
 public:
  using Native = intptr_t;
  static constexpr Native kInvalid = -1;

  FileHandle() = default;
  explicit FileHandle(Native native) : native_(native) {}
  ~FileHandle() { reset(); }
  FileHandle(FileHandle&& other) noexcept : native_(other.release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  Native get() const { return native_; }
  bool valid() const { return native_ != kInvalid; }
  Native release();
  void reset();

 private:
  Native native_ = kInvalid;
};

// What a file is opened for. Every mode is binary; files stay open across
// renames and deletions of their directory entry (FILE_SHARE_DELETE).
enum class OpenFor {
  Reading,            // must exist
  Writing,            // must exist, kept as it is
  LockingOrCreating,  // created when missing, kept as it is
  Replacing,          // created when missing, emptied
};

FileHandle open_file(const std::filesystem::path& path, OpenFor purpose);

// Writes all of `data` at `offset` (one system call may write less).
void write_all_at(const FileHandle& file, std::string_view data, uint64_t offset, const std::filesystem::path& path);

// Cuts the file (or extends it with zeros) to `size` bytes.
void resize_file(const FileHandle& file, uint64_t size, const std::filesystem::path& path);

void sync_file(const FileHandle& file, const std::filesystem::path& path);       // data and metadata
void sync_file_data(const FileHandle& file, const std::filesystem::path& path);  // data (and the size)

// fsync and fdatasync calls of this process so far, for benchmarks and for
// tests that check that a command text which changed nothing syncs nothing.
uint64_t syncs_so_far();

// Takes an exclusive lock on the whole file without waiting; false when
// another process holds it.
bool try_lock_exclusively(const FileHandle& file, const std::filesystem::path& path);

// Makes renames and unlinks inside `dir` durable (a no-op where the system
// makes them durable with the rename itself).
void sync_directory(const std::filesystem::path& dir);

// Renames `from` over `to` in one step: `to` is either the old or the new file.
void replace_file(const std::filesystem::path& from, const std::filesystem::path& to);

std::string read_whole_file(const std::filesystem::path& path);

// Replaces `path` by a file holding `data` so that a crash leaves either the
// old or the new content: writes `path`.tmp, syncs it, renames it over
// `path` and syncs the directory.
void write_file_atomically(const std::filesystem::path& path, std::string_view data);

// Suffix of the temporary files of write_file_atomically; a file with it is
// the leftover of an interrupted write and is never read.
inline constexpr std::string_view kTempSuffix = ".tmp";

namespace detail {
void count_sync();  // for the system files' sync functions
}  // namespace detail

}  // namespace standin::storage
