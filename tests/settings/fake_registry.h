// An in-memory settings key for the registry rules.
#pragma once

#include <map>
#include <string>

#include "common/settings/settings_registry.h"

namespace lx_test {

class FakeRegistry : public lx::SettingsRegistry {
public:
    explicit FakeRegistry(bool existed) : existed_(existed) {}

    bool KeyExisted() const override { return existed_; }
    bool WriteString(const char* name, const char* text) override {
        strings[name] = text;
        ++writes;
        return !failWrites;
    }
    bool WriteDword(const char* name, std::int32_t value) override {
        dwords[name] = value;
        ++writes;
        return !failWrites;
    }

    std::map<std::string, std::string> strings;
    std::map<std::string, std::int32_t> dwords;
    int writes = 0;
    bool failWrites = false;

protected:
    bool QueryString(const char* name, std::string& text) override {
        auto it = strings.find(name);
        if (it == strings.end()) return false;
        text = it->second;
        return true;
    }
    bool QueryDword(const char* name, std::int32_t& value) override {
        auto it = dwords.find(name);
        if (it == dwords.end()) return false;
        value = it->second;
        return true;
    }

private:
    bool existed_;
};

} // namespace lx_test
