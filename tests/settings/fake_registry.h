// An in-memory settings key for the registry rules.
#pragma once

#include <map>
#include <memory>
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

    bool DeleteValue(const char* name) override {
        strings.erase(name);
        dwords.erase(name);
        return !failWrites;
    }
    // Mailbox keys live on in `mailboxes` (by mailbox name) after the opened object has gone.
    std::unique_ptr<lx::SettingsRegistry> OpenMailboxKey(const std::string& mailbox,
                                                         bool create) override {
        auto it = mailboxes.find(mailbox);
        if (it == mailboxes.end()) {
            if (!create) return nullptr;
            it = mailboxes.emplace(mailbox, std::make_shared<FakeRegistry>(true)).first;
        }
        return std::make_unique<Child>(it->second);
    }
    bool DeleteMailboxKey(const std::string& mailbox) override {
        mailboxes.erase(mailbox);
        return true;
    }

    std::map<std::string, std::string> strings;
    std::map<std::string, std::int32_t> dwords;
    std::map<std::string, std::shared_ptr<FakeRegistry>> mailboxes;
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
    // An opened mailbox key: every call goes to the key kept by its parent.
    class Child : public lx::SettingsRegistry {
    public:
        explicit Child(std::shared_ptr<FakeRegistry> key) : key_(std::move(key)) {}
        bool KeyExisted() const override { return true; }
        bool WriteString(const char* n, const char* t) override { return key_->WriteString(n, t); }
        bool WriteDword(const char* n, std::int32_t v) override { return key_->WriteDword(n, v); }
        bool DeleteValue(const char* n) override { return key_->DeleteValue(n); }

    protected:
        bool QueryString(const char* n, std::string& t) override { return key_->QueryString(n, t); }
        bool QueryDword(const char* n, std::int32_t& v) override { return key_->QueryDword(n, v); }

    private:
        std::shared_ptr<FakeRegistry> key_;
    };

    bool existed_;
};

} // namespace lx_test
