#include <quelt/quelt.h>

int main() {
    const quelt::wstring text = quelt::Utf8ToWide("consumer");
    return quelt::WideToUtf8(text) == "consumer" ? 0 : 1;
}
