#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace standin::storage {
namespace {

[[noreturn]] void throw_errno(const char* what, const std::filesystem::path& path) {
  throw std::system_error(errno, std::generic_category(), std::string(what) + " " + path.string());
}

}  // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    reset();
    fd_ = other.release();
  }
  return *this;
}

int FileHandle::release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

void FileHandle::reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

FileHandle open_file(const std::filesystem::path& path, int flags, int mode) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  if (fd < 0) throw_errno("cannot open", path);
  return FileHandle(fd);
}

void write_all_at(int fd, std::string_view data, uint64_t offset, const std::filesystem::path& path) {
  while (!data.empty()) {
    ssize_t n = ::pwrite(fd, data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw_errno("cannot write", path);
    }
    data.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
}

namespace {
std::atomic<uint64_t> sync_calls{0};
}  // namespace

uint64_t syncs_so_far() { return sync_calls.load(std::memory_order_relaxed); }

void sync_file(int fd, const std::filesystem::path& path) {
  sync_calls.fetch_add(1, std::memory_order_relaxed);
  if (::fsync(fd) != 0) throw_errno("cannot sync", path);
}

void sync_file_data(int fd, const std::filesystem::path& path) {
  sync_calls.fetch_add(1, std::memory_order_relaxed);
  if (::fdatasync(fd) != 0) throw_errno("cannot sync", path);
}

void sync_directory(const std::filesystem::path& dir) {
  FileHandle fd = open_file(dir, O_RDONLY | O_DIRECTORY);
  sync_file(fd.get(), dir);
}

std::string read_whole_file(const std::filesystem::path& path) {
  FileHandle fd = open_file(path, O_RDONLY);
  std::string data;
  struct stat info {};
  if (::fstat(fd.get(), &info) == 0 && info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw_errno("cannot read", path);
    }
    if (n == 0) return data;
    data.append(buffer, static_cast<size_t>(n));
  }
}

void write_file_atomically(const std::filesystem::path& path, std::string_view data) {
  std::filesystem::path temp = path;
  temp += kTempSuffix;
  {
    FileHandle fd = open_file(temp, O_WRONLY | O_CREAT | O_TRUNC);
    write_all_at(fd.get(), data, 0, temp);
    sync_file(fd.get(), temp);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) throw_errno("cannot rename", temp);
  sync_directory(path.parent_path());
}

}  // namespace standin::storage
