// Statement dispatch, session statements (SET, USE, DECLARE), databases,
// transaction statements.
#include "exec/executor.h"

#include "exec/messages.h"
#include "exec/transaction.h"
#include "parser/lexer.h"
#include "types/convert.h"
#include "types/sql_error.h"
#include "types/type_names.h"

namespace standin {

void throw_error(int number, std::string message, int severity) {
  SqlError e;
  e.error.number = number;
  e.error.severity = severity;
  e.error.message = std::move(message);
  throw e;
}

void throw_error(const Error& e) {
  SqlError s;
  s.error = e;
  throw s;
}

Database& Executor::current_database() {
  Database* db = catalog_.find(session_.database);
  if (!db) throw_database_missing(session_.database);
  return *db;
}

void Executor::run(Statement& s, BatchResult& out) {
  switch (s.kind) {
    case StatementKind::Select: return run_select(s, out);
    case StatementKind::Insert: return run_insert(s, out);
    case StatementKind::Update: return run_update(s, out);
    case StatementKind::Delete: return run_delete(s, out);
    case StatementKind::Truncate: return run_truncate(s);
    case StatementKind::CreateTable: return run_create_table(s);
    case StatementKind::AlterTable: return run_alter_table(s);
    case StatementKind::CreateIndex: return run_create_index(s);
    case StatementKind::DropIndex: return run_drop_index(s);
    case StatementKind::DropTable: return run_drop_table(s);
    case StatementKind::CreateFunction: return run_create_function(s);
    case StatementKind::DropFunction: return run_drop_function(s);
    case StatementKind::CreateView: return run_create_view(s);
    case StatementKind::AlterView: return run_alter_view(s);
    case StatementKind::DropView: return run_drop_view(s);
    case StatementKind::Grant: return run_grant(s);
    case StatementKind::SetOption: return run_set_option(s);
    case StatementKind::SetIdentityInsert: return run_identity_insert(s);
    case StatementKind::CreateDatabase: return run_create_database(s);
    case StatementKind::DropDatabase: return run_drop_database(s);
    case StatementKind::Use: return run_use(s);
    case StatementKind::Declare: return run_declare(s);
    case StatementKind::Print: return;
    case StatementKind::BeginTransaction: return transactions().begin();
    case StatementKind::CommitTransaction: return transactions().commit();
    case StatementKind::RollbackTransaction: return transactions().rollback();
    case StatementKind::If: {
      if (eval_constant_predicate(*s.condition))
        run(*s.body[0], out);
      else if (s.has_else)
        run(*s.body[1], out);
      return;
    }
    case StatementKind::Block:
      for (auto& b : s.body) run(*b, out);
      return;
  }
}

TransactionControl& Executor::transactions() {
  if (!transactions_) throw std::logic_error("statement run without transaction control");
  return *transactions_;
}

int Executor::trancount() const { return transactions_ ? transactions_->trancount() : 0; }

void Executor::run_select(Statement& s, BatchResult& out) {
  ResultSet rs = run_query(*s.query, nullptr, nullptr);
  out.rows_affected = static_cast<int64_t>(rs.rows.size());
  out.result_sets.push_back(std::move(rs));
}

void Executor::run_set_option(Statement& s) {
  if (iequals(s.option, "ANSI_WARNINGS")) {
    session_.settings.ansi_warnings = s.on;
    return;
  }
  if (iequals(s.option, "XACT_ABORT")) {
    session_.settings.xact_abort = s.on;
    return;
  }
  if (iequals(s.option, "DATEFORMAT")) {
    static const std::pair<const char*, DateOrder> kOrders[] = {{"dmy", DateOrder::DMY}, {"mdy", DateOrder::MDY},
                                                                {"ymd", DateOrder::YMD}, {"ydm", DateOrder::YDM},
                                                                {"myd", DateOrder::MYD}, {"dym", DateOrder::DYM}};
    for (const auto& [name, order] : kOrders)
      if (iequals(s.option_value, name)) {
        session_.settings.date_order = order;
        return;
      }
    throw_error(2741, "SET DATEFORMAT date order '" + s.option_value + "' is invalid.");
  }
  if (iequals(s.option, "LANGUAGE")) {
    // Deutsch brings day-month-year, us_english month-day-year.
    if (iequals(s.option_value, "Deutsch") || iequals(s.option_value, "German"))
      session_.settings.date_order = DateOrder::DMY;
    else if (iequals(s.option_value, "us_english") || iequals(s.option_value, "English"))
      session_.settings.date_order = DateOrder::MDY;
    return;
  }
  // NOCOUNT, ANSI_NULLS, QUOTED_IDENTIFIER and the like change
  // nothing here.
}

void Executor::run_identity_insert(Statement& s) {
  Database* db = nullptr;
  Table* t = resolve_table(s.target, false, &db);
  if (!t) throw_object_not_found(1088, s.target.back());
  if (!s.on) {
    if (session_.identity_insert && names_equal(session_.identity_insert->first, db->name) &&
        names_equal(session_.identity_insert->second, t->name))
      session_.identity_insert.reset();
    return;
  }
  if (t->identity_column() < 0)
    throw_error(8106, "Table '" + t->name + "' does not have the identity property. Cannot perform SET operation.");
  if (session_.identity_insert && !(names_equal(session_.identity_insert->first, db->name) &&
                                    names_equal(session_.identity_insert->second, t->name)))
    throw_error(8107, "IDENTITY_INSERT is already ON for table '" + session_.identity_insert->first + ".dbo." +
                          session_.identity_insert->second + "'. Cannot perform SET operation for table '" + t->name +
                          "'.");
  session_.identity_insert = std::make_pair(db->name, t->name);
}

void Executor::run_create_database(Statement& s) {
  const std::string& name = s.target[0];
  transactions().refuse_in_transaction("CREATE DATABASE");
  if (catalog_.find(name))
    throw_error(1801, "Database '" + name + "' already exists. Choose a different database name.");
  Database* db = catalog_.create(name);
  db->created = ctx_.now ? ctx_.now() : DateTime{};
}

void Executor::run_drop_database(Statement& s) {
  transactions().refuse_in_transaction("DROP DATABASE");
  const std::string& name = s.target.back();
  Database* db = catalog_.find(name);
  if (!db) {
    if (s.if_exists) return;
    throw_cannot_drop("database", name);
  }
  if (iequals(name, "master") || names_equal(session_.database, db->name))
    throw_error(3702, "Cannot drop database \"" + name + "\" because it is currently in use.");
  transactions().check_database_free(*db);
  auto& dbs = catalog_.databases;
  dbs.erase(std::remove_if(dbs.begin(), dbs.end(), [&](const auto& p) { return p.get() == db; }), dbs.end());
}

void Executor::run_use(Statement& s) {
  Database* db = catalog_.find(s.target[0]);
  if (!db) throw_database_missing(s.target[0]);
  session_.database = db->name;
}

void Executor::run_declare(Statement& s) {
  for (auto& [name, type_spec, init] : s.declarations) {
    TypeInfo type;
    Error err;
    if (!parse_type_name(type_spec.name, type_spec.arg1, type_spec.arg2, type_spec.max, TypeUse::Column, &type, &err))
      throw_error(err);
    Value v = Value::null(type);
    if (init && !assign_value(eval_constant(*init), type, ctx_, &v, &err)) throw_error(err);
    session_.variables[ascii_uppered(name)] = v;
  }
}

}  // namespace standin
