#include "storage/file_io.h"

#include <atomic>

namespace standin::storage {
namespace {
std::atomic<uint64_t> sync_calls{0};
}  // namespace

void detail::count_sync() { sync_calls.fetch_add(1, std::memory_order_relaxed); }

uint64_t syncs_so_far() { return sync_calls.load(std::memory_order_relaxed); }

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    reset();
    native_ = other.release();
  }
  return *this;
}

FileHandle::Native FileHandle::release() {
  Native native = native_;
  native_ = kInvalid;
  return native;
}

void write_file_atomically(const std::filesystem::path& path, std::string_view data) {
  std::filesystem::path temp = path;
  temp += kTempSuffix;
  {
    FileHandle file = open_file(temp, OpenFor::Replacing);
    write_all_at(file, data, 0, temp);
    sync_file(file, temp);
  }
  replace_file(temp, path);
  sync_directory(path.parent_path());
}

}  // namespace standin::storage
