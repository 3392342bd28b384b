#include "catalog/catalog.h"

#include <algorithm>

#include "types/compare.h"

namespace standin {

std::string dotted_name(const std::vector<std::string>& parts) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) s += '.';
    s += parts[i];
  }
  return s;
}

bool names_equal(std::string_view a, std::string_view b) { return collate_compare(a, b) == 0; }

void Table::touch() {
  static uint64_t counter = 1;
  generation = ++counter;
  key_cache.reset();
}

int Table::find_column(std::string_view name) const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (names_equal(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

bool Table::next_identity(const Column& c, int64_t* next) const {
  if (!identity_used) {
    *next = c.seed;
    return true;
  }
  return !__builtin_add_overflow(identity_current, c.increment, next);
}

int Table::identity_column() const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].identity) return static_cast<int>(i);
  return -1;
}

const KeyIndex* Table::primary_key() const {
  for (const KeyIndex& k : indexes)
    if (k.primary) return &k;
  return nullptr;
}

KeyIndex* Table::find_index(std::string_view name) {
  for (KeyIndex& k : indexes)
    if (names_equal(k.name, name)) return &k;
  return nullptr;
}

std::vector<int> Table::column_indexes(const std::vector<std::string>& names) const {
  std::vector<int> out;
  out.reserve(names.size());
  for (const std::string& n : names) out.push_back(find_column(n));
  return out;
}

Table* Database::find_table(std::string_view name) const {
  if (last_found < tables.size() && names_equal(tables[last_found]->name, name)) return tables[last_found].get();
  for (size_t i = 0; i < tables.size(); ++i)
    if (names_equal(tables[i]->name, name)) {
      last_found = i;
      return tables[i].get();
    }
  return nullptr;
}

FunctionDef* Database::find_function(std::string_view name) const {
  for (const auto& f : functions)
    if (!f->view && names_equal(f->name, name)) return f.get();
  return nullptr;
}

FunctionDef* Database::find_view(std::string_view name) const {
  for (const auto& f : functions)
    if (f->view && names_equal(f->name, name)) return f.get();
  return nullptr;
}

bool Database::object_exists(std::string_view name) const {
  if (find_table(name) || find_function(name) || find_view(name)) return true;
  for (const auto& t : tables) {
    for (const KeyIndex& k : t->indexes)
      if (k.object_id != 0 && names_equal(k.name, name)) return true;
    for (const ForeignKey& f : t->foreign_keys)
      if (names_equal(f.name, name)) return true;
    for (const Column& c : t->columns)
      if (c.default_constraint && names_equal(c.default_constraint->name, name)) return true;
    for (const CheckConstraint& k : t->checks)
      if (names_equal(k.name, name)) return true;
  }
  return false;
}

std::unique_ptr<Table> Database::remove_table(const Table* t) {
  auto it = std::find_if(tables.begin(), tables.end(), [&](const auto& p) { return p.get() == t; });
  if (it == tables.end()) return nullptr;
  std::unique_ptr<Table> out = std::move(*it);
  tables.erase(it);
  return out;
}

Database* Catalog::database_of(const Table* t) const {
  for (const auto& d : databases)
    for (const auto& table : d->tables)
      if (table.get() == t) return d.get();
  return nullptr;
}

void Database::unload() {
  tables.clear();
  functions.clear();
  last_found = 0;
  loaded = false;
}

Database* Catalog::peek(std::string_view name) const {
  for (const auto& d : databases)
    if (names_equal(d->name, name)) return d.get();
  return nullptr;
}

Database* Catalog::find(std::string_view name) const {
  Database* db = peek(name);
  if (db && !db->loaded) {
    load(*db);
    db->loaded = true;
  }
  return db;
}

Database* Catalog::create(std::string name) {
  auto db = std::make_unique<Database>();
  db->name = std::move(name);
  db->dbid = next_dbid++;
  databases.push_back(std::move(db));
  return databases.back().get();
}

std::string row_key(const Row& row, const std::vector<int>& columns) {
  std::string key;
  for (int c : columns) {
    const Value& v = row[static_cast<size_t>(c)];
    if (v.is_null()) {
      key += '\x01';
    } else if (v.type().is_string()) {
      key += '\x02';
      key += collate_key(v.string_value());
    } else if (v.type().type == Type::Decimal || v.type().type == Type::Money) {
      // Same column, same scale: the unscaled integer identifies the value.
      key += '\x03';
      key += v.decimal_value().to_string();
    } else {
      key += '\x04';
      key += v.to_display();
    }
    key += '\x00';
  }
  return key;
}

}  // namespace standin
