// The engine's messages that more than one statement raises, each built in
// one place so that its number and wording stay the same wherever it is
// raised. A message raised from one place only stays there.
#pragma once

#include <string_view>

#include "catalog/catalog.h"
#include "standin/standin.h"

namespace standin {

// How far an error reaches beyond the statement that raised it (the
// statement itself is always undone):
//  - Statement: the batch goes on with its next statement; an open
//    transaction stays open.
//  - Batch: the rest of the batch does not run; an open transaction stays
//    open. Errors found while a statement is compiled (names, types,
//    operand clashes) are of this kind.
//  - BatchAndTransaction: the rest of the batch does not run and an open
//    transaction is rolled back: conversion and arithmetic errors.
// With SET XACT_ABORT ON every run-time error reaches as far as the last.
enum class ErrorScope { Statement, Batch, BatchAndTransaction };
ErrorScope error_scope(int number);

// 208: a table, view or function name that resolves to nothing.
[[noreturn]] void throw_invalid_object_name(std::string_view dotted_name);
// 207: a column name that no source of the statement has.
Error invalid_column_name(std::string_view column);
[[noreturn]] void throw_invalid_column_name(std::string_view column);
// 4104: a qualified column whose qualifier names no source.
[[noreturn]] void throw_unbound_identifier(std::string_view dotted_name);
// 116: a subquery used as a value (or with IN) that selects several columns.
[[noreturn]] void throw_subquery_too_many_columns();
// 213: INSERT without a column list whose values do not match the table.
[[noreturn]] void throw_insert_column_count_mismatch();
// 4421: UPDATE or DELETE of a derived table.
[[noreturn]] void throw_derived_table_not_updatable();
// 515: NULL written to a NOT NULL column; `statement` is INSERT or UPDATE.
[[noreturn]] void throw_null_not_allowed(const Database& db, const Table& t, const Column& c,
                                         std::string_view statement);
// 8115: the next identity value does not fit the column's type.
[[noreturn]] void throw_identity_overflow(const Column& c);
// 911: USE of, or a session in, a database that does not exist.
[[noreturn]] void throw_database_missing(std::string_view name);
// 1088 (index, IDENTITY_INSERT) and 4902 (ALTER TABLE): the target table is missing.
[[noreturn]] void throw_object_not_found(int number, std::string_view name);
// 3701: DROP of something that does not exist; `kind` is table, function or database.
[[noreturn]] void throw_cannot_drop(std::string_view kind, std::string_view name);
// 2705: a column name given twice, or one the table has already.
[[noreturn]] void throw_duplicate_column(std::string_view column, std::string_view table);
// 2744: a second IDENTITY column.
[[noreturn]] void throw_second_identity(std::string_view table);
// 4924: ALTER TABLE ALTER COLUMN / DROP COLUMN of a column the table lacks;
// `action` is "ALTER COLUMN" or "DROP COLUMN".
[[noreturn]] void throw_alter_missing_column(std::string_view action, std::string_view column, std::string_view table);
// 5074: ALTER or DROP of a column that an object depends on (see
// blocking_dependent, column_dependents.h), followed by 4922.
[[noreturn]] void throw_column_has_dependents(std::string_view dependent, std::string_view action,
                                              std::string_view column);
// A constraint or index that cannot be created (8111, 1779, 1505, ...),
// followed by 1750.
[[noreturn]] void throw_could_not_create(int number, std::string message);
// 3728: DROP CONSTRAINT of a name that is no constraint, followed by 3727.
[[noreturn]] void throw_not_a_constraint(std::string_view name);
// 1222: another transaction holds the object.
[[noreturn]] void throw_lock_timeout();

}  // namespace standin
