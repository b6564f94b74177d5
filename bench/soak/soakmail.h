// The soak run's mail: messages made from a serial number, alike in shape and size, every tenth
// with a small attached file, so that stored rows, files and list rows grow with the count alone.
#pragma once

#include <string>

namespace lx::soak {

// Message `serial` as the server keeps it (LF line ends).
std::string SoakMessage(long serial);
// The subject word every tenth message carries; the run searches for it.
constexpr char kSearchTopic[] = "topic 7";

} // namespace lx::soak
