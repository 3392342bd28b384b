// Reading a chart of accounts in the XML account-example format that
// Debian's gnucash-common ships (for example
// /usr/share/gnucash/accounts/de_DE/acctchrt_skr49.gnucash-xea).
//
// The format is a flat list of <gnc:account> elements; each names its parent
// by id. We read only the few elements we use, with a small scanner rather
// than a general XML parser: the files are machine-written, one element per
// line, and a malformed account stops the build rather than being guessed at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct ChartAccount {
  std::string id;
  std::string parent_id;     // empty for the root
  std::string name;          // as in the file, e.g. "0945 Bank" (entities decoded)
  std::string code;          // e.g. "0945", "0010-0249", "0"
  std::string type;          // ASSET, BANK, CASH, INCOME, EXPENSE, LIABILITY, ...
  bool placeholder = false;  // a heading that takes no bookings
};

// The accounts of `xml` in file order. Throws std::runtime_error naming the
// account whose name, id or type is missing.
std::vector<ChartAccount> parse_chart(std::string_view xml);

// `text` with the five predefined XML entities and numeric character
// references decoded.
std::string decode_xml_text(std::string_view text);

}  // namespace tools
