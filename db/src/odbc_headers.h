// The ODBC headers: Windows's want windows.h before them, unixODBC's bring
// their own types.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
