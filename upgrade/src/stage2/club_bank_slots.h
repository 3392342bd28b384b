// The club's bank accounts as the club master record Mandstam keeps them: up
// to three slots i = 1, 2, 3 in the columns Bank<i>, Konto<i>, BLZ<i>,
// Fibukonto<i> (and Online<i>, IBAN<i>, BIC<i> once those exist). Only the
// first row of Mandstam counts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/connection.h"

namespace upgrade::stage2 {

// Slot `slot`'s column `stem`<slot> of the first row, trimmed; "" for NULL,
// a missing column or a Mandstam without rows.
std::string slot_value(const db::Rowset& mandstam, std::string_view stem, int slot);

// The three values that make a slot a bank account.
struct BankSlot {
  std::string bank;       // Bank<i>
  std::string account;    // Konto<i>
  std::string bank_code;  // BLZ<i>
};

// The trimmed bank, account number and bank code of `slot`; nullopt when any
// of them is empty (the slot holds no usable account).
std::optional<BankSlot> bank_slot(const db::Rowset& mandstam, int slot);

}  // namespace upgrade::stage2
