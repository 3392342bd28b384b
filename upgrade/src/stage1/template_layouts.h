// The layouts of the chart-of-accounts template tables: the 106-column
// account row and the 8-column tax-key row, and the statements that create
// a template table with its key.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "schema_steps.h"

namespace upgrade::stage1 {

struct TemplateColumn {
  std::string_view name;
  std::string_view type;
  std::string_view size;  // empty: none; written as given, "19, 8"
  bool not_null;
};

std::span<const TemplateColumn> account_layout();
std::span<const TemplateColumn> tax_key_layout();

// "[" column "] [" type "]" with "(" size ")", " IDENTITY(1,1)" for LfdNr,
// then " NOT NULL" or " NULL"; the caller adds the comma.
std::string column_line(const TemplateColumn& column);

// CREATE TABLE dbo.<name> with one line per column and ") ON [PRIMARY]".
Lines create_statement(std::string_view table, std::span<const TemplateColumn> layout);

// The clustered primary key PK_<name> on the two key columns.
Lines key_statement(std::string_view table, std::string_view first_key,
                    std::string_view second_key);

}  // namespace upgrade::stage1
