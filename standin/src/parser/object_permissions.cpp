// Which object has which permission. Tables, views and table-valued
// functions have SELECT, INSERT, UPDATE, DELETE and REFERENCES, which ALL
// grants; EXECUTE belongs to procedures and scalar functions (the engine
// has neither), so it is granted on none of the engine's objects. RECEIVE
// belongs to service queues, also missing here. ALTER, CONTROL, TAKE
// OWNERSHIP and VIEW DEFINITION apply to every object; VIEW CHANGE TRACKING
// to tables.
#include "parser/object_permissions.h"

#include <array>

#include "types/ascii.h"

namespace standin {

namespace {

constexpr uint8_t kTable = static_cast<uint8_t>(GrantableKind::Table);
constexpr uint8_t kRelations =
    kTable | static_cast<uint8_t>(GrantableKind::View) | static_cast<uint8_t>(GrantableKind::InlineFunction);
constexpr uint8_t kNone = 0;

constexpr std::array<ObjectPermission, 12> kPermissions = {{
    {"DELETE", "DL  ", kRelations, true},
    {"INSERT", "IN  ", kRelations, true},
    {"REFERENCES", "RF  ", kRelations, true},
    {"SELECT", "SL  ", kRelations, true},
    {"UPDATE", "UP  ", kRelations, true},
    {"EXECUTE", "EX  ", kNone, false},
    {"RECEIVE", "RC  ", kNone, false},
    {"ALTER", "AL  ", kRelations, false},
    {"CONTROL", "CL  ", kRelations, false},
    {"TAKE OWNERSHIP", "TO  ", kRelations, false},
    {"VIEW DEFINITION", "VW  ", kRelations, false},
    {"VIEW CHANGE TRACKING", "VWCT", kTable, false},
}};

}  // namespace

const ObjectPermission* find_object_permission(std::string_view name) {
  for (const ObjectPermission& p : kPermissions)
    if (iequals(p.name, name)) return &p;
  return nullptr;
}

std::span<const ObjectPermission> object_permissions() { return kPermissions; }

}  // namespace standin
