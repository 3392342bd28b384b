#include "club_bank_slots.h"

namespace upgrade::stage2 {
namespace {

bool is_blank_or_control(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string trimmed(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && is_blank_or_control(text[begin])) ++begin;
  while (end > begin && is_blank_or_control(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string slot_value(const db::Rowset& mandstam, std::string_view stem, int slot) {
  return trimmed(mandstam.text(0, std::string(stem) + std::to_string(slot)));
}

std::optional<BankSlot> bank_slot(const db::Rowset& mandstam, int slot) {
  BankSlot s{slot_value(mandstam, "Bank", slot), slot_value(mandstam, "Konto", slot),
             slot_value(mandstam, "BLZ", slot)};
  if (s.bank.empty() || s.account.empty() || s.bank_code.empty()) return std::nullopt;
  return s;
}

}  // namespace upgrade::stage2
