#pragma once

#include <cstddef>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "quelt/core/wstring.h"
#include "quelt/paint/attributes.h"
#include "quelt/paint/color.h"
#include "quelt/paint/geometry.h"
#include "quelt/sys/scroll.h"

namespace quelt::testing {

// The ordered record of every platform call, one line each, in the form
//   object.Operation(argument, argument)
// Test receivers may add their own lines, so that what the library asked of
// the platform and what receivers heard interleave in one order. Threads may
// add lines concurrently.
class CallLog {
  public:
    void Add(std::string line);
    std::vector<std::string> Lines() const;
    // The lines so far, which are then forgotten.
    std::vector<std::string> Take();
    // The lines that start with one of the prefixes, in order.
    std::vector<std::string> Matching(const std::vector<std::string> &prefixes) const;
    std::size_t Count(const std::string &line) const;
    void Clear();

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// How arguments read in a line.
namespace logtext {
std::string Arg(int value);
std::string Arg(unsigned value);
std::string Arg(bool value);
std::string Arg(double value);
std::string Arg(const char *text);
std::string Arg(const std::string &text);
// UTF-8 between double quotes.
std::string Arg(const wstring &text);
std::string Arg(const _color &color);
std::string Arg(const font &f);
std::string Arg(const point<int> &p);
std::string Arg(const screen_rectangle<int> &r);
std::string Arg(const ScrollInfo &info);
inline std::string Arg(const void *p) { return p ? "ptr" : "null"; }

template <class... A>
std::string Call(const std::string &object, const char *operation, const A &...args) {
    std::string line = object + "." + operation + "(";
    bool first = true;
    ((line += (first ? "" : ", ") + Arg(args), first = false), ...);
    return line + ")";
}
}  // namespace logtext

}  // namespace quelt::testing
