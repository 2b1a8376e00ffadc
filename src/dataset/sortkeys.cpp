#include <algorithm>

#include "dataset/sortkeys_p.h"

namespace quelt {

std::vector<int> SortKeyFields(const IDataSet &dataSet) {
    std::vector<std::pair<int, int>> sorted;  // sort index, field index
    const int count = static_cast<int>(dataSet.GetFieldCount());
    for (int i = 0; i < count; ++i) {
        const IField *field = dataSet.GetField(i);
        if (field->GetSortType() != IField::NotSorted) sorted.emplace_back(field->GetSortIndex(), i);
    }
    const int n = static_cast<int>(sorted.size());
    sorted.erase(
        std::remove_if(sorted.begin(), sorted.end(),
                       [n](const std::pair<int, int> &key) { return key.first < 0 || key.first >= n; }),
        sorted.end());
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> keys;
    keys.reserve(sorted.size());
    for (const auto &key : sorted) keys.push_back(key.second);
    return keys;
}

}  // namespace quelt
