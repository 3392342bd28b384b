// A dump of one database as text: what an upgrade may change, in an order
// that does not depend on how the database got there. Tables with their
// columns (type, length, nullability, identity) and rows (sorted), indexes
// and keys with their columns, and every named object (constraints,
// defaults, functions) with its kind and table. Object ids are left out:
// a transaction that was rolled back still uses up ids.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "standin/standin.h"

namespace testing_support {

using DumpRows = std::vector<std::vector<std::string>>;

// Every value as display text, NULL as "NULL"; an error as one row.
inline DumpRows dump_query(standin::Session& s, const std::string& query) {
  standin::BatchResult r = s.execute(query);
  if (!r.ok()) return {{"ERROR " + r.errors.front().message + " in " + query}};
  DumpRows out;
  if (r.result_sets.empty()) return out;
  for (const auto& row : r.result_sets[0].rows) {
    std::vector<std::string> values;
    for (const standin::Value& v : row) values.push_back(v.is_null() ? "NULL" : v.to_display());
    out.push_back(std::move(values));
  }
  return out;
}

inline std::string join_values(const std::vector<std::string>& values) {
  std::string line;
  for (const auto& v : values) line += v + "|";
  return line;
}

// Index and key definitions: "table index primary unique (col,col)".
inline std::vector<std::string> dump_indexes(standin::Session& s, const std::map<std::string, std::string>& table_of) {
  std::map<std::string, std::string> column_name;  // "object:column_id" -> name
  for (const auto& c : dump_query(s, "SELECT object_id, column_id, name FROM sys.columns"))
    column_name[c[0] + ":" + c[1]] = c[2];
  std::map<std::string, std::string> columns_of;  // "object:index_id" -> "(a,b)"
  for (const auto& c : dump_query(s,
                                  "SELECT object_id, index_id, column_id FROM sys.index_columns "
                                  "ORDER BY object_id, index_id, key_ordinal")) {
    std::string& list = columns_of[c[0] + ":" + c[1]];
    list += (list.empty() ? "" : ",") + column_name[c[0] + ":" + c[2]];
  }
  std::vector<std::string> out;
  for (const auto& i : dump_query(s,
                                  "SELECT object_id, index_id, name, is_primary_key, is_unique, type_desc "
                                  "FROM sys.indexes WHERE name IS NOT NULL")) {
    auto table = table_of.find(i[0]);
    out.push_back("index " + (table == table_of.end() ? "?" : table->second) + " " + i[2] + " " + i[3] + " " + i[4] +
                  " " + i[5] + " (" + columns_of[i[0] + ":" + i[1]] + ")");
  }
  std::sort(out.begin(), out.end());
  return out;
}

// `skip_rows`: tables whose rows are left out (their columns stay).
inline std::string dump_database(standin::Session& s, const std::set<std::string>& skip_rows = {}) {
  std::string out;
  std::map<std::string, std::string> table_of;  // object id -> name
  std::map<std::string, std::string> id_of;     // name -> object id
  for (const auto& o : dump_query(s, "SELECT id, name FROM sysobjects WHERE xtype='U'")) {
    table_of[o[0]] = o[1];
    id_of[o[1]] = o[0];
  }
  std::map<std::string, std::string> columns_of;  // object id -> column lines
  for (const auto& c : dump_query(s,
                                  "SELECT object_id, name, system_type_id, max_length, precision, scale, "
                                  "is_nullable, is_identity FROM sys.columns ORDER BY object_id, column_id"))
    columns_of[c[0]] += "column " + join_values({c.begin() + 1, c.end()}) + "\n";
  for (const auto& t : dump_query(s, "SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES ORDER BY TABLE_NAME")) {
    out += "== " + t[0] + "\n" + columns_of[id_of[t[0]]];
    if (skip_rows.count(t[0])) continue;
    std::vector<std::string> lines;
    for (const auto& row : dump_query(s, "SELECT * FROM [" + t[0] + "]")) lines.push_back(join_values(row));
    std::sort(lines.begin(), lines.end());
    for (const auto& line : lines) out += line + "\n";
  }
  for (const auto& line : dump_indexes(s, table_of)) out += line + "\n";
  std::vector<std::string> objects;
  for (const auto& o : dump_query(s, "SELECT name, xtype, parent_obj FROM sysobjects WHERE xtype<>'U'")) {
    auto parent = table_of.find(o[2]);
    objects.push_back("object " + o[0] + " " + o[1] + " " + (parent == table_of.end() ? "-" : parent->second));
  }
  std::sort(objects.begin(), objects.end());
  for (const auto& line : objects) out += line + "\n";
  return out;
}

}  // namespace testing_support
