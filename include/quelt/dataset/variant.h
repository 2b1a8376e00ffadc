#pragma once

#include <string>

#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"

namespace quelt {

// The tagged value that carries cells between the data sets and the code
// outside them. Each Get... converts the value to the wanted type with the
// same rules, whatever the type code.
class QUELT_API CQueltVariant {
  public:
    enum Type {
        Bool = 0,
        Char = 1,
        Short = 2,
        Int = 3,
        Int64 = 4,
        Float = 5,
        Double = 6,
        DateTime = 7,
        TimeInterval = 8,
        DateTimeInterval = 9,
        Pointer = 10,
        WidePointer = 11,
        String = 12,
        WideString = 13,
    };

    // An empty wide string: every conversion gives its type's default.
    CQueltVariant();
    CQueltVariant(bool value);
    CQueltVariant(signed char value);
    CQueltVariant(short value);
    CQueltVariant(int value);
    CQueltVariant(int64 value);
    CQueltVariant(float value);
    CQueltVariant(double value);
    CQueltVariant(const tdatetime &value);
    CQueltVariant(const ttimeinterval &value);
    CQueltVariant(const tdatetimeinterval &value);
    // The texts are copied; a null pointer is the empty text.
    CQueltVariant(const std::string &text);
    CQueltVariant(const char *text);
    CQueltVariant(const wstring &text);
    CQueltVariant(const wchar *text);

    // The pointer codes keep the caller's pointer, which must outlive the variant.
    static CQueltVariant FromPointer(const void *text);
    static CQueltVariant FromWidePointer(const wchar *text);

    int GetType() const { return m_type; }
    // The pointer of a code-10 variant; null for every other code.
    const void *GetPointer() const { return m_type == Pointer ? m_value.pointer : nullptr; }
    // The display format under which GetString renders numbers.
    void SetFormat(const wstring &format) { m_format = format; }
    const wstring &GetFormat() const { return m_format; }

    bool GetBool() const;
    short GetShort() const;
    int GetInt() const;
    int64 GetInt64() const;
    float GetFloat() const;
    // Also the number a variant stands for as a search key.
    double GetDouble() const;
    tdatetime GetDateTime() const;
    ttimeinterval GetTimeInterval() const;
    tdatetimeinterval GetDateTimeInterval() const;
    wstring GetString() const;

  private:
    union Value {
        bool flag;
        signed char i8;
        short i16;
        int i32;
        int64 i64;
        float f32;
        double f64;
        const void *pointer;
        const wchar *widePointer;
    };

    bool IsWhole() const { return m_type >= Bool && m_type <= Int64; }
    bool IsDayCount() const { return m_type >= Double && m_type <= DateTimeInterval; }
    // The value of codes 0-4 as a 64-bit integer.
    int64 Whole() const;
    // The text of codes 10-13 as 16-bit text; narrow text is read as UTF-8 and a
    // null pointer is the empty text.
    wstring Text() const;
    template <class I>
    I Integral() const;

    int m_type = WideString;
    Value m_value{};
    std::string m_text;
    wstring m_wideText;
    wstring m_format;
};

}  // namespace quelt
