#include "quelt/dataset/variant.h"

#include "core/numeric_p.h"
#include "core/wtext_p.h"
#include "dataset/datetext_p.h"
#include "dataset/displayformat_p.h"

namespace quelt {
namespace {

const wstring kTrue = u"true"_w;

// Text read as an integer with the C "%i" rule (decimal, 0x hex, leading-zero
// octal); 0 when nothing matches.
template <class I>
I ScanInteger(const wstring &text) {
    if constexpr (sizeof(I) == sizeof(int64)) {
        int64 value = 0;
        wrt::swscanf(text.c_str(), "%I64i", &value);
        return value;
    } else {
        int value = 0;
        wrt::swscanf(text.c_str(), "%i", &value);
        return SaturatingNarrow<I>(value);
    }
}

float ScanFloat(const wstring &text) {
    float value = 0;
    wrt::swscanf(text.c_str(), "%g", &value);
    return value;
}

}  // namespace

CQueltVariant::CQueltVariant() = default;

CQueltVariant::CQueltVariant(bool value) : m_type(Bool) { m_value.flag = value; }

CQueltVariant::CQueltVariant(signed char value) : m_type(Char) { m_value.i8 = value; }

CQueltVariant::CQueltVariant(short value) : m_type(Short) { m_value.i16 = value; }

CQueltVariant::CQueltVariant(int value) : m_type(Int) { m_value.i32 = value; }

CQueltVariant::CQueltVariant(int64 value) : m_type(Int64) { m_value.i64 = value; }

CQueltVariant::CQueltVariant(float value) : m_type(Float) { m_value.f32 = value; }

CQueltVariant::CQueltVariant(double value) : m_type(Double) { m_value.f64 = value; }

CQueltVariant::CQueltVariant(const tdatetime &value) : m_type(DateTime) { m_value.f64 = value.GetDateTime(); }

CQueltVariant::CQueltVariant(const ttimeinterval &value) : m_type(TimeInterval) {
    m_value.f64 = value.GetTime();
}

CQueltVariant::CQueltVariant(const tdatetimeinterval &value) : m_type(DateTimeInterval) {
    m_value.f64 = value.GetDateTime();
}

CQueltVariant::CQueltVariant(const std::string &text) : m_type(String), m_text(text) {}

CQueltVariant::CQueltVariant(const char *text) : m_type(String), m_text(text == nullptr ? "" : text) {}

CQueltVariant::CQueltVariant(const wstring &text) : m_wideText(text) {}

CQueltVariant::CQueltVariant(const wchar *text) {
    if (text != nullptr) m_wideText = text;
}

CQueltVariant CQueltVariant::FromPointer(const void *text) {
    CQueltVariant v;
    v.m_type = Pointer;
    v.m_value.pointer = text;
    return v;
}

CQueltVariant CQueltVariant::FromWidePointer(const wchar *text) {
    CQueltVariant v;
    v.m_type = WidePointer;
    v.m_value.widePointer = text;
    return v;
}

wstring CQueltVariant::Text() const {
    switch (m_type) {
        case Pointer:
            return m_value.pointer == nullptr ? wstring()
                                              : Utf8ToWide(static_cast<const char *>(m_value.pointer));
        case String:
            return Utf8ToWide(m_text);
        case WidePointer:
            return m_value.widePointer == nullptr ? wstring() : wstring(m_value.widePointer);
        default:
            return m_wideText;
    }
}

int64 CQueltVariant::Whole() const {
    switch (m_type) {
        case Bool:
            return m_value.flag ? 1 : 0;
        case Char:
            return m_value.i8;
        case Short:
            return m_value.i16;
        case Int:
            return m_value.i32;
        default:
            return m_value.i64;
    }
}

template <class I>
I CQueltVariant::Integral() const {
    if (IsWhole()) return SaturatingNarrow<I>(Whole());
    if (m_type == Float) return SaturatingCast<I>(m_value.f32);
    if (IsDayCount()) return SaturatingCast<I>(m_value.f64);
    return ScanInteger<I>(Text());
}

bool CQueltVariant::GetBool() const {
    if (IsWhole()) return Whole() != 0;
    if (m_type == Float) return m_value.f32 != 0;
    if (IsDayCount()) return m_value.f64 != 0;
    const wstring text = Text();
    return text == kTrue || ScanInteger<int>(text) != 0;
}

short CQueltVariant::GetShort() const { return Integral<short>(); }

int CQueltVariant::GetInt() const { return Integral<int>(); }

int64 CQueltVariant::GetInt64() const { return Integral<int64>(); }

float CQueltVariant::GetFloat() const {
    if (IsWhole()) return static_cast<float>(Whole());
    if (m_type == Float) return m_value.f32;
    if (IsDayCount()) return static_cast<float>(m_value.f64);
    return ScanFloat(Text());
}

double CQueltVariant::GetDouble() const {
    if (IsWhole()) return static_cast<double>(Whole());
    if (m_type == Float) return m_value.f32;
    if (IsDayCount()) return m_value.f64;
    return wrt::wcstod(Text().c_str(), nullptr);
}

tdatetime CQueltVariant::GetDateTime() const {
    tdatetime value;
    if (IsDayCount()) value.SetDateTime(m_value.f64);
    return value;
}

ttimeinterval CQueltVariant::GetTimeInterval() const {
    ttimeinterval value;
    if (IsDayCount()) value.SetTime(m_value.f64);
    return value;
}

tdatetimeinterval CQueltVariant::GetDateTimeInterval() const {
    tdatetimeinterval value;
    if (IsDayCount()) value.SetDateTime(m_value.f64);
    return value;
}

wstring CQueltVariant::GetString() const {
    switch (m_type) {
        case Bool:
            return m_value.flag ? kTrue : u"false"_w;
        case Char:
        case Short:
        case Int:
            return display::RenderInteger(Whole(), false, m_format);
        case Int64:
            return display::RenderInteger(m_value.i64, true, m_format);
        case Float:
            return display::RenderReal(m_value.f32, true, m_format);
        case Double:
            return display::RenderReal(m_value.f64, false, m_format);
        case DateTime:
            return datetext::Text(GetDateTime());
        case TimeInterval:
            return datetext::Text(GetTimeInterval());
        case DateTimeInterval:
            return datetext::Text(GetDateTimeInterval());
        default:
            return Text();
    }
}

}  // namespace quelt
