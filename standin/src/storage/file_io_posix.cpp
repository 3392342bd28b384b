// The data directory's files on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "storage/file_io.h"

namespace standin::storage {
namespace {

[[noreturn]] void throw_errno(const char* what, const std::filesystem::path& path) {
  throw std::system_error(errno, std::generic_category(), std::string(what) + " " + path.string());
}

int fd_of(const FileHandle& file) { return static_cast<int>(file.get()); }

int open_flags(OpenFor purpose) {
  switch (purpose) {
    case OpenFor::Reading: return O_RDONLY;
    case OpenFor::Writing: return O_WRONLY;
    case OpenFor::LockingOrCreating: return O_RDWR | O_CREAT;
    case OpenFor::Replacing: return O_WRONLY | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

FileHandle open_flagged(const std::filesystem::path& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) throw_errno("cannot open", path);
  return FileHandle(fd);
}

}  // namespace

void FileHandle::reset() {
  if (native_ != kInvalid) ::close(static_cast<int>(native_));
  native_ = kInvalid;
}

FileHandle open_file(const std::filesystem::path& path, OpenFor purpose) {
  return open_flagged(path, open_flags(purpose));
}

void write_all_at(const FileHandle& file, std::string_view data, uint64_t offset, const std::filesystem::path& path) {
  while (!data.empty()) {
    ssize_t n = ::pwrite(fd_of(file), data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw_errno("cannot write", path);
    }
    data.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
}

void resize_file(const FileHandle& file, uint64_t size, const std::filesystem::path& path) {
  if (::ftruncate(fd_of(file), static_cast<off_t>(size)) != 0) throw_errno("cannot truncate", path);
}

void sync_file(const FileHandle& file, const std::filesystem::path& path) {
  detail::count_sync();
  if (::fsync(fd_of(file)) != 0) throw_errno("cannot sync", path);
}

void sync_file_data(const FileHandle& file, const std::filesystem::path& path) {
  detail::count_sync();
  if (::fdatasync(fd_of(file)) != 0) throw_errno("cannot sync", path);
}

bool try_lock_exclusively(const FileHandle& file, const std::filesystem::path& path) {
  if (::flock(fd_of(file), LOCK_EX | LOCK_NB) == 0) return true;
  if (errno == EWOULDBLOCK) return false;
  throw_errno("cannot lock", path);
}

void sync_directory(const std::filesystem::path& dir) {
  FileHandle fd = open_flagged(dir, O_RDONLY | O_DIRECTORY);
  sync_file(fd, dir);
}

void replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) throw_errno("cannot rename", from);
}

std::string read_whole_file(const std::filesystem::path& path) {
  FileHandle fd = open_file(path, OpenFor::Reading);
  std::string data;
  struct stat info {};
  if (::fstat(fd_of(fd), &info) == 0 && info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd_of(fd), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw_errno("cannot read", path);
    }
    if (n == 0) return data;
    data.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace standin::storage
