#pragma once

#include <cmath>
#include <type_traits>
#include <vector>

#include "quelt/dataset/idataset.h"

namespace quelt {

// The sort keys of a data set in key order, as field indices: with n fields
// whose sort type is not NotSorted, those whose sort index lies in 0..n-1,
// ordered by sort index and then by field index. Every kind of data set and
// every comparison of records takes its keys from here.
std::vector<int> SortKeyFields(const IDataSet &dataSet);

// Whether key value a goes before b ascending: a NaN follows every number and
// equals another NaN.
template <class T>
bool KeyValueBefore(T a, T b) {
    if constexpr (std::is_floating_point_v<T>) {
        return a < b || (std::isnan(b) && !std::isnan(a));
    } else {
        return a < b;
    }
}

}  // namespace quelt
