#include "db/connection_string.h"

namespace db {
namespace {

void item(std::string& out, std::string_view key, std::string_view value) {
  out += key;
  out += '=';
  out += value;
  out += ";\r\n";
}

void login_items(std::string& out, const Settings& s) {
  if (s.windows_authentication()) {
    out += "Integrated Security=SSPI;\r\n";
  } else {
    item(out, "Password", s.password);
    item(out, "User ID", s.user_id);
  }
}

}  // namespace

std::string discovery_connection_string(const Settings& s, std::string_view catalogue) {
  std::string out;
  item(out, "Provider", s.provider);
  item(out, "Persist Security Info", s.persist_security_info);
  login_items(out, s);
  item(out, "Initial Catalog", catalogue);
  item(out, "Data Source", s.data_source);
  return out;
}

std::string work_connection_string(const Settings& s, std::string_view database) {
  std::string out;
  item(out, "Provider", s.provider);
  login_items(out, s);
  item(out, "Persist Security Info", s.persist_security_info);
  item(out, "Initial Catalog", database);
  item(out, "Data Source", s.data_source);
  return out;
}

}  // namespace db
