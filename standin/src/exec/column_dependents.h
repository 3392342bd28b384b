// The objects that keep a column from being altered or dropped, as the
// ALTER TABLE page lists them for ALTER COLUMN and DROP COLUMN: one rule
// list, in one place.
#pragma once

#include <optional>
#include <string>

#include "catalog/catalog.h"

namespace standin {

// The first object of `db` that blocks the change of `column` (of `t`) to
// `altered` (ALTER COLUMN), or its removal (`altered` null: DROP COLUMN), as
// the text of message 5074 ("The object 'X' is dependent on column 'c'.");
// none when nothing blocks it.
std::optional<std::string> blocking_dependent(const Database& db, const Table& t, const Column& column,
                                              const Column* altered);

}  // namespace standin
