// On POSIX systems the tool talks to SQL Server through FreeTDS, which
// scripts/install-deps.sh installs; Microsoft's driver is used only when the
// settings name it.
#include "db/odbc_drivers.h"

namespace db {

std::string default_odbc_driver() { return kFreeTdsDriver; }

}  // namespace db
