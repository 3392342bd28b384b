#include "scripts/catalog.h"

#include "script_table.h"

namespace scripts {

std::span<const Script> all() { return detail::catalog(); }

const Script* find(std::string_view name) {
  for (const Script& script : all()) {
    if (script.name == name) return &script;
  }
  return nullptr;
}

}  // namespace scripts
