// SQL text rewriting for engines that lack a function the programs' SQL uses.
#pragma once

#include <string>

namespace lx {

// Replaces the function name UCASE (any case, followed by optional blanks and "(") with UPPER,
// leaving string literals, quoted identifiers and longer names such as MY_UCASE untouched.
std::string RewriteUcaseToUpper(const std::string& sql);

// Whether an engine, named by its SQL_DBMS_NAME, needs UCASE rewritten: Microsoft Access has
// UCASE but no UPPER; every other engine we know has UPPER.
bool EngineNeedsUpper(const std::string& dbmsName);

} // namespace lx
