#include <quelt/quelt.h>

#ifdef QUELT_CONSUMER_CXX
static_assert(__cplusplus >= QUELT_CONSUMER_CXX, "the consumer's -std was overridden");
#endif

int main() {
    const quelt::wstring text = quelt::Utf8ToWide("consumer");
    return quelt::WideToUtf8(text) == "consumer" ? 0 : 1;
}
