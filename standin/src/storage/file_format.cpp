#include "storage/file_format.h"

#include "standin/standin.h"
#include "storage/crc32c.h"

namespace standin::storage {

void throw_damaged(const FileKind& kind, const std::filesystem::path& path, const std::string& reason) {
  throw OpenError(std::string(kind.noun) + " " + path.string() + ": " + reason);
}

void write_file_header(Writer& out, const FileKind& kind) {
  out.raw(kind.magic);
  out.u32(kind.version);
}

void check_file_header(Reader& in, const FileKind& kind, const std::filesystem::path& path) {
  std::string_view magic;
  uint32_t version = 0;
  if (!in.raw(kind.magic.size(), &magic) || magic != kind.magic) {
    throw_damaged(kind, path, "not a " + std::string(kind.noun) + " of this engine (bad magic)");
  }
  if (!in.u32(&version)) throw_damaged(kind, path, "file is truncated");
  if (version != kind.version) {
    throw_damaged(kind, path,
                  "unknown format version " + std::to_string(version) + " (this build reads version " +
                      std::to_string(kind.version) + ")");
  }
}

std::string seal(Writer out) {
  uint32_t crc = crc32c(out.bytes());
  out.u32(crc);
  return out.take();
}

Reader unseal(std::string_view file, const FileKind& kind, const std::filesystem::path& path) {
  Reader header(file);
  check_file_header(header, kind, path);
  if (file.size() < kFileHeaderSize + 4) throw_damaged(kind, path, "file is truncated");
  std::string_view body = file.substr(0, file.size() - 4);
  Reader trailer(file.substr(body.size()));
  uint32_t stored = 0;
  trailer.u32(&stored);
  if (crc32c(body) != stored) throw_damaged(kind, path, "checksum mismatch (the file is damaged)");
  return Reader(body.substr(kFileHeaderSize));
}

}  // namespace standin::storage
