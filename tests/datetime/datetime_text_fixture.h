#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"
#include "quelt/datetime/parser.h"

// Runs each test in the "C" locale with the standard parser freshly probed,
// and leaves both that way for the next test.
class CLocaleText : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "C");
        quelt::tdatetime::CreateStdParser();
    }
    void TearDown() override {
        std::setlocale(LC_ALL, saved_.c_str());
        quelt::tdatetime::CreateStdParser();
    }

  private:
    std::string saved_;
};

inline quelt::wstring W(const char *ascii) { return quelt::Utf8ToWide(ascii); }
inline std::string N(const quelt::wchar *text) { return quelt::WideToUtf8(quelt::wstring(text)); }
