// The data directory's files on Windows. Files are opened with every share
// mode, FILE_SHARE_DELETE included, so that the atomic replace of a file can
// rename over a snapshot that a reader still holds open, as on POSIX.
#include <windows.h>

#include <algorithm>
#include <system_error>

#include "storage/file_io.h"

namespace standin::storage {
namespace {

[[noreturn]] void throw_last_error(const char* what, const std::filesystem::path& path) {
  const auto code = static_cast<int>(GetLastError());
  throw std::system_error(code, std::system_category(), std::string(what) + " " + path.string());
}

HANDLE handle_of(const FileHandle& file) { return reinterpret_cast<HANDLE>(file.get()); }

DWORD creation_of(OpenFor purpose) {
  switch (purpose) {
    case OpenFor::Reading:
    case OpenFor::Writing: return OPEN_EXISTING;
    case OpenFor::LockingOrCreating: return OPEN_ALWAYS;
    case OpenFor::Replacing: return CREATE_ALWAYS;
  }
  return OPEN_EXISTING;
}

DWORD access_of(OpenFor purpose) {
  switch (purpose) {
    case OpenFor::Reading: return GENERIC_READ;
    case OpenFor::Writing:
    case OpenFor::Replacing: return GENERIC_WRITE;
    case OpenFor::LockingOrCreating: return GENERIC_READ | GENERIC_WRITE;
  }
  return GENERIC_READ;
}

}  // namespace

void FileHandle::reset() {
  if (native_ != kInvalid) CloseHandle(reinterpret_cast<HANDLE>(native_));
  native_ = kInvalid;
}

FileHandle open_file(const std::filesystem::path& path, OpenFor purpose) {
  HANDLE handle = CreateFileW(path.c_str(), access_of(purpose), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, creation_of(purpose), FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw_last_error("cannot open", path);
  return FileHandle(reinterpret_cast<FileHandle::Native>(handle));
}

void write_all_at(const FileHandle& file, std::string_view data, uint64_t offset, const std::filesystem::path& path) {
  constexpr size_t kMaxChunk = size_t{1} << 30;  // WriteFile counts in a DWORD
  while (!data.empty()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min(data.size(), kMaxChunk));
    if (WriteFile(handle_of(file), data.data(), chunk, &written, &at) == 0) throw_last_error("cannot write", path);
    data.remove_prefix(written);
    offset += written;
  }
}

void resize_file(const FileHandle& file, uint64_t size, const std::filesystem::path& path) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (SetFileInformationByHandle(handle_of(file), FileEndOfFileInfo, &end, sizeof end) == 0) {
    throw_last_error("cannot truncate", path);
  }
}

void sync_file(const FileHandle& file, const std::filesystem::path& path) {
  detail::count_sync();
  if (FlushFileBuffers(handle_of(file)) == 0) throw_last_error("cannot sync", path);
}

void sync_file_data(const FileHandle& file, const std::filesystem::path& path) { sync_file(file, path); }

bool try_lock_exclusively(const FileHandle& file, const std::filesystem::path& path) {
  OVERLAPPED whole{};
  if (LockFileEx(handle_of(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole) !=
      0) {
    return true;
  }
  if (GetLastError() == ERROR_LOCK_VIOLATION) return false;
  throw_last_error("cannot lock", path);
}

// MoveFileExW with MOVEFILE_WRITE_THROUGH returns once the rename is on
// disk; there is no directory handle to flush.
void sync_directory(const std::filesystem::path& /*dir*/) {}

void replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    throw_last_error("cannot rename", from);
  }
}

std::string read_whole_file(const std::filesystem::path& path) {
  FileHandle file = open_file(path, OpenFor::Reading);
  std::string data;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(handle_of(file), &size) != 0 && size.QuadPart > 0) data.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[1 << 16];
  for (;;) {
    DWORD n = 0;
    if (ReadFile(handle_of(file), buffer, sizeof buffer, &n, nullptr) == 0) throw_last_error("cannot read", path);
    if (n == 0) return data;
    data.append(buffer, n);
  }
}

}  // namespace standin::storage
