// The program's one connection to the message store: the store environment and the connection
// on it, opened on the data source "Lorvex" (or LORVEX_DSN) and released in the right order.
#pragma once

#include <memory>
#include <string>

#include "odbcvant/odbcvant.h"

namespace lx {

constexpr char kDataSource[] = "Lorvex";
constexpr char kDataSourceUser[] = "QBT";
constexpr char kDataSourcePassword[] = "lantern";
// When set and not empty, names another data source: tests reach an unreachable one with it
// without touching the ODBC configuration.
constexpr char kDataSourceOverride[] = "LORVEX_DSN";

// LORVEX_DSN when set and not empty, otherwise "Lorvex".
std::string StoreDataSource();

class StoreConnection {
public:
    enum class Outcome {
        Connected,
        NotCreated, // the environment or the connection object could not be made
        Refused     // the data source refused the connection
    };

    StoreConnection() = default;
    ~StoreConnection() { Close(); }
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    // Creates both objects and connects to StoreDataSource(). On a failure nothing half-made
    // stays: Get() is null.
    Outcome Open();
    // The same on the named data source (a test's or a benchmark's private store).
    Outcome Open(const std::string& dataSource);
    // The connection, null unless open.
    odbcvantConnection* Get() const { return connection_.get(); }
    // The environment the connection lives on, null unless open.
    odbcvantEnvironment* Environment() const { return environment_.get(); }
    // The store's own words for why the last Open() was refused ("" after a success).
    const std::string& RefusalText() const { return refusal_; }
    // Releases the connection, then the environment.
    void Close();

private:
    std::unique_ptr<odbcvantEnvironment> environment_;
    std::unique_ptr<odbcvantConnection> connection_;
    std::string refusal_;
};

} // namespace lx
