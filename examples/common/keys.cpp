#include "keys.h"

#include <stdexcept>

namespace table {

namespace {

std::runtime_error Error(const std::string &option, const std::string &what) {
    return std::runtime_error(option + ": " + what);
}

SortKey ParseSortKey(const std::string &text) {
    SortKey key;
    const std::size_t colon = text.rfind(':');
    key.column = text.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string order = text.substr(colon + 1);
        if (order != "asc" && order != "desc") {
            throw Error("--sort", "'" + text + "' is not COL, COL:asc or COL:desc");
        }
        key.descending = order == "desc";
    }
    if (key.column.empty()) throw Error("--sort", "a sort key lacks its column");
    return key;
}

}  // namespace

std::vector<SortKey> ParseSortKeys(const std::string &text) {
    std::vector<SortKey> keys;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1) {
        keys.push_back(ParseSortKey(text.substr(start, comma - start)));
    }
    keys.push_back(ParseSortKey(text.substr(start)));
    return keys;
}

Assignment ParseAssignment(const std::string &option, const std::string &text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) throw Error(option, "'" + text + "' is not COL=VALUE");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

std::string ArgReader::ValueOf(const std::string &option) {
    if (Done()) throw Error(option, "needs a value");
    return Next();
}

void ArgReader::Once(const std::string &option) {
    if (!m_seen.insert(option).second) throw Error(option, "given twice");
}

}  // namespace table
