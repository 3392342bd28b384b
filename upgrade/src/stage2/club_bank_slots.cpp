#include "club_bank_slots.h"

#include "db/sql_text.h"

namespace upgrade::stage2 {

std::string slot_value(const db::Rowset& mandstam, std::string_view stem, int slot) {
  return std::string(db::trimmed(mandstam.text(0, std::string(stem) + std::to_string(slot))));
}

std::optional<BankSlot> bank_slot(const db::Rowset& mandstam, int slot) {
  BankSlot s{slot_value(mandstam, "Bank", slot), slot_value(mandstam, "Konto", slot),
             slot_value(mandstam, "BLZ", slot)};
  if (s.bank.empty() || s.account.empty() || s.bank_code.empty()) return std::nullopt;
  return s;
}

}  // namespace upgrade::stage2
