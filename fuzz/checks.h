#pragma once
// The checks behind the fuzz targets. Each takes one input as bytes and returns what it
// found wrong (empty when the input passed): a crash or sanitizer report ends the process
// on its own, a broken promise (a round trip that changes the tree, a token that leaves a
// gap) is returned as text. The libFuzzer targets abort on a finding; the test suite
// replays the kept inputs through the same functions.

#include <string>
#include <string_view>
#include <vector>

namespace tw::fuzz {

using Finding = std::string;
using Check = Finding (*)(std::string_view input);

struct Target {
    const char* name;  // also the folder of its seeds and regression inputs
    Check check;
};

// Every target, in the order scripts/fuzz.sh runs them.
const std::vector<Target>& targets();
const Target* targetNamed(std::string_view name);

Finding checkXmlCollection(std::string_view input);
Finding checkXmlBranch(std::string_view input);
Finding checkTextCollection(std::string_view input);
Finding checkTextEncoding(std::string_view input);
Finding checkKeysFile(std::string_view input);
Finding checkSettingsIni(std::string_view input);
Finding checkFileMasks(std::string_view input);
Finding checkUpdateReply(std::string_view input);
Finding checkTokenizers(std::string_view input);

} // namespace tw::fuzz
