// The account layout shared by the template account tables and the SKR 49
// chart (106 columns), the two columns the chart table adds, and the
// tax-key layout (8 columns).
#pragma once

#include <span>
#include <string_view>

namespace tools {

struct LayoutColumn {
  std::string_view name;
  std::string_view type;  // smallint, int, varchar, numeric, char, datetime
  std::string_view size;  // "40", "19, 8" or empty
  bool not_null = false;
  bool identity = false;
};

// The 106 columns of an account table, in table order.
std::span<const LayoutColumn> account_columns();

// KoSt and DatevAuto, which the SKR 49 chart table has after the 106.
std::span<const LayoutColumn> chart_extra_columns();

// The 8 columns of a tax-key table, in table order.
std::span<const LayoutColumn> tax_key_columns();

// True for the text columns (varchar and char).
bool is_text(const LayoutColumn& column);

}  // namespace tools
