// The parameter list of a parameterised statement as a client declares it
// for sp_executesql and sp_prepare: "@P1 nvarchar(4000),@P2 bigint OUTPUT".
// Only the names matter here (the values arrive typed); they let values
// sent without a name be matched to their parameter by position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace standin::server {

// The declared names with their '@', in order. Commas inside parentheses
// ("decimal(10,2)") do not separate declarations.
std::vector<std::string> declared_parameter_names(std::string_view declarations);

}  // namespace standin::server
