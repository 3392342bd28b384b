// The permissions GRANT can name on a schema object: the words of its
// grammar, the two-to-four letter code sys.database_permissions shows for
// each, and the kinds of object that have it. One table, read by the parser
// (which refuses any other word), the executor (which refuses a permission
// the object does not have) and the catalog view.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace standin {

// The kinds of object the engine can grant on, as bits of a set.
enum class GrantableKind : uint8_t { Table = 1, View = 2, InlineFunction = 4 };

struct ObjectPermission {
  std::string_view name;  // permission_name, in capitals, words single-spaced
  std::string_view type;  // type: the code, blank-padded to four characters
  uint8_t kinds;          // the GrantableKind bits that have the permission
  bool in_all;            // granted by ALL [PRIVILEGES] (the ANSI-92 ones)

  bool applies_to(GrantableKind kind) const { return (kinds & static_cast<uint8_t>(kind)) != 0; }
};

// The permission of that name (capitals or not, words single-spaced); null
// when GRANT has none of that name.
const ObjectPermission* find_object_permission(std::string_view name);

// Every permission, in the order ALL grants them.
std::span<const ObjectPermission> object_permissions();

}  // namespace standin
