// Which databases on the server are tenant databases: those whose name,
// upper-cased, begins with DRAVOK; a TMP copy has TMP right after that. The
// server's catalogue is the only source, and its order is kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/statement_runner.h"

namespace db {

// Tenant databases without their TMP copies (the main run).
inline constexpr const char* kTenantListQuery =
    "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%' AND UPPER(SUBSTRING(name,7,3))<>'TMP'";
// Every tenant database, TMP copies included (the finishing pass).
inline constexpr const char* kAllTenantsQuery =
    "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%'";

// Names of the tenant databases in the server's order, asked on the
// discovery connection through `runner`: `kTenantListQuery` or, with
// `include_tmp_copies`, `kAllTenantsQuery`. Unguarded: a discovery
// connection that cannot be opened again throws DbError.
std::vector<std::string> list_tenants(StatementRunner& runner, bool include_tmp_copies);

// True for a name that the naming rule makes a TMP copy.
bool is_tmp_copy(std::string_view name);

}  // namespace db
