#include "values.h"

#include <charconv>
#include <cmath>

namespace table {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exactly count digits at text[at...] as a number, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (text.size() < at + count) return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int DaysInMonth(int month, int year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && quelt::tdatetime::IsLeapYear(year) ? 29 : days[month - 1];
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

std::optional<double> ParseDouble(std::string_view text) {
    // from_chars would also take "inf" and "nan", which are words here.
    if (text.empty() || !(IsDigit(text[0]) || text[0] == '-' || text[0] == '.')) return std::nullopt;
    double value = 0;
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<quelt::tdatetime> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    if (text[4] != '-' || text[7] != '-' || year < 1 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(month, year)) {
        return std::nullopt;
    }
    if (text.size() == 10) return quelt::tdatetime(day, month, year);
    const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if ((text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':' || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    return quelt::tdatetime(day, month, year, hour, minute, second, 0);
}

void TypeGuess::See(std::string_view cell) {
    m_seen = true;
    // Once a cheaper test has failed the dearer ones are skipped.
    if (m_int) {
        const std::optional<int> value = ParseInt(cell);
        m_int = value && !IsEmpty(*value);
    }
    m_double = m_double && (m_int || ParseDouble(cell));
    if (m_date) {
        const std::optional<quelt::tdatetime> date = ParseIsoDate(cell);
        m_date = date && !IsEmpty(*date);
    }
}

quelt::IField::Types TypeGuess::Type() const {
    if (!m_seen) return quelt::IField::String;
    if (m_int) return quelt::IField::Int;
    if (m_double) return quelt::IField::Double;
    if (m_date) return quelt::IField::DateTime;
    return quelt::IField::String;
}

const char *TypeName(quelt::IField::Types type) {
    static const char *const names[] = {"BLOB",     "Bool",         "Short",           "Int",
                                        "Int64",    "Float",        "Double",          "String",
                                        "DateTime", "TimeInterval", "DateTimeInterval"};
    const auto index = static_cast<std::size_t>(type);
    return index < std::size(names) ? names[index] : "unknown";
}

std::string DateText(const quelt::tdatetime &date, const quelt::wstring &pattern) {
    int size = 0;
    date.FormatDateTime(pattern.c_str(), nullptr, size);
    quelt::wstring text(static_cast<std::size_t>(size), 0);
    date.FormatDateTime(pattern.c_str(), text.data(), size);
    text.resize(static_cast<std::size_t>(size - 1));
    return quelt::WideToUtf8(text);
}

}  // namespace table
