#include "upgrade/tenant_status.h"

#include "db/connections.h"
#include "db/tenant_discovery.h"

namespace upgrade {
namespace {

constexpr const char* kVersionQuery = "SELECT Version FROM tblVersion";

std::vector<std::string> versions(db::Primitives& sql) {
  db::Rowset rows = sql.runner().query(db::Channel::Probe, kVersionQuery, db::Guard::unguarded());
  std::vector<std::string> out;
  for (size_t i = 0; i < rows.rows.size(); ++i) out.push_back(rows.text(i, "Version"));
  return out;
}

std::string shown_versions(const std::optional<std::vector<std::string>>& versions) {
  if (!versions) return "none";
  if (versions->empty()) return "empty";
  std::string out;
  for (const std::string& v : *versions) out += (out.empty() ? "" : ",") + v;
  return out;
}

std::string padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

std::vector<TenantStatus> read_tenant_status(db::Primitives& sql, UiFeedback& feedback) {
  db::Connections& connections = sql.runner().connections();
  feedback.set_place(db::kDiscoveryCatalogue);
  connections.pConn(db::kDiscoveryCatalogue);
  std::vector<TenantStatus> out;
  for (const std::string& name : db::list_tenants(sql.runner(), true)) {
    TenantStatus status;
    status.name = name;
    status.tmp_copy = db::is_tmp_copy(name);
    feedback.set_place(name);
    connections.MandantChange(name);
    status.reachable = connections.work_is_open();
    if (status.reachable) {
      if (sql.TableExists("tblVersion")) status.versions = versions(sql);
      status.converted = sql.TableExists("UpdS");
    }
    out.push_back(std::move(status));
  }
  return out;
}

std::string status_line(const TenantStatus& s, size_t name_width) {
  std::string line = padded(s.name, name_width) + "  ";
  if (!s.reachable) return line + "no connection";
  line += padded("version " + shown_versions(s.versions), 14) + "  ";
  line += s.converted ? "UpdS yes  " : "UpdS no   ";
  line += s.tmp_copy ? "TMP copy" : "tenant";
  return line;
}

}  // namespace upgrade
