#include "db/tenant_discovery.h"

#include "db/sql_text.h"

namespace db {

std::vector<std::string> list_tenants(StatementRunner& runner, bool include_tmp_copies) {
  Rowset rows =
      runner.query(Channel::Discovery, include_tmp_copies ? kAllTenantsQuery : kTenantListQuery, Guard::unguarded());
  std::vector<std::string> names;
  for (size_t i = 0; i < rows.rows.size(); ++i) names.push_back(rows.text(i, "name"));
  return names;
}

bool is_tmp_copy(std::string_view name) {
  return name.size() >= 9 && iequals(name.substr(0, 6), "DRAVOK") && iequals(name.substr(6, 3), "TMP");
}

}  // namespace db
