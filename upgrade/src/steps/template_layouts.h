// The statements that create a chart-of-accounts template table with its
// key, from the layouts in scripts/account_layout.h.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "scripts/account_layout.h"
#include "steps/schema_steps.h"

namespace upgrade::steps {

// "[" column "] [" type "]" with "(" size ")", " IDENTITY(1,1)" for the
// identity column, then " NOT NULL" or " NULL"; the caller adds the comma.
std::string column_line(const scripts::LayoutColumn& column);

// CREATE TABLE dbo.<name> with one line per column and ") ON [PRIMARY]".
Lines create_statement(std::string_view table, std::span<const scripts::LayoutColumn> layout);

// The clustered primary key PK_<name> on the two key columns.
Lines key_statement(std::string_view table, std::string_view first_key, std::string_view second_key);

}  // namespace upgrade::steps
