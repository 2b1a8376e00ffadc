#include <iostream>

#include <quelt/quelt.h>

int main() {
    const quelt::wstring text = quelt::Utf8ToWide("quelt demo");
    std::cout << quelt::WideToUtf8(text) << '\n';
    return 0;
}
