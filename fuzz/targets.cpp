#include "checks.h"

namespace tw::fuzz {

const std::vector<Target>& targets() {
    static const std::vector<Target> all{
        {"xml_collection", checkXmlCollection}, {"xml_branch", checkXmlBranch},
        {"text_collection", checkTextCollection}, {"text_encoding", checkTextEncoding},
        {"keys_file", checkKeysFile}, {"settings_ini", checkSettingsIni},
        {"file_masks", checkFileMasks}, {"update_reply", checkUpdateReply},
        {"tokenizers", checkTokenizers},
    };
    return all;
}

const Target* targetNamed(std::string_view name) {
    for (const Target& t : targets())
        if (name == t.name) return &t;
    return nullptr;
}

} // namespace tw::fuzz
