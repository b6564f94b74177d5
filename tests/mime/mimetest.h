// Helpers shared by the MIME tests: scratch folders, files, incoming spool files, Python.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

// A fresh empty folder for one test, removed with everything in it at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const;
    std::vector<std::string> list() const; // names of the files directly inside

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// One message as the POP3 client stores it: +OK line, dot-stuffed lines, terminating full stop.
std::string retrReply(const std::string& message);
// An incoming spool file holding the given messages (count line, begin/end lines).
std::string incomingSpool(const std::vector<std::string>& messages);

// The data sections of an outgoing spool file, one per message.
std::vector<std::string> outgoingDataSections(const std::string& spool);
// The envelope recipients ("TO:<...>" lines) of each message of an outgoing spool file.
std::vector<std::vector<std::string>> outgoingEnvelopes(const std::string& spool);

// Runs /usr/bin/python3 with the script and arguments; returns its standard output.
bool runPython(const std::string& script, const std::vector<std::string>& args, std::string& out);
bool haveSystemPython();
// Python's verdict on an outgoing spool file: "" when it is sound (or Python is not there).
std::string pythonSpoolCheck(const std::string& spoolPath);
std::string sourceDir(); // the project's source folder

// Splits on LF, dropping a CR before it.
std::vector<std::string> splitLines(const std::string& s);

} // namespace lxtest
