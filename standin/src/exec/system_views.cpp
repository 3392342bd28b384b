// The catalog views, built on demand from the catalog: the compatibility
// views (master.dbo.sysdatabases, sysobjects, syscolumns, systypes,
// sysindexes), the sys.* views and INFORMATION_SCHEMA. Each answers the
// columns that clients read, with SQL Server's names and types.
#include <algorithm>
#include <array>

#include "exec/executor.h"
#include "exec/view_filter.h"
#include "parser/lexer.h"
#include "parser/object_permissions.h"

namespace standin {

namespace {

const TypeInfo kSysname = TypeInfo::nvarchar(128);
const TypeInfo kInt{Type::Int};
const TypeInfo kSmallInt{Type::SmallInt};
const TypeInfo kTinyInt{Type::TinyInt};
const TypeInfo kBit{Type::Bit};
const TypeInfo kDateTime{Type::DateTime};

struct SystemType {
  const char* name;
  int xtype;
  int xusertype;
  int length;
  int prec;
  int scale;
};

// systypes: xtype is the storage type; sysname shares nvarchar's.
constexpr std::array<SystemType, 31> kSystemTypes = {{
    {"image", 34, 34, 16, 0, 0},
    {"text", 35, 35, 16, 0, 0},
    {"uniqueidentifier", 36, 36, 16, 0, 0},
    {"date", 40, 40, 3, 10, 0},
    {"time", 41, 41, 5, 16, 7},
    {"datetime2", 42, 42, 8, 27, 7},
    {"datetimeoffset", 43, 43, 10, 34, 7},
    {"tinyint", 48, 48, 1, 3, 0},
    {"smallint", 52, 52, 2, 5, 0},
    {"int", 56, 56, 4, 10, 0},
    {"smalldatetime", 58, 58, 4, 16, 0},
    {"real", 59, 59, 4, 24, 0},
    {"money", 60, 60, 8, 19, 4},
    {"datetime", 61, 61, 8, 23, 3},
    {"float", 62, 62, 8, 53, 0},
    {"sql_variant", 98, 98, 8016, 0, 0},
    {"ntext", 99, 99, 16, 0, 0},
    {"bit", 104, 104, 1, 1, 0},
    {"decimal", 106, 106, 17, 38, 38},
    {"numeric", 108, 108, 17, 38, 38},
    {"smallmoney", 122, 122, 4, 10, 4},
    {"bigint", 127, 127, 8, 19, 0},
    {"varbinary", 165, 165, 8000, 0, 0},
    {"varchar", 167, 167, 8000, 0, 0},
    {"binary", 173, 173, 8000, 0, 0},
    {"char", 175, 175, 8000, 0, 0},
    {"timestamp", 189, 189, 8, 0, 0},
    {"nvarchar", 231, 231, 8000, 0, 0},
    {"sysname", 231, 256, 256, 0, 0},
    {"nchar", 239, 239, 8000, 0, 0},
    {"xml", 241, 241, -1, 0, 0},
}};

int xtype_of(const Column& c) {
  for (const SystemType& t : kSystemTypes)
    if (names_equal(t.name, c.type_name)) return t.xtype;
  switch (c.type.type) {
    case Type::Bit: return 104;
    case Type::TinyInt: return 48;
    case Type::SmallInt: return 52;
    case Type::Int: return 56;
    case Type::BigInt: return 127;
    case Type::Decimal: return 108;
    case Type::Money: return 60;
    case Type::Real: return 59;
    case Type::Float: return 62;
    case Type::Char: return 175;
    case Type::VarChar: return 167;
    case Type::NChar: return 239;
    case Type::NVarChar: return 231;
    case Type::Text: return 35;
    case Type::NText: return 99;
    case Type::Binary: return 173;
    case Type::VarBinary: return 165;
    case Type::Image: return 34;
    case Type::DateTime: return 61;
    case Type::SmallDateTime: return 58;
    case Type::Date: return 40;
    case Type::UniqueIdentifier: return 36;
  }
  return 0;
}

int xusertype_of(const Column& c) {
  if (names_equal(c.type_name, "sysname")) return 256;
  return xtype_of(c);
}

int decimal_storage(int precision) {
  if (precision <= 9) return 5;
  if (precision <= 19) return 9;
  if (precision <= 28) return 13;
  return 17;
}

// Bytes the column takes, as syscolumns.length and sys.columns.max_length.
int storage_length(const TypeInfo& t) {
  switch (t.type) {
    case Type::Bit:
    case Type::TinyInt: return 1;
    case Type::SmallInt: return 2;
    case Type::Int:
    case Type::Real:
    case Type::SmallDateTime: return 4;
    case Type::BigInt:
    case Type::Money:
    case Type::Float:
    case Type::DateTime: return 8;
    case Type::Date: return 3;
    case Type::Decimal: return decimal_storage(t.precision);
    case Type::UniqueIdentifier:
    case Type::Text:
    case Type::NText:
    case Type::Image: return 16;
    case Type::Char:
    case Type::VarChar:
    case Type::Binary:
    case Type::VarBinary: return t.length == TypeInfo::kMax ? -1 : t.length;
    case Type::NChar:
    case Type::NVarChar: return t.length == TypeInfo::kMax ? -1 : 2 * t.length;
  }
  return 0;
}

int precision_of(const TypeInfo& t) {
  switch (t.type) {
    case Type::TinyInt: return 3;
    case Type::SmallInt: return 5;
    case Type::Int: return 10;
    case Type::BigInt: return 19;
    case Type::Decimal: return t.precision;
    case Type::Money: return 19;
    case Type::Real: return 24;
    case Type::Float: return 53;
    case Type::DateTime: return 23;
    case Type::SmallDateTime: return 16;
    case Type::Date: return 10;
    case Type::Bit: return 1;
    default: return 0;
  }
}

int scale_of(const TypeInfo& t) {
  if (t.type == Type::Decimal) return t.scale;
  if (t.type == Type::Money) return 4;
  if (t.type == Type::DateTime) return 3;
  return 0;
}

class ViewBuilder {
 public:
  explicit ViewBuilder(Relation* rel) : rel_(rel) {}
  ViewBuilder& col(const char* name, TypeInfo type) {
    rel_->column_names.emplace_back(name);
    rel_->column_types.push_back(type);
    return *this;
  }
  void row(Row r) { rel_->owned.push_back(std::move(r)); }

