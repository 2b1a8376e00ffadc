#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>

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
    auto fields = Read("100000000\t1\n3\t", false);
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

}  // namespace
}  // namespace quelt
