// The library at work: calendar arithmetic and date text.

#include <clocale>
#include <iostream>

#include <quelt/quelt.h>

using namespace quelt;

namespace {

std::string Text(const tdatetime &when) {
    int size = 0;
    when.FormatDateTime(nullptr, nullptr, size);
    wstring text(static_cast<std::size_t>(size), 0);
    when.FormatDateTime(nullptr, text.data(), size);
    text.resize(size - 1);
    return WideToUtf8(text);
}

void ShowDates() {
    tdatetime due(31, 1, 2001);
    std::cout << "due " << Text(due) << '\n';
    due += months(1);  // no 31 February: the step stops at the month's end
    std::cout << "a month later " << Text(due) << '\n';
    due += days(1) + hours(6);
    std::cout << "a day and six hours later " << Text(due) << '\n';
    tdatetime parsed(u"12/24/1999 18:30:00"_w.c_str());
    std::cout << "parsed " << Text(parsed) << ", a " << (parsed.DayOfWeek() == 6 ? "Friday" : "other day")
              << '\n';
}

}  // namespace

int main() {
    std::setlocale(LC_ALL, "C");
    ShowDates();
    return 0;
}
