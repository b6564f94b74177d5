#include "mimetest.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace lxtest {

TempDir::TempDir() {
    static int n = 0;
    fs::path base = fs::temp_directory_path();
    for (;;) {
        fs::path p =
            base / ("lxmime-test-" + std::to_string(std::rand()) + "-" + std::to_string(++n));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
    return (fs::path(path_) / name).string();
}

std::vector<std::string> TempDir::list() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_))
        names.push_back(e.path().filename().string());
    return names;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < s.size()) {
        std::size_t lf = s.find('\n', start);
        std::size_t end = lf == std::string::npos ? s.size() : lf;
        std::size_t content = end;
        if (content > start && s[content - 1] == '\r') --content;
        lines.push_back(s.substr(start, content - start));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

std::string retrReply(const std::string& message) {
    std::string out = "+OK " + std::to_string(message.size()) + " octets\r\n";
    for (const std::string& line : splitLines(message)) {
        if (!line.empty() && line[0] == '.') out += '.';
        out += line + "\r\n";
    }
    out += ".\r\n";
    return out;
}

std::string incomingSpool(const std::vector<std::string>& messages) {
    std::string s = "Letters : " + std::to_string(messages.size()) + "\r\n";
    for (const std::string& m : messages)
        s += "BEGIN MESSAGE\r\n" + retrReply(m) + "END MESSAGE\r\n";
    return s;
}

std::vector<std::string> outgoingDataSections(const std::string& spool) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (;;) {
        std::size_t b = spool.find("\r\nBEGIN DATA", at);
        if (b == std::string::npos) break;
        std::size_t start = spool.find("\r\n", b + 2) + 2;
        std::size_t end = spool.find("\r\nEND DATA\r\n", start);
        if (end == std::string::npos) break;
        out.push_back(spool.substr(start, end - start));
        at = end + 2;
    }
    return out;
}

std::vector<std::vector<std::string>> outgoingEnvelopes(const std::string& spool) {
    std::vector<std::vector<std::string>> sections;
    std::size_t at = 0;
    while ((at = spool.find("BEGIN MESSAGE HEADER\r\n", at)) != std::string::npos) {
        const std::size_t end = spool.find("END MESSAGE HEADER\r\n", at);
        std::vector<std::string> to;
        for (std::size_t t = spool.find("TO:<", at); t != std::string::npos && t < end;
             t = spool.find("TO:<", t + 1))
            to.push_back(spool.substr(t + 4, spool.find('>', t) - t - 4));
        sections.push_back(to);
        at = end;
    }
    return sections;
}

bool haveSystemPython() {
#ifdef _WIN32
    return false; // the Windows tests run under Wine, without the host's Python
#else
    return fileExists("/usr/bin/python3");
#endif
}

std::string sourceDir() {
    const char* s = std::getenv("LX_SOURCE_DIR");
    return s ? s : LX_TEST_SOURCE_DIR;
}

std::string pythonSpoolCheck(const std::string& spoolPath) {
    if (!haveSystemPython()) return std::string();
    std::string out;
    if (runPython(sourceDir() + "/tests/mime/oracle_spool.py", {spoolPath}, out))
        return std::string();
    return out.empty() ? std::string("oracle_spool.py failed") : out;
}

bool runPython(const std::string& script, const std::vector<std::string>& args, std::string& out) {
#ifdef _WIN32
    (void)script;
    (void)args;
    out.clear();
    return false;
#else
    std::string cmd = "/usr/bin/python3 '" + script + "'";
    for (const auto& a : args) cmd += " '" + a + "'";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return false;
    char buf[65536];
    std::size_t n;
    out.clear();
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    return pclose(p) == 0;
#endif
}

} // namespace lxtest
