// Address-book rows and mailing lists written into a test's store, as the address book and the
// mailing-list dialogs write them.
#pragma once

#include "odbcvant/odbcvant.h"

#include <string>
#include <utility>
#include <vector>

namespace lxtest {

// Adds an address; its AddNum (-1 when it could not be stored).
long AddAddress(odbcvantConnection& conn, const std::string& name, const std::string& dest);
// Adds a mailing list with its members (AddNum, sent as To); its DistroNum.
long AddList(odbcvantConnection& conn, const std::string& name,
             const std::vector<std::pair<long, bool>>& members);

} // namespace lxtest
