#include "quelt/testing/calllog.h"

#include <algorithm>
#include <cstdio>

namespace quelt::testing {

void CallLog::Add(std::string line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(std::move(line));
}

std::vector<std::string> CallLog::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

std::vector<std::string> CallLog::Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> lines;
    lines.swap(m_lines);
    return lines;
}

std::vector<std::string> CallLog::Matching(const std::vector<std::string> &prefixes) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> lines;
    for (const std::string &line : m_lines) {
        const bool match = std::any_of(prefixes.begin(), prefixes.end(),
                                       [&](const std::string &prefix) { return line.rfind(prefix, 0) == 0; });
        if (match) lines.push_back(line);
    }
    return lines;
}

std::size_t CallLog::Count(const std::string &line) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<std::size_t>(std::count(m_lines.begin(), m_lines.end(), line));
}

void CallLog::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

namespace logtext {

std::string Arg(int value) { return std::to_string(value); }
std::string Arg(unsigned value) { return std::to_string(value); }
std::string Arg(bool value) { return value ? "true" : "false"; }

std::string Arg(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string Arg(const char *text) { return Arg(std::string(text ? text : "")); }
std::string Arg(const std::string &text) { return "\"" + text + "\""; }
std::string Arg(const wstring &text) { return Arg(WideToUtf8(text)); }

std::string Arg(const _color &color) {
    if (color.IsColorUndefined()) return "undefined";
    return "rgba(" + Arg(int{color.GetRed()}) + ", " + Arg(int{color.GetGreen()}) + ", " +
           Arg(int{color.GetBlue()}) + ", " + Arg(int{color.GetAlpha()}) + ")";
}

std::string Arg(const font &f) {
    return "font(" + Arg(f.GetName()) + ", " + Arg(static_cast<int>(f.GetFamily())) + ", " +
           Arg(f.GetPointSize()) + ", " + Arg(f.GetFontStyle()) + ", " + Arg(f.GetAngle()) + ")";
}

std::string Arg(const point<int> &p) { return "(" + Arg(p.x) + ", " + Arg(p.y) + ")"; }

std::string Arg(const screen_rectangle<int> &r) {
    return "(" + Arg(r.left) + ", " + Arg(r.top) + ", " + Arg(r.right) + ", " + Arg(r.bottom) + ")";
}

std::string Arg(const ScrollInfo &info) {
    return "min " + Arg(info.min) + ", max " + Arg(info.max) + ", step " + Arg(info.step) + ", page " +
           Arg(info.page) + ", pos " + Arg(info.pos) + ", precision " + Arg(info.precision);
}

}  // namespace logtext
}  // namespace quelt::testing
