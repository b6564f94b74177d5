// Storing imported addresses: one AddBook row per address, values passed as bound parameters
// (a name with an apostrophe is stored as it is). A failed insert is the caller's to tell: the
// store's own error report is not shown.
#pragma once
#include "mailer/addressing/logic/import_steps.h"
#include "odbcvant/odbcvant.h"

#include <memory>

namespace lx {

class AddressWriter {
public:
    explicit AddressWriter(odbcvantConnection* conn);
    // True when the row was inserted; values are cut to the columns' widths.
    bool Insert(const ImportedAddress& address);

private:
    odbcvantConnection* conn_;
    std::unique_ptr<odbcvantTableInfo> table_;
};

} // namespace lx
