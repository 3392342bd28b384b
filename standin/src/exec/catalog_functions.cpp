// The scalar functions that read the catalog (OBJECT_ID, DB_NAME,
// COL_LENGTH, TYPE_NAME, ...): they need the current database, which the type layer's
// function table does not see, so the executor evaluates them here.
#include <string>

#include "exec/executor.h"

namespace standin {

namespace {

bool null_or_missing(const std::vector<Value>& args, size_t count) {
  if (args.size() < count) return true;
  for (size_t i = 0; i < count; ++i)
    if (args[i].is_null()) return true;
  return false;
}

Value object_id(const Database& db, const std::vector<Value>& args) {
  if (null_or_missing(args, 1)) return Value::null();
  std::string name = args[0].string_value();
  // dbo.Name and [dbo].[Name]: the last part names the object.
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name = name.substr(dot + 1);
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  std::string type = args.size() >= 2 && !args[1].is_null() ? args[1].string_value() : std::string();
  auto id = object_id_of(db, name, type);
  return id ? Value::integer(*id) : Value::null();
}

// DB_ID() is the current database's; DB_ID(name) that database's, or NULL
// when there is none.
Value db_id(const Catalog& catalog, const Database& db, const std::vector<Value>& args) {
  if (args.empty()) return Value::integer(db.dbid, Type::SmallInt);
  if (args[0].is_null()) return Value::null(TypeInfo{Type::SmallInt});
  const Database* named = catalog.peek(args[0].string_value());
  return named ? Value::integer(named->dbid, Type::SmallInt) : Value::null(TypeInfo{Type::SmallInt});
}

Value object_name(const Database& db, const std::vector<Value>& args) {
  if (null_or_missing(args, 1)) return Value::null(TypeInfo::nvarchar(128));
  auto name = object_name_of(db, static_cast<int32_t>(args[0].int_value()));
  return name ? Value::string(*name, TypeInfo::nvarchar(128)) : Value::null(TypeInfo::nvarchar(128));
}

Value type_name(const std::vector<Value>& args) {
  if (null_or_missing(args, 1)) return Value::null(TypeInfo::nvarchar(128));
  auto name = type_name_of(static_cast<int32_t>(args[0].int_value()));
  return name ? Value::string(std::string(*name), TypeInfo::nvarchar(128)) : Value::null(TypeInfo::nvarchar(128));
}

Value ident_current(Database& db, const std::vector<Value>& args) {
  if (null_or_missing(args, 1)) return Value::null();
  Table* t = db.find_table(args[0].string_value());
  if (!t || t->identity_column() < 0) return Value::null(TypeInfo::decimal(38, 0));
  const Column& c = t->columns[static_cast<size_t>(t->identity_column())];
  int64_t v = t->identity_used ? t->identity_current : c.seed;
  return Value::decimal(Decimal(v, 0), TypeInfo::decimal(38, 0));
}

Value col_length(Database& db, const std::vector<Value>& args) {
  if (null_or_missing(args, 2)) return Value::null();
  Table* t = db.find_table(args[0].string_value());
  int c = t ? t->find_column(args[1].string_value()) : -1;
  if (c < 0) return Value::null(TypeInfo{Type::SmallInt});
  const TypeInfo& ty = t->columns[static_cast<size_t>(c)].type;
  return Value::integer(ty.is_string() ? (ty.is_unicode() ? 2 * ty.length : ty.length) : 4, Type::SmallInt);
}

}  // namespace

Value catalog_function(const Catalog& catalog, Database& db, std::string_view name, const std::vector<Value>& args) {
  if (name == "OBJECT_ID") return object_id(db, args);
  if (name == "OBJECT_NAME") return object_name(db, args);
  if (name == "DB_NAME") return Value::string(db.name, TypeInfo::nvarchar(128));
  if (name == "DB_ID") return db_id(catalog, db, args);
  if (name == "IDENT_CURRENT") return ident_current(db, args);
  if (name == "COL_LENGTH") return col_length(db, args);
  if (name == "TYPE_NAME") return type_name(args);
  return Value::null();
}

}  // namespace standin
