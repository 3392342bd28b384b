#include "exec/messages.h"

#include <string>

#include "exec/executor.h"

namespace standin {

namespace {

std::string str(std::string_view s) { return std::string(s); }

}  // namespace

// Which errors end the batch, and which of those roll back the transaction,
// is the server's rule per error: "Database Engine error severities"
// (https://learn.microsoft.com/en-us/sql/relational-databases/errors-events/database-engine-error-severities),
// "SET XACT_ABORT" (https://learn.microsoft.com/en-us/sql/t-sql/statements/set-xact-abort-transact-sql),
// "SET ARITHABORT" (https://learn.microsoft.com/en-us/sql/t-sql/statements/set-arithabort-transact-sql:
// with ANSI_WARNINGS ON, overflow and divide-by-zero end the query) and
// deferred name resolution (a missing object found when its statement runs
// ends the batch). Every number not listed ends only its statement:
// constraint and key violations (547, 2627, 2601, 515), truncation (8152,
// 2628), a lock timeout (1222), DDL refusals.
ErrorScope error_scope(int number) {
  static constexpr int kEndsBatch[] = {// names and binding
                                       102, 104, 108, 111, 116, 137, 147, 155, 156, 174, 195, 205, 207, 208, 209, 213,
                                       263, 1046, 2702, 911, 4104, 4127, 4421, 4506, 4511, 8120, 8155, 1060,
                                       // types and operand clashes found when a statement is compiled
                                       131, 192, 206, 243, 257, 291, 306, 402, 421, 529, 1001, 8116, 8117, 9810,
                                       // date arithmetic and string arguments out of range
                                       517, 535, 536,
                                       // resources
                                       701, 50000};
  static constexpr int kEndsBatchAndTransaction[] = {// conversions
                                                     235, 241, 242, 245, 248, 8114, 8169,
                                                     // arithmetic
                                                     8115, 8134};
  for (int n : kEndsBatchAndTransaction)
    if (n == number) return ErrorScope::BatchAndTransaction;
  for (int n : kEndsBatch)
    if (n == number) return ErrorScope::Batch;
  return ErrorScope::Statement;
}

void throw_invalid_object_name(std::string_view dotted_name) {
  throw_error(208, "Invalid object name '" + str(dotted_name) + "'.");
}

Error invalid_column_name(std::string_view column) {
  return Error{207, 16, 1, 1, "Invalid column name '" + str(column) + "'."};
}

void throw_invalid_column_name(std::string_view column) { throw_error(invalid_column_name(column)); }

void throw_unbound_identifier(std::string_view dotted_name) {
  throw_error(4104, "The multi-part identifier \"" + str(dotted_name) + "\" could not be bound.");
}

void throw_subquery_too_many_columns() {
  throw_error(116,
              "Only one expression can be specified in the select list when the subquery is not introduced "
              "with EXISTS.");
}

void throw_insert_column_count_mismatch() {
  throw_error(213, "Column name or number of supplied values does not match table definition.");
}

void throw_derived_table_not_updatable() { throw_error(4421, "Derived table is not updatable."); }

void throw_null_not_allowed(const Database& db, const Table& t, const Column& c, std::string_view statement) {
  throw_error(515, "Cannot insert the value NULL into column '" + c.name + "', table '" + db.name + ".dbo." + t.name +
                       "'; column does not allow nulls. " + str(statement) + " fails.");
}

void throw_identity_overflow(const Column& c) {
  throw_error(8115, "Arithmetic overflow error converting IDENTITY to data type " + c.type_name + ".");
}

void throw_database_missing(std::string_view name) {
  throw_error(911, "Database '" + str(name) + "' does not exist. Make sure that the name is entered correctly.");
}

void throw_object_not_found(int number, std::string_view name) {
  throw_error(number,
              "Cannot find the object \"" + str(name) + "\" because it does not exist or you do not have permissions.");
}

void throw_cannot_drop(std::string_view kind, std::string_view name) {
  throw_error(3701, "Cannot drop the " + str(kind) + " '" + str(name) +
                        "', because it does not exist or you do not have permission.");
}

void throw_duplicate_column(std::string_view column, std::string_view table) {
  throw_error(2705, "Column names in each table must be unique. Column name '" + str(column) + "' in table '" +
                        str(table) + "' is specified more than once.");
}

void throw_second_identity(std::string_view table) {
  throw_error(2744, "Multiple identity columns specified for table '" + str(table) +
                        "'. Only one identity column per table is allowed.");
}

void throw_alter_missing_column(std::string_view action, std::string_view column, std::string_view table) {
  throw_error(4924, "ALTER TABLE " + str(action) + " failed because column '" + str(column) +
                        "' does not exist in table '" + str(table) + "'.");
}

namespace {

// A message and the one that follows it, with SQL Server's state of each.
[[noreturn]] void throw_pair(int number, std::string message, int follower_number, std::string follower_message,
                             int follower_state) {
  SqlError e;
  e.error.number = number;
  e.error.message = std::move(message);
  Error follower;
  follower.number = follower_number;
  follower.state = follower_state;
  follower.message = std::move(follower_message);
  e.followers.push_back(std::move(follower));
  throw e;
}

}  // namespace

void throw_column_has_dependents(std::string_view dependent, std::string_view action, std::string_view column) {
  throw_pair(
      5074, str(dependent), 4922,
      "ALTER TABLE " + str(action) + " " + str(column) + " failed because one or more objects access this column.", 9);
}

void throw_could_not_create(int number, std::string message) {
  throw_pair(number, std::move(message), 1750, "Could not create constraint or index. See previous errors.", 0);
}

void throw_not_a_constraint(std::string_view name) {
  throw_pair(3728, "'" + str(name) + "' is not a constraint.", 3727, "Could not drop constraint. See previous errors.",
             0);
}

void throw_lock_timeout() { throw_error(1222, "Lock request time out period exceeded."); }

}  // namespace standin
