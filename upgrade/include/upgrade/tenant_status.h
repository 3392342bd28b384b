// The status view (sqlupdate --status): where every tenant database on the
// server stands, read with probes only. The tenant databases are found as
// the run finds them, TMP copies included as the finishing pass includes
// them; for each: its version marker (the rows of tblVersion), whether the
// finishing pass has converted it (the marker table UpdS), whether it is a
// TMP copy, which the main run skips.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/primitives.h"
#include "upgrade/ui_feedback.h"

namespace upgrade {

struct TenantStatus {
  std::string name;
  bool reachable = true;  // its connection opened
  // The values of tblVersion in the server's order; nullopt without the table.
  std::optional<std::vector<std::string>> versions;
  bool converted = false;  // UpdS exists
  bool tmp_copy = false;
};

// Opens the discovery connection, lists every tenant database and probes
// each on the work connection. Sends nothing but SELECTs (and the session
// settings of each connection). A tenant whose connection fails is shown in
// the error dialog and listed as not reachable. Throws db::DbError when the
// discovery connection cannot be opened.
std::vector<TenantStatus> read_tenant_status(db::Primitives& sql, UiFeedback& feedback);

// "DRAVOK01     version 10    UpdS yes  tenant", padded to line up for
// names up to `name_width` characters.
std::string status_line(const TenantStatus& status, size_t name_width);

}  // namespace upgrade
