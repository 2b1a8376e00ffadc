#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "core/wtext_p.h"
#include "dataset_test_util.h"

namespace quelt {
namespace {

using testing::DataSetPtr;
using testing::MakeDataSet;
using testing::Recorder;

std::string Write(IMemDataSet &ds) {
    std::ostringstream os;
    os << ds;
    return os.str();
}

DataSetPtr Read(const std::string &text, bool expectGood = true) {
    auto ds = MakeDataSet();
    std::istringstream is(text);
    is >> *ds;
    EXPECT_EQ(!is.fail(), expectGood) << text;
    return ds;
}

DataSetPtr OneField(IField::Types type) {
    auto ds = MakeDataSet();
    ds->AddField(u"f"_w, type);
    return ds;
}

template <class V>
std::string CellText(IField::Types type, const V &value) {
    auto ds = OneField(type);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = value;
    const std::string all = Write(*ds);
    const std::string body = all.substr(all.find('\n', all.find('\n') + 1) + 1);
    return body.substr(0, body.size() - 2);  // without the TAB and line feed
}

TEST(StreamFormat, WritesCountsTypesAndCellsByteForByte) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    ds->AddField(u"s"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = 7;
    c[1] = u"ab"_w;
    EXPECT_EQ(Write(*ds), "2\t1\n3\t7\t\n7\t2 ab\t\n");
}

TEST(StreamFormat, CellFormsOfEveryType) {
    EXPECT_EQ(CellText(IField::Bool, true), "1");
    EXPECT_EQ(CellText(IField::Short, short(-5)), "-5");
    EXPECT_EQ(CellText(IField::Int64, int64(0x180000001LL)), "1 -2147483647");
    EXPECT_EQ(CellText(IField::Int64, int64(-1)), "-1 -1");
    EXPECT_EQ(CellText(IField::Float, 0.1f), "0.1");
    EXPECT_EQ(CellText(IField::Float, 1.0000001f), "1.0000001");
    EXPECT_EQ(CellText(IField::Double, 0.125), "0.125");
    EXPECT_EQ(CellText(IField::Double, std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(CellText(IField::Double, -std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(CellText(IField::DateTime, 730120.25), "730120.25");
    EXPECT_EQ(CellText(IField::TimeInterval, -0.5), "-0.5");
    EXPECT_EQ(CellText(IField::DateTimeInterval, tdatetimeinterval(3, 1, 0)), "33.6");
    EXPECT_EQ(CellText(IField::String, u"\u00e9\u20ac"_w), "5 \xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(CellText(IField::String, u""_w), "0 ");
    EXPECT_EQ(CellText(IField::BLOB, 5), "");
}

TEST(StreamFormat, IsIndependentOfTheCallersLocaleAndRestoresIt) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        std::string do_grouping() const override { return "\3"; }
    };
    auto ds = OneField(IField::Double);
    ds->AddField(u"i"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = 1234.5;
    c[1] = 1234567;
    std::ostringstream os;
    os.imbue(std::locale(std::locale::classic(), new Comma));
    os.precision(3);
    os.setf(std::ios::hex, std::ios::basefield);
    os << *ds;
    EXPECT_EQ(os.str(), "2\t1\n6\t3\t\n1234.5\t1234567\t\n");
    EXPECT_EQ(os.precision(), 3);
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(os.getloc()).decimal_point(), ',');
    EXPECT_TRUE(os.flags() & std::ios::hex);
}

TEST(StreamFormat, ACallersFieldWidthShapesNeitherWritingNorReading) {
    auto ds = OneField(IField::Double);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = 730120.25;
    std::ostringstream os;
    os << std::setw(12) << std::setfill('*') << *ds;
    EXPECT_EQ(os.str(), "1\t1\n6\t\n730120.25\t\n");
    auto back = MakeDataSet();
    std::istringstream is(os.str());
    is >> std::setw(3) >> *back;
    EXPECT_FALSE(is.fail());
    ASSERT_EQ(back->GetRecordCount(), 1u);
    EXPECT_EQ(back->GetNumeric(0, 0), 730120.25);
}

TEST(StreamRoundTrip, EveryTypeReadsBackTheSameValues) {
    auto ds = MakeDataSet();
    for (int t = 0; t <= 10; ++t) ds->AddField(wrt::format("f%d", t), IField::Types(t));
    IDataSet::Cursor c = ds->CreateCursor();
    for (int r = 0; r < 3; ++r) {
        ds->Append(c);
        c[1] = r % 2 == 0;
        c[2] = short(-300 * r);
        c[3] = 100000 * r - 7;
        c[4] = int64(0x7FFFFFFF80000000LL) - r;
        c[5] = 0.1f * static_cast<float>(r + 1);
        c[6] = 1.0 / 3.0 + r;
        c[7] = r == 1 ? u""_w : u"tab\tand\nline \u00fc\u4e2d"_w;
        c[8] = tdatetime(28, 7, 1999, 4, 5, 59, 123 + r);
        ttimeinterval interval;
        interval.SetTime(-1.25 * r);
        c[9] = interval;
        c[10] = tdatetimeinterval(r, 14, 1, 3, 2, 1, 0);
    }
    const std::string text = Write(*ds);
    auto back = Read(text);
    ASSERT_EQ(back->GetFieldCount(), 11u);
    ASSERT_EQ(back->GetRecordCount(), 3u);
    EXPECT_EQ(back->GetFieldName(3), u"3_3"_w);
    for (int t = 0; t <= 10; ++t) EXPECT_EQ(back->GetField(t)->GetType(), t);
    IDataSet::Cursor a = ds->CreateCursor(), b = back->CreateCursor();
    for (int r = 0; r < 3; ++r, ++a, ++b) {
        EXPECT_EQ(static_cast<bool>(a[1]), static_cast<bool>(b[1]));
        EXPECT_EQ(static_cast<short>(a[2]), static_cast<short>(b[2]));
        EXPECT_EQ(static_cast<int>(a[3]), static_cast<int>(b[3]));
        EXPECT_EQ(static_cast<int64>(a[4]), static_cast<int64>(b[4]));
        EXPECT_EQ(static_cast<float>(a[5]), static_cast<float>(b[5]));
        EXPECT_EQ(static_cast<double>(a[6]), static_cast<double>(b[6]));
        EXPECT_EQ(static_cast<wstring>(a[7]), static_cast<wstring>(b[7]));
        EXPECT_EQ(static_cast<tdatetime>(a[8]), static_cast<tdatetime>(b[8]));
        EXPECT_EQ(static_cast<ttimeinterval>(a[9]), static_cast<ttimeinterval>(b[9]));
        EXPECT_NEAR(static_cast<double>(a[10]), static_cast<double>(b[10]), 1e-9);
    }
}

TEST(StreamRoundTrip, RewritingCalendarIntervalsKeepsTheirBytes) {
    // Lengths that are no whole month count used to move by an ulp per rewrite.
    const std::string text = "1\t3\n10\t\n3.0000000000000004\t\n-33.6\t\n1e-300\t\n";
    const std::string once = Write(*Read(text));
    EXPECT_EQ(once, text);
    EXPECT_EQ(Write(*Read(once)), once);
    const std::string saturated = Write(*Read("1\t1\n10\t\n3e100\t\n"));
    EXPECT_EQ(Write(*Read(saturated)), saturated);
}

TEST(StreamRoundTrip, NanAndInfinityReadBack) {
    auto ds = Read("1\t3\n6\t\nnan\t\ninf\t\n-inf\t\n");
    EXPECT_TRUE(std::isnan(ds->GetNumeric(0, 0)));
    EXPECT_EQ(ds->GetNumeric(0, 1), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ds->GetNumeric(0, 2), -std::numeric_limits<double>::infinity());
}

TEST(StreamRoundTrip, DataSetsWithoutFieldsOrWithOnlyBlobs) {
    auto empty = MakeDataSet();
    IDataSet::Cursor c = empty->CreateCursor();
    for (int i = 0; i < 3; ++i) empty->Append(c);
    EXPECT_EQ(Read(Write(*empty))->GetRecordCount(), 3u);
    auto blobs = OneField(IField::BLOB);
    IDataSet::Cursor d = blobs->CreateCursor();
    for (int i = 0; i < 4; ++i) blobs->Append(d);
    auto back = Read(Write(*blobs));
    EXPECT_EQ(back->GetRecordCount(), 4u);
    EXPECT_EQ(back->GetVoid(0, 3), nullptr);
}

TEST(StreamRead, OlderSingleByteTextStaysReadable) {
    auto ds = Read("1\t1\n7\t\n3 \xE9t\xE9\t\n");
    EXPECT_EQ(ds->GetString(0, 0), u"\u00e9t\u00e9"_w);
}

TEST(StreamRead, ReplacesTheContentAndKeepsListeners) {
    auto ds = OneField(IField::Double);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    Recorder rec(*ds);
    std::istringstream is("1\t2\n3\t\n5\t\n6\t\n");
    is >> *ds;
    EXPECT_FALSE(is.fail());
    EXPECT_EQ(ds->GetFieldName(0), u"3_0"_w);
    EXPECT_EQ(testing::IntColumn(*ds), (std::vector<int>{5, 6}));
    EXPECT_FALSE(rec.notices.empty());
}

TEST(StreamRead, MalformedHeadersFailWithoutContent) {
    EXPECT_EQ(Read("-1\t2\n", false)->GetFieldCount(), 0u);
    EXPECT_EQ(Read("1\t-2\n3\t\n", false)->GetFieldCount(), 0u);
    EXPECT_EQ(Read("x", false)->GetFieldCount(), 0u);
    auto badType = Read("2\t0\n3\t11\t\n", false);
    EXPECT_EQ(badType->GetFieldCount(), 1u);
}

TEST(StreamRead, TruncatedInputKeepsTheCompleteRecords) {
    auto ds = Read("2\t1000000000\n3\t7\t\n1\t2 ab\t\n2\t2 cd\t\n3\t", false);
    EXPECT_EQ(ds->GetFieldCount(), 2u);
    EXPECT_EQ(ds->GetRecordCount(), 2u);
    EXPECT_EQ(ds->GetString(1, 1), u"cd"_w);
    auto cut = Read("1\t2\n7\t\n5 ab", false);
    EXPECT_EQ(cut->GetRecordCount(), 0u);
    auto huge = Read("1\t1\n7\t\n2000000000 ab\t\n", false);
    EXPECT_EQ(huge->GetRecordCount(), 0u);
    auto negative = Read("1\t1\n7\t\n-3 ab\t\n", false);
    EXPECT_EQ(negative->GetRecordCount(), 0u);
    auto fields = Read("3\t1\n3\t", false);
    EXPECT_EQ(fields->GetFieldCount(), 1u);
}

TEST(StreamRead, RecordsWithoutFieldsNeedTheirLines) {
    // Each empty record is a line of its own; a count the lines do not back fails.
    auto ds = Read("0\t4000000000\n\n\n\nrest", false);
    EXPECT_EQ(ds->GetRecordCount(), 2u);
    EXPECT_EQ(Read("0\t3000000000\n\t4", false)->GetRecordCount(), 0u);
    EXPECT_EQ(Read("0\t2\n\n\n\n")->GetRecordCount(), 2u);
    // After the empty type line, nothing here ends a record.
    EXPECT_EQ(Read("0\t1000\n\nx", false)->GetRecordCount(), 0u);
}

TEST(StreamRead, BadCellsStopWithoutThrowing) {
    auto date = Read("1\t2\n8\t\n730120\t\n-5\t\n", false);
    EXPECT_EQ(date->GetRecordCount(), 1u);
    EXPECT_EQ(date->GetNumeric(0, 0), 730120.0);
    auto word = Read("1\t2\n6\t\n1.5\t\n1.5x\t\n", false);
    EXPECT_EQ(word->GetRecordCount(), 1u);
    auto flag = Read("1\t1\n1\t\n7\t\n", false);
    EXPECT_EQ(flag->GetRecordCount(), 0u);
    auto zero = Read("1\t1\n8\t\n0\t\n");
    EXPECT_EQ(zero->GetNumeric(0, 0), 1.0);
}

TEST(StreamRead, AMissingLastSeparatorIsAccepted) {
    auto ds = Read("1\t1\n3\t\n42");
    EXPECT_EQ(ds->GetRecordCount(), 1u);
    EXPECT_EQ(ds->GetNumeric(0, 0), 42.0);
}

// Hands out a prefix and then its pattern without end, counting the bytes it
// delivered: a reader that tried to take what a header announces would never
// stop or would run up the count.
class EndlessInput : public std::streambuf {
  public:
    EndlessInput(std::string prefix, const std::string &pattern) : m_next(std::move(prefix)) {
        while (m_pattern.size() < 4096) m_pattern += pattern;
    }
    std::size_t Delivered() const { return m_delivered; }

  protected:
    int_type underflow() override {
        m_chunk = m_next.empty() ? m_pattern : std::move(m_next);
        m_next.clear();
        m_delivered += m_chunk.size();
        setg(m_chunk.data(), m_chunk.data(), m_chunk.data() + m_chunk.size());
        return traits_type::to_int_type(m_chunk[0]);
    }

  private:
    std::string m_next;
    std::string m_pattern;
    std::string m_chunk;
    std::size_t m_delivered = 0;
};

// Reads from an endless input; the read must fail having taken little of it.
DataSetPtr ReadEndless(const std::string &prefix, const std::string &pattern) {
    EndlessInput input(prefix, pattern);
    std::istream is(&input);
    auto ds = MakeDataSet();
    is >> *ds;
    EXPECT_TRUE(is.fail());
    EXPECT_LT(input.Delivered(), 64u * 1024u);
    return ds;
}

std::string Repeat(const std::string &piece, std::size_t count) {
    std::string all;
    all.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i) all += piece;
    return all;
}

TEST(StreamLimits, ABillionFieldsAreRefusedBeforeTheirTypesAreRead) {
    auto ds = ReadEndless("1000000000\t1\n", "3\t");
    EXPECT_EQ(ds->GetFieldCount(), 0u);
    EXPECT_EQ(ReadEndless("65537\t0\n", "1\t")->GetFieldCount(), 0u);
}

TEST(StreamLimits, SixtyFiveThousandFieldsReadBack) {
    const std::size_t count = 65536;
    std::string text = "65536\t2\n" + Repeat("1\t", count) + "\n";
    text += Repeat("1\t", count) + "\n" + Repeat("0\t", count - 1) + "1\t\n";
    auto ds = Read(text);
    ASSERT_EQ(ds->GetFieldCount(), count);
    ASSERT_EQ(ds->GetRecordCount(), 2u);
    EXPECT_EQ(ds->GetFieldName(65535), u"1_65535"_w);
    EXPECT_EQ(ds->GetNumeric(0, 0), 1.0);
    EXPECT_EQ(ds->GetNumeric(65534, 1), 0.0);
    EXPECT_EQ(ds->GetNumeric(65535, 1), 1.0);
    EXPECT_EQ(Write(*ds), text);
}

TEST(StreamLimits, ABillionRecordsOverAShortInputKeepWhatItHolds) {
    auto ds = Read("1\t1000000000\n3\t\n1\t\n2\t\n", false);
    EXPECT_EQ(testing::IntColumn(*ds), (std::vector<int>{1, 2}));
    // Records are made only as their cells arrive.
    EXPECT_EQ(ReadEndless("1\t1000000000\n7\t\n", "x")->GetRecordCount(), 0u);
}

TEST(StreamLimits, AGigabyteStringIsRefusedBeforeItsBytesAreRead) {
    auto ds = ReadEndless("2\t1\n3\t7\t\n5\t1000000000 ", "x");
    EXPECT_EQ(ds->GetFieldCount(), 2u);
    EXPECT_EQ(ds->GetRecordCount(), 0u);
    EXPECT_EQ(ReadEndless("1\t1\n7\t\n67108865 ", "x")->GetRecordCount(), 0u);
    EXPECT_EQ(ReadEndless("1\t1\n7\t\n99999999999999999999 ", "x")->GetRecordCount(), 0u);
}

// Several megabytes of every kind of cell read back exactly.
TEST(StreamLimits, AFewMegabytesReadBackExactly) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    ds->AddField(u"d"_w, IField::Double);
    ds->AddField(u"s"_w, IField::String);
    ds->AddField(u"t"_w, IField::DateTime);
    IDataSet::Cursor c = ds->CreateCursor();
    const int records = 60000;
    for (int r = 0; r < records; ++r) {
        ds->Append(c);
        c[0] = r * 7919;
        c[1] = r / 3.0;
        c[2] = wrt::format("text %d \u00e9\u20ac", r);
        tdatetime when;
        when.SetDateTime(730120.0 + r / 1440.0);
        c[3] = when;
    }
    const std::string text = Write(*ds);
    ASSERT_GT(text.size(), 3u * 1024u * 1024u);
    auto back = Read(text);
    ASSERT_EQ(back->GetRecordCount(), static_cast<unsigned>(records));
    for (unsigned r = 0; r < static_cast<unsigned>(records); r += 997) {
        EXPECT_EQ(back->GetNumeric(0, r), r * 7919.0);
        EXPECT_EQ(back->GetNumeric(1, r), r / 3.0);
        EXPECT_EQ(back->GetString(2, r), ds->GetString(2, r));
        EXPECT_EQ(back->GetNumeric(3, r), ds->GetNumeric(3, r));
    }
    EXPECT_EQ(Write(*back), text);
}

}  // namespace
}  // namespace quelt
