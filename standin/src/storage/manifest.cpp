#include "storage/manifest.h"

#include "storage/file_format.h"

namespace standin::storage {

std::string encode_manifest(const Manifest& manifest) {
  Writer out;
  write_file_header(out, kManifestKind);
  out.varint(manifest.generation);
  out.varint(manifest.entries.size());
  for (const auto& entry : manifest.entries) {
    out.str(entry.database);
    out.str(entry.file);
  }
  return seal(std::move(out));
}

Manifest decode_manifest(std::string_view file, const std::filesystem::path& path) {
  Reader in = unseal(file, kManifestKind, path);
  Manifest manifest;
  uint64_t count = 0;
  if (!in.varint(&manifest.generation) || !in.varint(&count)) {
    throw_damaged(kManifestKind, path, "malformed content");
  }
  for (uint64_t i = 0; i < count; ++i) {
    Manifest::Entry entry;
    if (!in.str(&entry.database) || !in.str(&entry.file)) {
      throw_damaged(kManifestKind, path, "malformed content");
    }
    // A file name, never a path: the manifest must not reach outside.
    if (entry.file.empty() || entry.file == "." || entry.file == ".." || entry.file.find('/') != std::string::npos) {
      throw_damaged(kManifestKind, path, "bad file name '" + entry.file + "'");
    }
    manifest.entries.push_back(std::move(entry));
  }
  if (!in.at_end()) throw_damaged(kManifestKind, path, "malformed content");
  return manifest;
}

}  // namespace standin::storage
