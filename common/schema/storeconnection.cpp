#include "common/schema/storeconnection.h"

#include <cstdlib>
#include <new>

namespace lx {

std::string StoreDataSource() {
    const char* own = std::getenv(kDataSourceOverride);
    return own && *own ? own : kDataSource;
}

StoreConnection::Outcome StoreConnection::Open() { return Open(StoreDataSource()); }

StoreConnection::Outcome StoreConnection::Open(const std::string& dataSource) {
    Close();
    refusal_.clear();
    environment_.reset(new (std::nothrow) odbcvantEnvironment);
    if (environment_ && environment_->IsValid())
        connection_.reset(new (std::nothrow) odbcvantConnection(environment_.get()));
    if (!connection_ || !connection_->IsValid()) {
        Close();
        return Outcome::NotCreated;
    }
    if (!connection_->ConnectTo(dataSource.c_str(), kDataSourceUser, kDataSourcePassword)) {
        const char* why = connection_->GetLastErrorText();
        refusal_ = why ? why : "";
        Close();
        return Outcome::Refused;
    }
    return Outcome::Connected;
}

void StoreConnection::Close() {
    connection_.reset();
    environment_.reset();
}

} // namespace lx
