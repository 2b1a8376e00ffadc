#pragma once

// How the virtual data set copies a key value into its inner data set.

#include "quelt/dataset/idataset.h"

namespace quelt::virtkeys {

// Calls write with the field's value as the inner data set stores it: text,
// a date-time value, or a number as a double. BLOB keys carry nothing.
template <class F>
void Visit(IField &field, F &&write) {
    switch (field.GetType()) {
        case IField::BLOB:
            return;
        case IField::String:
            write(static_cast<wstring>(field));
            return;
        case IField::DateTime:
            write(static_cast<tdatetime>(field));
            return;
        case IField::TimeInterval:
            write(static_cast<ttimeinterval>(field));
            return;
        case IField::DateTimeInterval:
            write(static_cast<tdatetimeinterval>(field));
            return;
        default:
            write(static_cast<double>(field));
    }
}

}  // namespace quelt::virtkeys