 private:
  Relation* rel_;
};

Value str(std::string s, TypeInfo t = kSysname) { return Value::string(std::move(s), t); }
Value num(int64_t v, Type t = Type::Int) { return Value::integer(v, t); }
Value nullv(TypeInfo t) { return Value::null(t); }

// Every object that sysobjects lists: tables, keys, constraints, functions.
struct ObjectInfo {
  std::string name;
  int32_t id;
  std::string xtype;  // two characters
  std::string type_desc;
  int32_t parent;
  DateTime created;
};

std::vector<ObjectInfo> objects_of(const Database& db) {
  std::vector<ObjectInfo> out;
  for (const auto& t : db.tables) {
    out.push_back({t->name, t->object_id, "U ", "USER_TABLE", 0, t->created});
    for (const KeyIndex& k : t->indexes)
      if (k.object_id != 0)
        out.push_back({k.name, k.object_id, k.primary ? "PK" : "UQ",
                       k.primary ? "PRIMARY_KEY_CONSTRAINT" : "UNIQUE_CONSTRAINT", t->object_id, t->created});
    for (const ForeignKey& f : t->foreign_keys)
      out.push_back({f.name, f.object_id, "F ", "FOREIGN_KEY_CONSTRAINT", t->object_id, t->created});
    for (const Column& c : t->columns)
      if (c.default_constraint)
        out.push_back({c.default_constraint->name, c.default_constraint->object_id, "D ", "DEFAULT_CONSTRAINT",
                       t->object_id, t->created});
    for (const CheckConstraint& k : t->checks)
      out.push_back({k.name, k.object_id, "C ", "CHECK_CONSTRAINT", t->object_id, t->created});
  }
  for (const auto& f : db.functions)
    out.push_back(f->view ? ObjectInfo{f->name, f->object_id, "V ", "VIEW", 0, f->created}
                          : ObjectInfo{f->name, f->object_id, "IF", "SQL_INLINE_TABLE_VALUED_FUNCTION", 0, f->created});
  return out;
}

// The columns of sys.objects, with which every view of schema-scoped
// objects begins (sys.objects, sys.default_constraints,
// sys.check_constraints), and an object's values under them.
ViewBuilder& object_columns(ViewBuilder& v) {
  return v.col("name", kSysname)
      .col("object_id", kInt)
      .col("principal_id", kInt)
      .col("schema_id", kInt)
      .col("parent_object_id", kInt)
      .col("type", TypeInfo{Type::Char, 2, 0, 0})
      .col("type_desc", TypeInfo::nvarchar(60))
      .col("create_date", kDateTime)
      .col("modify_date", kDateTime)
      .col("is_ms_shipped", kBit)
      .col("is_published", kBit)
      .col("is_schema_published", kBit);
}

Row object_row(const ObjectInfo& o) {
  return {str(o.name),
          num(o.id),
          nullv(kInt),
          num(1),
          num(o.parent),
          str(o.xtype, TypeInfo{Type::Char, 2, 0, 0}),
          str(o.type_desc, TypeInfo::nvarchar(60)),
          Value::datetime(o.created),
          Value::datetime(o.created),
          Value::bit(false),
          Value::bit(false),
          Value::bit(false)};
}

void sysdatabases(Executor& ex, Relation* rel) {
  ViewBuilder v(rel);
  v.col("name", kSysname)
      .col("dbid", kSmallInt)
      .col("sid", TypeInfo{Type::VarBinary, 85, 0, 0})
      .col("mode", kSmallInt)
      .col("status", kInt)
      .col("status2", kInt)
      .col("crdate", kDateTime)
      .col("reserved", kDateTime)
      .col("category", kInt)
      .col("cmptlevel", kTinyInt)
      .col("filename", TypeInfo::nvarchar(260))
      .col("version", kSmallInt);
  for (const auto& d : ex.catalog().databases)
    v.row({str(d->name), num(d->dbid, Type::SmallInt),
           Value::binary(std::string(1, '\x01'), TypeInfo{Type::VarBinary, 85, 0, 0}), num(0, Type::SmallInt),
           num(65536), num(1627389952), Value::datetime(d->created), Value::datetime(DateTime{}), num(0),
           num(150, Type::TinyInt), str(d->name + ".mdf", TypeInfo::nvarchar(260)), num(904, Type::SmallInt)});
}

void sys_databases(Executor& ex, Relation* rel) {
  ViewBuilder v(rel);
  v.col("name", kSysname)
      .col("database_id", kInt)
      .col("create_date", kDateTime)
      .col("compatibility_level", kTinyInt)
      .col("collation_name", kSysname)
      .col("state_desc", TypeInfo::nvarchar(60));
  for (const auto& d : ex.catalog().databases)
    v.row({str(d->name), num(d->dbid), Value::datetime(d->created), num(150, Type::TinyInt),
           str("Latin1_General_CI_AS"), str("ONLINE", TypeInfo::nvarchar(60))});
}

void sysobjects(const Database& db, const ViewFilter& filter, Relation* rel) {
  ViewBuilder v(rel);
  v.col("name", kSysname)
      .col("id", kInt)
      .col("xtype", TypeInfo{Type::Char, 2, 0, 0})
      .col("uid", kSmallInt)
      .col("info", kSmallInt)
      .col("status", kInt)
      .col("base_schema_ver", kInt)
      .col("replinfo", kInt)
      .col("parent_obj", kInt)
      .col("crdate", kDateTime)
      .col("ftcatid", kSmallInt)
      .col("schema_ver", kInt)
      .col("stats_schema_ver", kInt)
      .col("type", TypeInfo{Type::Char, 2, 0, 0})
      .col("userstat", kSmallInt)
      .col("sysstat", kSmallInt)
      .col("indexdel", kSmallInt)
      .col("refdate", kDateTime)
      .col("version", kInt)
      .col("deltrig", kInt)
      .col("instrig", kInt)
      .col("updtrig", kInt)
      .col("seltrig", kInt)
      .col("category", kInt)
      .col("cache", kSmallInt);
  for (const ObjectInfo& o : objects_of(db)) {
    if (!filter.admits("name", o.name)) continue;
    TypeInfo c2{Type::Char, 2, 0, 0};
    v.row({str(o.name),
           num(o.id),
           str(o.xtype, c2),
           num(1, Type::SmallInt),
           num(0, Type::SmallInt),
           num(0),
           num(0),
           num(0),
           num(o.parent),
           Value::datetime(o.created),
           num(0, Type::SmallInt),
           num(0),
           num(0),
           str(o.xtype, c2),
           num(o.xtype == "U " ? 1 : 0, Type::SmallInt),
           num(o.xtype == "U " ? 3 : 0, Type::SmallInt),
           num(0, Type::SmallInt),
           Value::datetime(o.created),
           num(0),
           num(0),
           num(0),
           num(0),
           num(0),
           num(0),
           num(0, Type::SmallInt)});
  }
}

void sys_objects(const Database& db, const ViewFilter& filter, Relation* rel, bool tables_only) {
  ViewBuilder v(rel);
  object_columns(v);
  for (const ObjectInfo& o : objects_of(db)) {
    if ((tables_only && o.xtype != "U ") || !filter.admits("name", o.name)) continue;
    v.row(object_row(o));
  }
}

// sys.default_constraints: sys.objects' columns, then the default's own.
void sys_default_constraints(const Database& db, const ViewFilter& filter, Relation* rel) {
  ViewBuilder v(rel);
  object_columns(v)
      .col("parent_column_id", kInt)
      .col("definition", TypeInfo::nvarchar(TypeInfo::kMax))
      .col("is_system_named", kBit);
  for (const auto& t : db.tables)
    for (const Column& c : t->columns) {
      if (!c.default_constraint || !filter.admits("name", c.default_constraint->name)) continue;
      const DefaultConstraint& d = *c.default_constraint;
      Row r = object_row({d.name, d.object_id, "D ", "DEFAULT_CONSTRAINT", t->object_id, t->created});
      r.insert(r.end(),
               {num(c.column_id), str(d.definition, TypeInfo::nvarchar(TypeInfo::kMax)), Value::bit(d.system_named)});
      v.row(std::move(r));
    }
}

// sys.check_constraints: sys.objects' columns, then the constraint's own.
void sys_check_constraints(const Database& db, const ViewFilter& filter, Relation* rel) {
  ViewBuilder v(rel);
  object_columns(v)
      .col("is_disabled", kBit)
      .col("is_not_for_replication", kBit)
      .col("is_not_trusted", kBit)
      .col("parent_column_id", kInt)
      .col("definition", TypeInfo::nvarchar(TypeInfo::kMax))
      .col("uses_database_collation", kBit)
      .col("is_system_named", kBit);
  for (const auto& t : db.tables)
    for (const CheckConstraint& k : t->checks) {
      if (!filter.admits("name", k.name)) continue;
      // A constraint that reads a character column compares under the
      // database's collation.
      bool collated = std::any_of(k.columns.begin(), k.columns.end(), [&](const std::string& name) {
        int ci = t->find_column(name);
        return ci >= 0 && t->columns[static_cast<size_t>(ci)].type.is_string();
      });
      Row r = object_row({k.name, k.object_id, "C ", "CHECK_CONSTRAINT", t->object_id, t->created});
      r.insert(r.end(), {Value::bit(k.disabled), Value::bit(false), Value::bit(!k.trusted || k.disabled),
                         num(k.column_id), str(k.definition, TypeInfo::nvarchar(TypeInfo::kMax)), Value::bit(collated),
                         Value::bit(k.system_named)});
      v.row(std::move(r));
    }
}

// One row of syscolumns: the column's place in its table is `order`, from 1.
Row syscolumns_row(const Table& t, const Column& c, int order) {
  bool text = c.type.is_string();
  return {str(c.name),
          num(t.object_id),
          num(xtype_of(c), Type::TinyInt),
          num(0, Type::TinyInt),
          num(xusertype_of(c), Type::SmallInt),
          num(storage_length(c.type), Type::SmallInt),
          num(precision_of(c.type), Type::TinyInt),
          num(scale_of(c.type), Type::TinyInt),
          num(c.column_id, Type::SmallInt),
          num(0, Type::SmallInt),
          num(0, Type::TinyInt),
          num(0, Type::TinyInt),
          num(c.identity ? 1 : 0, Type::SmallInt),
          num(0),
          num(0),
          num(0, Type::SmallInt),
          num(order, Type::SmallInt),
          Value::null(TypeInfo{Type::VarBinary, 8000, 0, 0}),
          num(0, Type::SmallInt),
          text ? num(53256) : nullv(kInt),
          num((c.nullable ? 8 : 0) | (c.identity ? 128 : 0), Type::TinyInt),
          num(xtype_of(c), Type::TinyInt),
          num(0, Type::SmallInt),
          nullv(TypeInfo::varchar(255)),
          num(precision_of(c.type), Type::SmallInt),
          num(scale_of(c.type)),
          num(0),
          num(0),
          num(c.nullable ? 1 : 0),
          text ? str("Latin1_General_CI_AS") : nullv(kSysname)};
}

void syscolumns(const Database& db, Relation* rel) {
  ViewBuilder v(rel);
  v.col("name", kSysname)
      .col("id", kInt)
      .col("xtype", kTinyInt)
      .col("typestat", kTinyInt)
      .col("xusertype", kSmallInt)
      .col("length", kSmallInt)
      .col("xprec", kTinyInt)
      .col("xscale", kTinyInt)
      .col("colid", kSmallInt)
      .col("xoffset", kSmallInt)
      .col("bitpos", kTinyInt)
      .col("reserved", kTinyInt)
      .col("colstat", kSmallInt)
      .col("cdefault", kInt)
      .col("domain", kInt)
      .col("number", kSmallInt)
      .col("colorder", kSmallInt)
      .col("autoval", TypeInfo{Type::VarBinary, 8000, 0, 0})
      .col("offset", kSmallInt)
      .col("collationid", kInt)
      .col("status", kTinyInt)
      .col("type", kTinyInt)
      .col("usertype", kSmallInt)
      .col("printfmt", TypeInfo::varchar(255))
      .col("prec", kSmallInt)
      .col("scale", kInt)
      .col("iscomputed", kInt)
      .col("isoutparam", kInt)
      .col("isnullable", kInt)
      .col("collation", kSysname);
  for (const auto& t : db.tables) {
    int order = 0;
    for (const Column& c : t->columns) {
      ++order;
      v.row(syscolumns_row(*t, c, order));
    }
  }
}

void systypes(Relation* rel) {
  ViewBuilder v(rel);
  v.col("name", kSysname)
      .col("xtype", kTinyInt)
      .col("status", kTinyInt)
      .col("xusertype", kSmallInt)
      .col("length", kSmallInt)
      .col("xprec", kTinyInt)
      .col("xscale", kTinyInt)
      .col("tdefault", kInt)
      .col("domain", kInt)
      .col("uid", kSmallInt)
      .col("reserved", kSmallInt)
      .col("collationid", kInt)
      .col("usertype", kSmallInt)
      .col("variable", kBit)
      .col("allownulls", kBit)
      .col("type", kTinyInt)
      .col("printfmt", TypeInfo::varchar(255))
      .col("prec", kSmallInt)
      .col("scale", kTinyInt)
      .col("collation", kSysname);
  for (const SystemType& t : kSystemTypes) {
    bool variable = t.xtype == 167 || t.xtype == 231 || t.xtype == 165;
    v.row({str(t.name),
           num(t.xtype, Type::TinyInt),
           num(0, Type::TinyInt),
           num(t.xusertype, Type::SmallInt),
           num(t.length, Type::SmallInt),
           num(t.prec, Type::TinyInt),
           num(t.scale, Type::TinyInt),
           num(0),
           num(0),
           num(4, Type::SmallInt),
           num(0, Type::SmallInt),
           num(0),
           num(0, Type::SmallInt),
           Value::bit(variable),
           Value::bit(true),
           num(t.xtype, Type::TinyInt),
           nullv(TypeInfo::varchar(255)),
           num(t.prec, Type::SmallInt),
           num(t.scale, Type::TinyInt),
           nullv(kSysname)});
  }
}

void sysindexes(const Database& db, const ViewFilter& filter, Relation* rel) {
  ViewBuilder v(rel);
  v.col("id", kInt)
      .col("status", kInt)
      .col("indid", kSmallInt)
      .col("name", kSysname)
      .col("rows", kInt)
      .col("rowcnt", TypeInfo{Type::BigInt})
      .col("keycnt", kSmallInt)
      .col("groupid", kSmallInt)
      .col("OrigFillFactor", kTinyInt)
      .col("minlen", kSmallInt)
      .col("dpages", kInt);
  for (const auto& t : db.tables) {
    int64_t rows = static_cast<int64_t>(t->rows.size());
    bool clustered = false;
    for (const KeyIndex& k : t->indexes) clustered = clustered || k.clustered;
    if (!clustered && filter.admits_null("name"))
      v.row({num(t->object_id), num(0), num(0, Type::SmallInt), nullv(kSysname), num(rows), num(rows, Type::BigInt),
             num(0, Type::SmallInt), num(1, Type::SmallInt), num(0, Type::TinyInt), num(0, Type::SmallInt), num(0)});
    for (const KeyIndex& k : t->indexes)
      if (filter.admits("name", k.name))
        v.row({num(t->object_id), num(k.unique ? 2 : 0), num(k.index_id, Type::SmallInt), str(k.name), num(rows),
               num(rows, Type::BigInt), num(static_cast<int64_t>(k.columns.size()), Type::SmallInt),
               num(1, Type::SmallInt), num(0, Type::TinyInt), num(0, Type::SmallInt), num(0)});
  }
}

void sys_indexes(const Database& db, Relation* rel) {
  ViewBuilder v(rel);
  v.col("object_id", kInt)
      .col("name", kSysname)
      .col("index_id", kInt)
      .col("type", kTinyInt)
      .col("type_desc", TypeInfo::nvarchar(60))
      .col("is_unique", kBit)
      .col("data_space_id", kInt)
      .col("ignore_dup_key", kBit)
      .col("is_primary_key", kBit)
      .col("is_unique_constraint", kBit)
      .col("fill_factor", kTinyInt)
      .col("is_padded", kBit)
      .col("is_disabled", kBit)
      .col("is_hypothetical", kBit)
      .col("allow_row_locks", kBit)
      .col("allow_page_locks", kBit)
      .col("has_filter", kBit);
  for (const auto& t : db.tables) {
    bool clustered = false;
    for (const KeyIndex& k : t->indexes) clustered = clustered || k.clustered;
    if (!clustered)
      v.row({num(t->object_id), nullv(kSysname), num(0), num(0, Type::TinyInt), str("HEAP", TypeInfo::nvarchar(60)),
             Value::bit(false), num(1), Value::bit(false), Value::bit(false), Value::bit(false), num(0, Type::TinyInt),
             Value::bit(false), Value::bit(false), Value::bit(false), Value::bit(true), Value::bit(true),
             Value::bit(false)});
    for (const KeyIndex& k : t->indexes)
      v.row({num(t->object_id), str(k.name), num(k.index_id), num(k.clustered ? 1 : 2, Type::TinyInt),
             str(k.clustered ? "CLUSTERED" : "NONCLUSTERED", TypeInfo::nvarchar(60)), Value::bit(k.unique), num(1),
             Value::bit(false), Value::bit(k.primary), Value::bit(k.object_id != 0 && !k.primary),
             num(0, Type::TinyInt), Value::bit(false), Value::bit(false), Value::bit(false), Value::bit(true),
             Value::bit(true), Value::bit(false)});
  }
}

void sys_index_columns(const Database& db, Relation* rel) {
  ViewBuilder v(rel);
  v.col("object_id", kInt)
      .col("index_id", kInt)
      .col("index_column_id", kInt)
      .col("column_id", kInt)
      .col("key_ordinal", kTinyInt)
      .col("partition_ordinal", kTinyInt)
      .col("is_descending_key", kBit)
      .col("is_included_column", kBit);
  for (const auto& t : db.tables)
    for (const KeyIndex& k : t->indexes)
      for (size_t i = 0; i < k.columns.size(); ++i) {
        int c = t->find_column(k.columns[i]);
        int column_id = c >= 0 ? t->columns[static_cast<size_t>(c)].column_id : 0;
        v.row({num(t->object_id), num(k.index_id), num(static_cast<int64_t>(i + 1)), num(column_id),
               num(static_cast<int64_t>(i + 1), Type::TinyInt), num(0, Type::TinyInt), Value::bit(false),
               Value::bit(false)});
      }
}

void sys_columns(const Database& db, Relation* rel) {
  ViewBuilder v(rel);
  v.col("object_id", kInt)
      .col("name", kSysname)
      .col("column_id", kInt)
      .col("system_type_id", kTinyInt)
      .col("user_type_id", kInt)
      .col("max_length", kSmallInt)
      .col("precision", kTinyInt)
      .col("scale", kTinyInt)
      .col("collation_name", kSysname)
      .col("is_nullable", kBit)
      .col("is_identity", kBit)
      .col("is_computed", kBit);
  for (const auto& t : db.tables)
    for (const Column& c : t->columns)
      v.row({num(t->object_id), str(c.name), num(c.column_id), num(xtype_of(c), Type::TinyInt), num(xusertype_of(c)),
             num(storage_length(c.type), Type::SmallInt), num(precision_of(c.type), Type::TinyInt),
             num(scale_of(c.type), Type::TinyInt), c.type.is_string() ? str("Latin1_General_CI_AS") : nullv(kSysname),
             Value::bit(c.nullable), Value::bit(c.identity), Value::bit(false)});
}

void information_schema_tables(const Database& db, const ViewFilter& filter, Relation* rel) {
  ViewBuilder v(rel);
  v.col("TABLE_CATALOG", kSysname)
      .col("TABLE_SCHEMA", kSysname)
      .col("TABLE_NAME", kSysname)
      .col("TABLE_TYPE", TypeInfo::varchar(10));
  if (!filter.admits("TABLE_CATALOG", db.name) || !filter.admits("TABLE_SCHEMA", "dbo")) return;
  for (const auto& t : db.tables)
    if (filter.admits("TABLE_NAME", t->name))
      v.row({str(db.name), str("dbo"), str(t->name), str("BASE TABLE", TypeInfo::varchar(10))});
  for (const auto& f : db.functions)
    if (f->view && filter.admits("TABLE_NAME", f->name))
      v.row({str(db.name), str("dbo"), str(f->name), str("VIEW", TypeInfo::varchar(10))});
}

void information_schema_views(const Database& db, Relation* rel) {
  ViewBuilder v(rel);
  v.col("TABLE_CATALOG", kSysname)
      .col("TABLE_SCHEMA", kSysname)
      .col("TABLE_NAME", kSysname)
      .col("VIEW_DEFINITION", TypeInfo::nvarchar(4000))
      .col("CHECK_OPTION", TypeInfo::varchar(7))
      .col("IS_UPDATABLE", TypeInfo::varchar(2));
  for (const auto& f : db.functions)
    if (f->view)
      v.row({str(db.name), str("dbo"), str(f->name), str(f->source.substr(0, 4000), TypeInfo::nvarchar(4000)),
             str("NONE", TypeInfo::varchar(7)), str("NO", TypeInfo::varchar(2))});
}

Row information_schema_column(const Database& db, const Table& t, const Column& c, int position) {
  const TypeInfo& ty = c.type;
  bool text = ty.is_string() || ty.is_binary();
  int char_len = ty.length == TypeInfo::kMax ? -1 : ty.length;
  if (ty.type == Type::Text || ty.type == Type::Image) char_len = 2147483647;
  if (ty.type == Type::NText) char_len = 1073741823;
  int octets = ty.is_unicode() && char_len > 0 ? 2 * char_len : char_len;
  if (ty.type == Type::NText) octets = 2147483646;
  bool numeric = ty.is_numeric();
  bool temporal = ty.is_temporal();
  return {str(db.name),
          str("dbo"),
          str(t.name),
          str(c.name),
          num(position),
          c.default_constraint ? str(c.default_constraint->definition, TypeInfo::nvarchar(4000))
                               : nullv(TypeInfo::nvarchar(4000)),
          str(c.nullable ? "YES" : "NO", TypeInfo::varchar(3)),
          str(c.type_name),
          text ? num(char_len) : nullv(kInt),
          text ? num(octets) : nullv(kInt),
          numeric ? num(precision_of(ty), Type::TinyInt) : nullv(kTinyInt),
          numeric ? num(ty.type == Type::Real || ty.type == Type::Float ? 2 : 10, Type::SmallInt) : nullv(kSmallInt),
          numeric && ty.type != Type::Real && ty.type != Type::Float ? num(scale_of(ty)) : nullv(kInt),
          temporal ? num(ty.type == Type::DateTime ? 3 : 0, Type::SmallInt) : nullv(kSmallInt),
          nullv(kSysname),
          nullv(kSysname),
          ty.is_string() ? str(ty.is_unicode() ? "UNICODE" : "iso_1") : nullv(kSysname),
          nullv(kSysname),
          nullv(kSysname),
          ty.is_string() ? str("Latin1_General_CI_AS") : nullv(kSysname),
          nullv(kSysname),
          nullv(kSysname),
          nullv(kSysname)};
}

void information_schema_columns(const Database& db, const ViewFilter& filter, Relation* rel) {
  ViewBuilder v(rel);
  v.col("TABLE_CATALOG", kSysname)
      .col("TABLE_SCHEMA", kSysname)
      .col("TABLE_NAME", kSysname)
      .col("COLUMN_NAME", kSysname)
      .col("ORDINAL_POSITION", kInt)
      .col("COLUMN_DEFAULT", TypeInfo::nvarchar(4000))
      .col("IS_NULLABLE", TypeInfo::varchar(3))
      .col("DATA_TYPE", kSysname)
      .col("CHARACTER_MAXIMUM_LENGTH", kInt)
      .col("CHARACTER_OCTET_LENGTH", kInt)
      .col("NUMERIC_PRECISION", kTinyInt)
      .col("NUMERIC_PRECISION_RADIX", kSmallInt)
      .col("NUMERIC_SCALE", kInt)
      .col("DATETIME_PRECISION", kSmallInt)
      .col("CHARACTER_SET_CATALOG", kSysname)
      .col("CHARACTER_SET_SCHEMA", kSysname)
      .col("CHARACTER_SET_NAME", kSysname)
      .col("COLLATION_CATALOG", kSysname)
      .col("COLLATION_SCHEMA", kSysname)
      .col("COLLATION_NAME", kSysname)
      .col("DOMAIN_CATALOG", kSysname)
      .col("DOMAIN_SCHEMA", kSysname)
      .col("DOMAIN_NAME", kSysname);
  if (!filter.admits("TABLE_CATALOG", db.name) || !filter.admits("TABLE_SCHEMA", "dbo")) return;
  for (const auto& t : db.tables) {
    if (!filter.admits("TABLE_NAME", t->name)) continue;
    int position = 0;
    for (const Column& c : t->columns) {
      ++position;
      if (filter.admits("COLUMN_NAME", c.name)) v.row(information_schema_column(db, *t, c, position));
    }
  }
}

}  // namespace

namespace {

enum class ViewSchema { InformationSchema, Sys, Compat };

// What a view is built from: the names it was called by (which may name
// another database) and the equalities of the query's WHERE.
// The principal a grant names, as sys.database_principals numbers them:
// public is 0, dbo 1.
int32_t principal_id_of(std::string_view grantee) { return iequals(grantee, "dbo") ? 1 : 0; }

std::string permission_name_of(std::string_view type) {
  for (const ObjectPermission& p : object_permissions())
    if (p.type == type) return std::string(p.name);
  return std::string(type);
}

// One row per permission granted on a table, view or function (class 1,
// OBJECT_OR_COLUMN, on the whole object: minor_id 0), granted by dbo.
void sys_database_permissions(const Database& db, Relation* rel) {
  ViewBuilder v(rel);
  const TypeInfo desc = TypeInfo::nvarchar(60);
  v.col("class", kTinyInt)
      .col("class_desc", desc)
      .col("major_id", kInt)
      .col("minor_id", kInt)
      .col("grantee_principal_id", kInt)
      .col("grantor_principal_id", kInt)
      .col("type", TypeInfo{Type::Char, 4, 0, 0})
      .col("permission_name", kSysname)
      .col("state", TypeInfo{Type::Char, 1, 0, 0})
      .col("state_desc", desc);
  auto add = [&](int32_t object_id, const std::vector<ObjectGrant>& grants) {
    for (const ObjectGrant& g : grants) {
      v.row({num(1, Type::TinyInt), str("OBJECT_OR_COLUMN", desc), num(object_id), num(0),
             num(principal_id_of(g.grantee)), num(1), str(g.type, TypeInfo{Type::Char, 4, 0, 0}),
             str(permission_name_of(g.type)), str("G", TypeInfo{Type::Char, 1, 0, 0}), str("GRANT", desc)});
    }
  };
  for (const auto& t : db.tables) add(t->object_id, t->grants);
  for (const auto& f : db.functions) add(f->object_id, f->grants);
}

struct ViewRequest {
  Executor& ex;
  const std::vector<std::string>& names;
  const ViewFilter& filter;
  Relation* rel;
  Database& database() const { return *ex.resolve_database(names, std::min<size_t>(names.size(), 2)); }
};

// Where a view is found: the compatibility views answer without a schema,
// as dbo.name and as sys.name.
struct ViewEntry {
  ViewSchema schema;
  const char* name;
  void (*build)(const ViewRequest& v);
};

const ViewEntry kViews[] = {
    {ViewSchema::InformationSchema, "COLUMNS",
     [](const ViewRequest& v) { information_schema_columns(v.database(), v.filter, v.rel); }},
    {ViewSchema::InformationSchema, "TABLES",
     [](const ViewRequest& v) { information_schema_tables(v.database(), v.filter, v.rel); }},
    {ViewSchema::InformationSchema, "VIEWS",
     [](const ViewRequest& v) { information_schema_views(v.database(), v.rel); }},
    {ViewSchema::Sys, "indexes", [](const ViewRequest& v) { sys_indexes(v.database(), v.rel); }},
    {ViewSchema::Sys, "index_columns", [](const ViewRequest& v) { sys_index_columns(v.database(), v.rel); }},
    {ViewSchema::Sys, "objects", [](const ViewRequest& v) { sys_objects(v.database(), v.filter, v.rel, false); }},
    {ViewSchema::Sys, "tables", [](const ViewRequest& v) { sys_objects(v.database(), v.filter, v.rel, true); }},
    {ViewSchema::Sys, "default_constraints",
     [](const ViewRequest& v) { sys_default_constraints(v.database(), v.filter, v.rel); }},
    {ViewSchema::Sys, "check_constraints",
     [](const ViewRequest& v) { sys_check_constraints(v.database(), v.filter, v.rel); }},
    {ViewSchema::Sys, "columns", [](const ViewRequest& v) { sys_columns(v.database(), v.rel); }},
    {ViewSchema::Sys, "databases", [](const ViewRequest& v) { sys_databases(v.ex, v.rel); }},
    {ViewSchema::Sys, "database_permissions",
     [](const ViewRequest& v) { sys_database_permissions(v.database(), v.rel); }},
    {ViewSchema::Compat, "sysdatabases", [](const ViewRequest& v) { sysdatabases(v.ex, v.rel); }},
    {ViewSchema::Compat, "sysobjects", [](const ViewRequest& v) { sysobjects(v.database(), v.filter, v.rel); }},
    {ViewSchema::Compat, "syscolumns", [](const ViewRequest& v) { syscolumns(v.database(), v.rel); }},
    {ViewSchema::Compat, "systypes", [](const ViewRequest& v) { systypes(v.rel); }},
    {ViewSchema::Compat, "sysindexes", [](const ViewRequest& v) { sysindexes(v.database(), v.filter, v.rel); }},
};

bool schema_holds(std::string_view schema, ViewSchema view) {
  switch (view) {
    case ViewSchema::InformationSchema: return iequals(schema, "INFORMATION_SCHEMA");
    case ViewSchema::Sys: return iequals(schema, "sys");
    case ViewSchema::Compat: return schema.empty() || iequals(schema, "dbo") || iequals(schema, "sys");
  }
  return false;
}

}  // namespace

// A user table of a view's name hides nothing: the catalog views win, as on
// SQL Server where these names are reserved for the system.
bool open_system_view(Executor& ex, const std::vector<std::string>& names, Relation* rel) {
  const std::string& name = names.back();
  std::string_view schema = names.size() >= 2 ? std::string_view(names[names.size() - 2]) : std::string_view();
  for (const ViewEntry& view : kViews) {
    if (!iequals(name, view.name) || !schema_holds(schema, view.schema)) continue;
    ViewFilter filter(ex.view_filter(), rel->alias.empty() ? name : rel->alias, ex.ctx());
    view.build(ViewRequest{ex, names, filter, rel});
    return true;
  }
  return false;
}

namespace {

// Type codes are two characters, blank-padded ('U ', 'IF'); OBJECT_ID's
// argument may leave the blank off.
bool same_type_code(std::string_view a, std::string_view b) {
  while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
  while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
  return iequals(a, b);
}

}  // namespace

// OBJECT_ID and OBJECT_NAME look one object up; listing them all first made
// every existence check as dear as reading sysobjects.
std::optional<int32_t> object_id_of(const Database& db, std::string_view name, std::string_view type) {
  for (const ObjectInfo& o : objects_of(db))
    if (names_equal(o.name, name) && (type.empty() || same_type_code(o.xtype, type))) return o.id;
  return std::nullopt;
}

std::optional<std::string> object_name_of(const Database& db, int32_t id) {
  for (const ObjectInfo& o : objects_of(db))
    if (o.id == id) return o.name;
  return std::nullopt;
}

// TYPE_NAME takes a user type id: 231 is nvarchar, 256 sysname.
std::optional<std::string_view> type_name_of(int32_t user_type_id) {
  for (const SystemType& t : kSystemTypes)
    if (t.xusertype == user_type_id) return t.name;
  return std::nullopt;
}

}  // namespace standin
