#include <vector>

#include "dataset/datetext_p.h"

namespace quelt::datetext {

namespace {

const wchar kEmpty[] = {0};

// Runs a parse on a copy so that a failure changes nothing.
template <class V, class F>
bool ParseInto(V &value, F parse) {
    V parsed = value;
    try {
        parse(parsed);
    } catch (const bad_datetime &) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

wstring Text(const tdatetime &value) {
    int size = 0;
    value.FormatDateTime(nullptr, nullptr, size);
    std::vector<wchar> buffer(static_cast<std::size_t>(size > 0 ? size : 1), 0);
    value.FormatDateTime(nullptr, buffer.data(), size);
    return wstring(buffer.data());
}

wstring Text(const ttimeinterval &value) {
    int size = 0;
    value.TimeString(nullptr, size);
    std::vector<wchar> buffer(static_cast<std::size_t>(size > 0 ? size : 1), 0);
    value.TimeString(buffer.data(), size);
    return wstring(buffer.data());
}

wstring Text(const tdatetimeinterval &value) {
    // Seven numbers of at most 11 characters and the fixed words fit in 1024.
    std::vector<wchar> buffer(1024, 0);
    value.DateTimeString(buffer.data(), static_cast<int>(buffer.size()));
    return wstring(buffer.data());
}

bool Parse(const wchar *text, tdatetime &value) {
    return ParseInto(value, [text](tdatetime &v) { v.SetDateTime(text ? text : kEmpty); });
}

bool Parse(const wchar *text, ttimeinterval &value) {
    return ParseInto(value, [text](ttimeinterval &v) { v.SetTime(text ? text : kEmpty); });
}

bool Parse(const wchar *text, tdatetimeinterval &value) {
    return ParseInto(value, [text](tdatetimeinterval &v) { v.SetDateTime(text ? text : kEmpty); });
}

}  // namespace quelt::datetext
