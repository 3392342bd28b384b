// Turns the engine's script statements into statements SQLite runs the same
// way.
#pragma once

#include <string>
#include <string_view>

namespace bench {

// "Insert Into T Select A=1, B='x, y', C=null" -> "Insert Into T Select 1, 'x, y', null".
// In T-SQL "label=value" names a selected value; in SQLite it would compare
// a column with the value. Both fill the table's columns by position. Any
// other statement is returned unchanged.
std::string positional_insert_for_sqlite(std::string_view statement);

}  // namespace bench
