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

// The ordered record of every platform call, one line each, in the line
// format of the recording painter, with the operation named by its object:
//   object.Operation argument argument
//   integer  decimal                      double  shortest round-trip ("0.5", "2")
//   bool     0 or 1                       colour  r,g,b,a
//   point    x,y                          rectangle  left top right bottom
//   font     family size style angle name
//   scroll information  precision min max step page pos
//   byte array  the count, then the bytes ("-" for null)
//   text     last on the line, UTF-8, each line feed written as the two characters \n
// Examples:
//   window.tooltip.SetPos 125,235
//   window.vbar.SetBounds 83 0 99 33
//   timer1.Enable 0
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
std::string Arg(bool value);
std::string Arg(double value);
// UTF-8, line feeds escaped.
std::string Arg(const wstring &text);
// A name (of a window, a menu, ...) as it is.
std::string Arg(const std::string &name);
std::string Arg(const _color &color);
std::string Arg(const font &f);
std::string Arg(const point<int> &p);
std::string Arg(const screen_rectangle<int> &r);
std::string Arg(const ScrollInfo &info);

template <class... A>
std::string Call(const std::string &object, const char *operation, const A &...args) {
    std::string line = object + "." + operation;
    ((line += " " + Arg(args)), ...);
    return line;
}
}  // namespace logtext

}  // namespace quelt::testing
