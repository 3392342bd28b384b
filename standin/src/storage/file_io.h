// Thin POSIX file helpers for the data directory. Every failure throws
// std::system_error naming the path, so that a full disk or a permission
// problem reaches the user as a sentence rather than as an errno.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace standin::storage {

// Owns a file descriptor and closes it.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() { reset(); }
  FileHandle(FileHandle&& other) noexcept : fd_(other.release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release();
  void reset();

 private:
  int fd_ = -1;
};

// open(2) with O_CLOEXEC; throws on failure.
FileHandle open_file(const std::filesystem::path& path, int flags, int mode = 0644);

// Writes all of `data` at `offset` (pwrite(2) may write less than asked).
void write_all_at(int fd, std::string_view data, uint64_t offset, const std::filesystem::path& path);

void sync_file(int fd, const std::filesystem::path& path);       // fsync
void sync_file_data(int fd, const std::filesystem::path& path);  // fdatasync

// fsync and fdatasync calls of this process so far, for benchmarks and for
// tests that check that a command text which changed nothing syncs nothing.
uint64_t syncs_so_far();

// Makes renames and unlinks inside `dir` durable.
void sync_directory(const std::filesystem::path& dir);

std::string read_whole_file(const std::filesystem::path& path);

// Replaces `path` by a file holding `data` so that a crash leaves either the
// old or the new content: writes `path`.tmp, syncs it, renames it over
// `path` and syncs the directory.
void write_file_atomically(const std::filesystem::path& path, std::string_view data);

// Suffix of the temporary files of write_file_atomically; a file with it is
// the leftover of an interrupted write and is never read.
inline constexpr std::string_view kTempSuffix = ".tmp";

}  // namespace standin::storage
