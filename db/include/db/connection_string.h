// The two connection strings of the tool, in the OLE DB form that the
// settings file speaks: items "Key=value;" each followed by CR LF, values
// inserted exactly as read. The discovery connection puts the
// Persist Security Info item second, the work connection third.
#pragma once

#include <string>
#include <string_view>

#include "db/settings.h"

namespace db {

std::string discovery_connection_string(const Settings& settings, std::string_view catalogue);
std::string work_connection_string(const Settings& settings, std::string_view database);

}  // namespace db
