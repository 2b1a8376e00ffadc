#include "quelt/testing/calllog.h"

#include <algorithm>
#include <charconv>

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
std::string Arg(bool value) { return value ? "1" : "0"; }

std::string Arg(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Arg(const std::string &name) { return name; }

std::string Arg(const wstring &text) {
    std::string line;
    for (char c : WideToUtf8(text)) {
        if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

std::string Arg(const _color &color) {
    return Arg(int{color.GetRed()}) + "," + Arg(int{color.GetGreen()}) + "," + Arg(int{color.GetBlue()}) +
           "," + Arg(int{color.GetAlpha()});
}

std::string Arg(const font &f) {
    return Arg(static_cast<int>(f.GetFamily())) + " " + Arg(f.GetPointSize()) + " " + Arg(f.GetFontStyle()) +
           " " + Arg(f.GetAngle()) + " " + Arg(f.GetName());
}

std::string Arg(const point<int> &p) { return Arg(p.x) + "," + Arg(p.y); }

std::string Arg(const screen_rectangle<int> &r) {
    return Arg(r.left) + " " + Arg(r.top) + " " + Arg(r.right) + " " + Arg(r.bottom);
}

std::string Arg(const ScrollInfo &info) {
    return Arg(info.precision) + " " + Arg(info.min) + " " + Arg(info.max) + " " + Arg(info.step) + " " +
           Arg(info.page) + " " + Arg(info.pos);
}

}  // namespace logtext
}  // namespace quelt::testing
