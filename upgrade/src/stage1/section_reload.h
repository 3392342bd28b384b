// The fixed list of profit-and-loss sections (GuVKennz) and its reload.
#pragma once

#include <span>
#include <string_view>

#include "upgrade/tenant.h"

namespace upgrade::stage1 {

struct Section {
  std::string_view rim_nr;  // roman numeral of the section
  std::string_view kennz;   // letter within the section
  std::string_view bezeichnung;
};

// The thirteen sections, in insertion order; the VII row comes last and
// marks the list as loaded.
std::span<const Section> sections();

// Makes GuVKennz hold exactly the thirteen sections. While no detail row of
// GuVKennzD can be hit, the table is emptied and refilled. Otherwise the
// rows are reconciled one by one, because GuVKennzD follows its sections
// by a cascading foreign key: deleting a section that stays would delete its
// details with it.
void reload_sections(Tenant& t);

}  // namespace upgrade::stage1
