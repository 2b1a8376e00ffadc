#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataset/fields_p.h"
#include "dataset_test_util.h"
#include "quelt/dataset/fastwriter.h"
#include "quelt/datetime/exceptions.h"

namespace quelt {
namespace {

using testing::AppendRecords;
using testing::DataSetPtr;
using testing::IntColumn;
using testing::MakeDataSet;
using testing::Mem;
using testing::Recorder;
using WriterPtr = std::unique_ptr<IFastWriter>;

constexpr int kBlob = IField::BLOB, kBool = IField::Bool, kShort = IField::Short, kInt = IField::Int,
              kInt64 = IField::Int64, kFloat = IField::Float, kDouble = IField::Double,
              kString = IField::String, kDate = IField::DateTime, kInterval = IField::TimeInterval,
              kSpan = IField::DateTimeInterval;

wstring W(const std::string &text) { return Utf8ToWide(text); }

// Field i has type i, so a field index names its cell type.
DataSetPtr AllTypes() {
    auto ds = MakeDataSet();
    for (int type = kBlob; type <= kSpan; ++type) {
        ds->AddField(W("f" + std::to_string(type)), static_cast<IField::Types>(type));
    }
    return ds;
}

WriterPtr Writer(const DataSetPtr &ds) { return WriterPtr(ds->CreateFastWriter()); }

const unsigned char *CellBytes(const DataSetPtr &ds, int field, unsigned record) {
    return Mem(ds).GetDataStorage().GetAddress(record) + Mem(ds).GetFieldShift(field);
}

// The raw cell, read without any field object.
template <class T>
T Cell(const DataSetPtr &ds, int field, unsigned record = 0) {
    return cells::Load<T>(CellBytes(ds, field, record));
}

const wchar *Text(const DataSetPtr &ds, unsigned record = 0) {
    return Cell<const wchar *>(ds, kString, record);
}

// Writes one value into a fresh record and hands the data set back for reading.
template <class V>
void WriteOne(const DataSetPtr &ds, int field, const V &value) {
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(field, value);
}

template <class T, class V>
T Written(int field, const V &value) {
    auto ds = AllTypes();
    WriteOne(ds, field, value);
    return Cell<T>(ds, field);
}

template <class V>
wstring WrittenText(const V &value) {
    auto ds = AllTypes();
    WriteOne(ds, kString, value);
    return ds->GetString(kString, 0);
}

// Records

TEST(FastWriterRecords, NewRecordHoldsEachTypesInitialValue) {
    auto ds = AllTypes();
    Writer(ds)->AddRecord();
    ASSERT_EQ(ds->GetRecordCount(), 1u);
    EXPECT_EQ(Cell<void *>(ds, kBlob), nullptr);
    EXPECT_FALSE(Cell<bool>(ds, kBool));
    EXPECT_EQ(Cell<short>(ds, kShort), 0);
    EXPECT_EQ(Cell<int>(ds, kInt), 0);
    EXPECT_EQ(Cell<int64>(ds, kInt64), 0);
    EXPECT_EQ(Cell<float>(ds, kFloat), 0.0f);
    EXPECT_EQ(Cell<double>(ds, kDouble), 0.0);
    EXPECT_EQ(Text(ds), nullptr);
    EXPECT_EQ(ds->GetString(kString, 0), wstring());
    EXPECT_EQ(Cell<tdatetime>(ds, kDate).GetDateTime(), 1.0);
    EXPECT_EQ(Cell<ttimeinterval>(ds, kInterval).GetTime(), 0.0);
    EXPECT_EQ(Cell<tdatetimeinterval>(ds, kSpan).GetMonths(), 0);
    EXPECT_EQ(Cell<tdatetimeinterval>(ds, kSpan).GetDays(), 0.0);
}

TEST(FastWriterRecords, AppendsAfterExistingRecordsAndLaterCursorsSeeThem) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    AppendRecords(*ds, 2, [](unsigned i) { return static_cast<int>(i); });
    WriterPtr writer = Writer(ds);
    for (int i = 2; i < 600; ++i) {  // more than two pages of records
        writer->AddRecord();
        writer->SetField(0, i);
    }
    ASSERT_EQ(ds->GetRecordCount(), 600u);
    std::vector<int> expected(600);
    for (int i = 0; i < 600; ++i) expected[static_cast<unsigned>(i)] = i;
    EXPECT_EQ(IntColumn(*ds), expected);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 600; ++i, ++c) {
        ASSERT_TRUE(c.IsValid());
        EXPECT_EQ(static_cast<int>(c[0]), i);
    }
    EXPECT_TRUE(c.IsLast());
    EXPECT_EQ(static_cast<int>(ds->CreateColumn(0).Last()), 599);
}

TEST(FastWriterRecords, ExistingCursorsKeepTheirPlace) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    AppendRecords(*ds, 2, [](unsigned i) { return static_cast<int>(10 + i); });
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(0, 99);
    EXPECT_EQ(static_cast<int>(c[0]), 11);
    ++c;
    ASSERT_TRUE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 99);
}

TEST(FastWriterRecords, RaisesNoNotificationAndLeavesTheOrderAlone) {
    auto ds = AllTypes();
    ds->SetKeepOrder(true);
    ds->GetField(kInt)->SetSortType(IField::Ascending);
    ds->GetField(kInt)->SetSortIndex(0);
    Recorder rec(*ds);
    WriterPtr writer = Writer(ds);
    for (const int value : {3, 1, 2}) {
        writer->AddRecord();
        writer->SetField(kInt, value);
        writer->SetField(kString, u"x"_w.c_str());
        writer->SetField(kDate, tdatetime(1, 1, 2000));
    }
    EXPECT_TRUE(rec.notices.empty());
    EXPECT_EQ(IntColumn(*ds, kInt), (std::vector<int>{3, 1, 2}));
}

TEST(FastWriterRecords, CurrentRecordFollowsItsRecordWhenOthersMoveOrGo) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    AppendRecords(*ds, 2, [](unsigned i) { return static_cast<int>(i); });
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    ds->Move(2, 0);
    writer->SetField(0, 7);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{7, 0, 1}));
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    ds->Erase(c);
    writer->SetField(0, 8);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{8, 1}));
}

// Numbers

TEST(FastWriterNumbers, BoolCellsTakeNonZeroWithRealsTruncated) {
    EXPECT_TRUE(Written<bool>(kBool, true));
    EXPECT_FALSE(Written<bool>(kBool, false));
    EXPECT_FALSE(Written<bool>(kBool, static_cast<short>(0)));
    EXPECT_TRUE(Written<bool>(kBool, -3));
    EXPECT_TRUE(Written<bool>(kBool, int64{1} << 40));
    EXPECT_FALSE(Written<bool>(kBool, 0.5f));
    EXPECT_TRUE(Written<bool>(kBool, -2.5));
    EXPECT_FALSE(Written<bool>(kBool, std::nan("")));
}

TEST(FastWriterNumbers, IntegerCellsTruncateRealsAndSaturate) {
    EXPECT_EQ(Written<int>(kInt, 2.9), 2);
    EXPECT_EQ(Written<int>(kInt, -2.9), -2);
    EXPECT_EQ(Written<int>(kInt, 1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(Written<int>(kInt, -1e20f), std::numeric_limits<int>::min());
    EXPECT_EQ(Written<int>(kInt, std::nan("")), 0);
    EXPECT_EQ(Written<int>(kInt, true), 1);
    EXPECT_EQ(Written<int>(kInt, int64{5}), 5);
    EXPECT_EQ(Written<short>(kShort, 1e6), std::numeric_limits<short>::max());
    EXPECT_EQ(Written<short>(kShort, static_cast<short>(-12)), -12);
    EXPECT_EQ(Written<int64>(kInt64, 1e19), std::numeric_limits<int64>::max());
    EXPECT_EQ(Written<int64>(kInt64, 3.99f), 3);
    EXPECT_EQ(Written<int64>(kInt64, -5), -5);
    EXPECT_EQ(Written<int64>(kInt64, int64{1} << 50), int64{1} << 50);
}

TEST(FastWriterNumbers, RealCellsKeepTheFraction) {
    EXPECT_EQ(Written<float>(kFloat, 1.5), 1.5f);
    EXPECT_EQ(Written<float>(kFloat, int64{1} << 40), static_cast<float>(int64{1} << 40));
    EXPECT_EQ(Written<double>(kDouble, 0.1f), static_cast<double>(0.1f));
    EXPECT_EQ(Written<double>(kDouble, -4), -4.0);
    EXPECT_EQ(Written<double>(kDouble, true), 1.0);
    EXPECT_EQ(Written<double>(kDouble, 0.125), 0.125);
}

TEST(FastWriterNumbers, StringCellsTakeTheNumbersText) {
    EXPECT_EQ(WrittenText(1.5), u"1.5"_w);
    EXPECT_EQ(WrittenText(1e20), u"1e+20"_w);
    EXPECT_EQ(WrittenText(0.25f), u"0.25"_w);
    EXPECT_EQ(WrittenText(-42), u"-42"_w);
    EXPECT_EQ(WrittenText(static_cast<short>(7)), u"7"_w);
    EXPECT_EQ(WrittenText(int64{5000000000}), u"5000000000"_w);
    EXPECT_EQ(WrittenText(true), u"true"_w);
    EXPECT_EQ(WrittenText(false), u"false"_w);
}

TEST(FastWriterNumbers, DateTimeCellsFollowSetDateTime) {
    EXPECT_EQ(Written<tdatetime>(kDate, 730120.25).GetDateTime(), 730120.25);
    EXPECT_EQ(Written<tdatetime>(kDate, 0).GetDateTime(), 1.0);
    EXPECT_EQ(Written<tdatetime>(kDate, false).GetDateTime(), 1.0);
    EXPECT_EQ(Written<tdatetime>(kDate, int64{700000}).GetDateTime(), 700000.0);
    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(kDate, 5.0);
    EXPECT_THROW(writer->SetField(kDate, -1.0), bad_datetime);
    EXPECT_THROW(writer->SetField(kDate, static_cast<short>(-1)), bad_datetime);
    EXPECT_THROW(writer->SetField(kDate, 0.5), bad_datetime);
    EXPECT_THROW(writer->SetField(kDate, std::nan("")), bad_datetime);
    EXPECT_EQ(Cell<tdatetime>(ds, kDate).GetDateTime(), 5.0);
}

TEST(FastWriterNumbers, IntervalCellsTakeTheDayCount) {
    EXPECT_EQ(Written<ttimeinterval>(kInterval, 1.25).GetTime(), 1.25);
    EXPECT_EQ(Written<ttimeinterval>(kInterval, -3).GetTime(), -3.0);
    const auto span = Written<tdatetimeinterval>(kSpan, 64.2);
    EXPECT_EQ(span.GetMonths(), 2);
    EXPECT_NEAR(span.GetDays(), 64.2 - 2 * 30.6, 1e-9);
    const auto negative = Written<tdatetimeinterval>(kSpan, -31);
    EXPECT_EQ(negative.GetMonths(), -1);
    EXPECT_NEAR(negative.GetDays(), -0.4, 1e-9);
    EXPECT_EQ(Written<tdatetimeinterval>(kSpan, 1e300).GetMonths(), std::numeric_limits<int>::max());
}

TEST(FastWriterNumbers, BlobCellsAreLeftAlone) {
    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(kBlob, 5);
    writer->SetField(kBlob, 2.5);
    writer->SetField(kBlob, u"text"_w.c_str());
    writer->SetField(kBlob, tdatetime(1, 1, 2000));
    EXPECT_EQ(Cell<void *>(ds, kBlob), nullptr);
}

// Text

TEST(FastWriterText, BoolCellsAreTrueOnlyForExactlyTrue) {
    EXPECT_TRUE(Written<bool>(kBool, u"true"_w.c_str()));
    EXPECT_FALSE(Written<bool>(kBool, u"True"_w.c_str()));
    EXPECT_FALSE(Written<bool>(kBool, u"1"_w.c_str()));
    EXPECT_FALSE(Written<bool>(kBool, u"true "_w.c_str()));
    EXPECT_FALSE(Written<bool>(kBool, static_cast<const wchar *>(nullptr)));
}

// Writes number, then text, under the field's format; returns the cell.
template <class T>
T Parsed(int field, const char *format, const char *text, int number = 7) {
    auto ds = AllTypes();
    ds->SetFieldFormat(static_cast<unsigned>(field), W(format));
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(field, number);
    writer->SetField(field, W(text).c_str());
    return Cell<T>(ds, field);
}

TEST(FastWriterText, IntegerCellsParseUnderTheFormat) {
    EXPECT_EQ(Parsed<int>(kInt, "", "123abc"), 123);
    EXPECT_EQ(Parsed<int>(kInt, "", "abc"), 0);
    EXPECT_EQ(Parsed<int>(kInt, "", "99999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(Parsed<int>(kInt, "d", "0x10"), 16);
    EXPECT_EQ(Parsed<int>(kInt, "d", "abc"), 7);
    EXPECT_EQ(Parsed<int>(kInt, "h", "0xFF"), 255);
    EXPECT_EQ(Parsed<int>(kInt, "h", "0xFFFFFFFF"), -1);
    EXPECT_EQ(Parsed<int>(kInt, "h", "zz"), 7);
    EXPECT_EQ(Parsed<int>(kInt, "%", "250%"), 2);
    EXPECT_EQ(Parsed<int>(kInt, "%", "x"), 7);
    EXPECT_EQ(Parsed<short>(kShort, "", "-123"), -123);
    EXPECT_EQ(Parsed<short>(kShort, "h", "0x7F"), 0x7F);
    EXPECT_EQ(Parsed<int64>(kInt64, "", "9000000000"), int64{9000000000});
    EXPECT_EQ(Parsed<int64>(kInt64, "", "abc"), 7);
    EXPECT_EQ(Parsed<int64>(kInt64, "h", "0x1FFFFFFFF"), int64{0x1FFFFFFFF});
    EXPECT_EQ(Parsed<int64>(kInt64, "%", "25000000000%"), int64{250000000});
}

TEST(FastWriterText, PercentFormatTakesNumbersAsTheyAre) {
    auto ds = AllTypes();
    ds->SetFieldFormat(kInt, u"%"_w);
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(kInt, 5);
    EXPECT_EQ(Cell<int>(ds, kInt), 5);
    writer->SetField(kInt, u"250%"_w.c_str());
    EXPECT_EQ(Cell<int>(ds, kInt), 2);
}

TEST(FastWriterText, RealCellsParseUnderTheFormat) {
    EXPECT_EQ(Parsed<double>(kDouble, "", "2.5"), 2.5);
    EXPECT_EQ(Parsed<double>(kDouble, "", "x"), 0.0);
    EXPECT_EQ(Parsed<double>(kDouble, "d.2", "1e3"), 1000.0);
    EXPECT_EQ(Parsed<double>(kDouble, "h", "0x10"), 16.0);
    EXPECT_EQ(Parsed<double>(kDouble, "h", "16"), 7.0);
    EXPECT_EQ(Parsed<double>(kDouble, "%", "50%"), 0.5);
    EXPECT_EQ(Parsed<float>(kFloat, "", "-0.75"), -0.75f);
    EXPECT_EQ(Parsed<float>(kFloat, "%", "25"), 0.25f);
}

TEST(FastWriterText, TheFormatIsTheOneTheWriterWasMadeWith) {
    auto ds = AllTypes();
    ds->SetFieldFormat(kInt, u"%"_w);
    WriterPtr writer = Writer(ds);
    ds->SetFieldFormat(kInt, u"h"_w);
    writer->AddRecord();
    writer->SetField(kInt, u"250%"_w.c_str());
    EXPECT_EQ(Cell<int>(ds, kInt), 2);
    WriterPtr later = Writer(ds);
    later->AddRecord();
    later->SetField(kInt, u"0x10"_w.c_str());
    EXPECT_EQ(Cell<int>(ds, kInt, 1), 16);
}

TEST(FastWriterText, DateTimeKindsParseAndKeepTheirValueOnBadText) {
    EXPECT_EQ(Written<tdatetime>(kDate, u"07/28/1999 04:05:59"_w.c_str()),
              tdatetime(28, 7, 1999, 4, 5, 59, 0));
    EXPECT_EQ(Written<ttimeinterval>(kInterval, u"2 days, 12 hours"_w.c_str()).GetTime(), 2.5);
    const auto span = Written<tdatetimeinterval>(
        kSpan, u"1 years, 2 months, 3 days, 4 hours, 5 minutes, 6 seconds, 7 milliseconds"_w.c_str());
    EXPECT_EQ(span, tdatetimeinterval(3, 2, 1, 4, 5, 6, 7));

    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(kDate, tdatetime(2, 1, 2000));
    writer->SetField(kDate, u"garbage"_w.c_str());
    writer->SetField(kDate, u"02/30/2000"_w.c_str());
    EXPECT_EQ(Cell<tdatetime>(ds, kDate), tdatetime(2, 1, 2000));
    // What the interval's own text parsing leaves.
    for (const char *text : {"many days", "1 days, 99 hours", "-"}) {
        ttimeinterval expected = days(1);
        try {
            expected.SetTime(W(text).c_str());
        } catch (const bad_datetime &) {
        }
        writer->SetField(kInterval, days(1));
        writer->SetField(kInterval, W(text).c_str());
        EXPECT_EQ(Cell<ttimeinterval>(ds, kInterval), expected) << text;
    }
}

TEST(FastWriterText, StringCellsStoreTheTextAndNullEmptiesThem) {
    auto ds = AllTypes();
    CMemDataSet::CFastWriting writer;
    Mem(ds).initfast(writer);
    writer.AddRecord();
    writer.SetField(kString, u"first"_w.c_str());
    EXPECT_EQ(ds->GetString(kString, 0), u"first"_w);
    writer.SetField(kString, u"second, longer"_w);
    EXPECT_EQ(ds->GetString(kString, 0), u"second, longer"_w);
    writer.SetField(kString, static_cast<const wchar *>(nullptr));
    EXPECT_EQ(Text(ds), nullptr);
    writer.SetField(kString, wstring());
    ASSERT_NE(Text(ds), nullptr);
    EXPECT_EQ(Text(ds)[0], 0);
    // Text of the cell itself, stored anew over the old copy.
    writer.SetField(kString, u"self"_w);
    writer.SetField(kString, Text(ds));
    EXPECT_EQ(ds->GetString(kString, 0), u"self"_w);
}

// Date-time values

TEST(FastWriterDates, TheirOwnKindTakesThemUnchanged) {
    const tdatetime date(28, 7, 1999, 4, 5, 59, 123);
    const ttimeinterval interval(-(days(2) + mseconds(1)));
    const tdatetimeinterval span(3, 14, 2, 4, 5, 6, 7);
    EXPECT_EQ(Written<tdatetime>(kDate, date), date);
    EXPECT_EQ(Written<ttimeinterval>(kInterval, interval), interval);
    EXPECT_EQ(Written<tdatetimeinterval>(kSpan, span), span);
}

TEST(FastWriterDates, DatesAndCalendarIntervalsTravelAsTheirSevenNumbers) {
    const auto span = Written<tdatetimeinterval>(kSpan, tdatetime(15, 3, 2001, 10, 30, 20, 250));
    int d, mo, y, h, mi, s, ms;
    span.DecodeDate(d, mo, y);
    span.DecodeTime(h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{d, mo, y, h, mi, s, ms}), (std::vector<int>{15, 3, 2001, 10, 30, 20, 250}));
    EXPECT_EQ(Written<tdatetime>(kDate, tdatetimeinterval(15, 3, 2001, 10, 30, 20, 250)),
              tdatetime(15, 3, 2001, 10, 30, 20, 250));
    // Thirteen months decode as one year and one month.
    EXPECT_EQ(Written<tdatetime>(kDate, tdatetimeinterval(9, 13, 1)), tdatetime(9, 1, 2));
}

TEST(FastWriterDates, ACalendarIntervalThatIsNoDateThrowsAndLeavesTheCell) {
    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    writer->SetField(kDate, tdatetime(1, 2, 2003));
    EXPECT_THROW(writer->SetField(kDate, tdatetimeinterval()), bad_datetime);
    EXPECT_THROW(writer->SetField(kDate, tdatetimeinterval(31, 2, 2003)), bad_datetime);
    EXPECT_EQ(Cell<tdatetime>(ds, kDate), tdatetime(1, 2, 2003));
    EXPECT_THROW(writer->SetField(kDate, -days(1)), bad_datetime);
    EXPECT_EQ(Cell<tdatetime>(ds, kDate), tdatetime(1, 2, 2003));
}

TEST(FastWriterDates, OtherCellsTakeTheDayCount) {
    const tdatetime date(28, 7, 1999, 18, 0, 0, 0);
    const double dateDays = date.GetDateTime();
    EXPECT_EQ(Written<double>(kDouble, date), dateDays);
    EXPECT_EQ(Written<int>(kInt, date), static_cast<int>(dateDays));
    EXPECT_EQ(Written<short>(kShort, date), std::numeric_limits<short>::max());
    EXPECT_TRUE(Written<bool>(kBool, date));
    EXPECT_EQ(Written<ttimeinterval>(kInterval, date).GetTime(), dateDays);

    const tdatetimeinterval span(3, 2, 0, 12, 0, 0, 0);
    EXPECT_DOUBLE_EQ(Written<double>(kDouble, span), 2 * 30.6 + 3.5);
    EXPECT_DOUBLE_EQ(Written<ttimeinterval>(kInterval, span).GetTime(), 2 * 30.6 + 3.5);
    EXPECT_EQ(Written<int64>(kInt64, span), 64);
    EXPECT_FALSE(Written<bool>(kBool, tdatetimeinterval(0, 0, 0, 1, 0, 0, 0)));

    const ttimeinterval interval = days(40) + hours(6);
    EXPECT_EQ(Written<double>(kDouble, interval), 40.25);
    EXPECT_EQ(Written<tdatetime>(kDate, interval).GetDateTime(), 40.25);
    EXPECT_EQ(Written<tdatetime>(kDate, ttimeinterval()).GetDateTime(), 1.0);
    const auto fromInterval = Written<tdatetimeinterval>(kSpan, interval);
    EXPECT_EQ(fromInterval.GetMonths(), 1);
    EXPECT_NEAR(fromInterval.GetDays(), 40.25 - 30.6, 1e-9);
    EXPECT_EQ(Written<float>(kFloat, interval), 40.25f);
}

TEST(FastWriterDates, StringCellsTakeTheTextForm) {
    EXPECT_EQ(WrittenText(tdatetime(28, 7, 1999, 4, 5, 59, 0)), u"07/28/1999 04:05:59"_w);
    EXPECT_EQ(WrittenText(days(1) + hours(12)), u"1 days, 12 hours, 0 minutes, 0 seconds, 0 milliseconds"_w);
    EXPECT_EQ(WrittenText(tdatetimeinterval(3, 2, 1, 4, 5, 6, 7)),
              u"1 years, 2 months, 3 days, 4 hours, 5 minutes, 6 seconds, 7 milliseconds"_w);
}

// The writer and the field path (Append, SetFieldValue) store the same cells.

struct Form {
    std::string name;
    std::function<void(IFastWriter &, int)> fast;
    std::function<void(IMemDataSet &, unsigned, unsigned &)> field;
};

template <class V>
Form MakeForm(std::string name, V value) {
    return {std::move(name), [value](IFastWriter &w, int f) { w.SetField(f, value); },
            [value](IMemDataSet &ds, unsigned f, unsigned &r) { ds.SetFieldValue(f, r, value); }};
}

Form TextForm(const char *text) {
    const bool isNull = text == nullptr;
    const wstring wide = isNull ? wstring() : W(text);
    const auto pick = [isNull, wide]() { return isNull ? nullptr : wide.c_str(); };
    return {isNull ? "null text" : "text " + std::string(text),
            [pick](IFastWriter &w, int f) { w.SetField(f, pick()); },
            [pick](IMemDataSet &ds, unsigned f, unsigned &r) { ds.SetFieldValue(f, r, pick()); }};
}

std::vector<Form> AllForms() {
    std::vector<Form> forms = {
        MakeForm("bool true", true),
        MakeForm("bool false", false),
        MakeForm("short", static_cast<short>(-7)),
        MakeForm("int", 40000),
        MakeForm("int large", 123456789),
        MakeForm("int64", int64{5000000000}),
        MakeForm("int64 -1", int64{-1}),
        MakeForm("float", 2.75f),
        MakeForm("float negative", -0.5f),
        MakeForm("double", 1.5),
        MakeForm("double negative", -2.9),
        MakeForm("double huge", 1e20),
        MakeForm("double nan", std::nan("")),
        MakeForm("double fraction of a day", 0.25),
        MakeForm("double date", 730120.25),
        MakeForm("date", tdatetime(28, 7, 1999, 4, 5, 59, 0)),
        MakeForm("default date", tdatetime()),
        MakeForm("interval", days(1) + hours(12)),
        MakeForm("negative interval", -days(2)),
        MakeForm("span", tdatetimeinterval(3, 2, 1, 4, 5, 6, 7)),
        MakeForm("span of a date", tdatetimeinterval(15, 3, 2001, 10, 30, 20, 250)),
        MakeForm("empty span", tdatetimeinterval()),
    };
    for (const char *text :
         {"true", "True", "", "42", "-17abc", "250%", "0x1F", "2.5", "1e3", "07/28/1999 04:05:59", "2 days",
          "1 years, 2 months, 3 days, 4 hours, 5 minutes, 6 seconds, 7 milliseconds", "garbage"}) {
        forms.push_back(TextForm(text));
    }
    forms.push_back(TextForm(nullptr));
    return forms;
}

std::uint64_t Bits(double value) {
    return cells::Load<std::uint64_t>(reinterpret_cast<const unsigned char *>(&value));
}

bool Threw(const std::function<void()> &write) {
    try {
        write();
    } catch (const bad_datetime &) {
        return true;
    }
    return false;
}

void ExpectSameCells(const char *format) {
    auto fast = AllTypes();
    auto slow = AllTypes();
    for (unsigned f = 0; f < fast->GetFieldCount(); ++f) {
        fast->SetFieldFormat(f, W(format));
        slow->SetFieldFormat(f, W(format));
    }
    WriterPtr writer = Writer(fast);
    IDataSet::Cursor c = slow->CreateCursor();
    unsigned record = 0;
    for (const Form &form : AllForms()) {
        // A BLOB cell's block pointer is set by the field's text form; the writer leaves it alone.
        for (int field = kBool; field <= kSpan; ++field, ++record) {
            SCOPED_TRACE(form.name + " into field " + std::to_string(field) + " under '" + format + "'");
            writer->AddRecord();
            slow->Append(c);
            unsigned slowRecord = record;
            const auto f = static_cast<unsigned>(field);
            EXPECT_EQ(Threw([&] { form.fast(*writer, field); }),
                      Threw([&] { form.field(*slow, f, slowRecord); }));
            if (field == kString) {
                EXPECT_EQ(Text(fast, record) == nullptr, Text(slow, record) == nullptr);
                EXPECT_EQ(fast->GetString(f, record), slow->GetString(f, record));
                continue;
            }
            if (field == kSpan) {
                // Compared by part: the value's padding is not part of it.
                const auto mine = Cell<tdatetimeinterval>(fast, field, record);
                const auto theirs = Cell<tdatetimeinterval>(slow, field, record);
                EXPECT_EQ(mine.GetMonths(), theirs.GetMonths());
                EXPECT_EQ(Bits(mine.GetDays()), Bits(theirs.GetDays()));
                continue;
            }
            const auto size = static_cast<std::size_t>(Mem(fast).GetCloneField(field)->GetSize());
            EXPECT_EQ(std::memcmp(CellBytes(fast, field, record), CellBytes(slow, field, record), size), 0);
        }
    }
}

TEST(FastWriterMatchesFieldPath, EveryFormIntoEveryCellWithoutFormat) { ExpectSameCells(""); }

TEST(FastWriterMatchesFieldPath, EveryFormIntoEveryCellUnderEachFormatKind) {
    for (const char *format : {"d", "h", "%", "d.2,"}) ExpectSameCells(format);
}

// Shortening of long texts

std::size_t PoolUnits() { return Pool_alloc<wchar>().max_size(); }

// A text of count characters that tells its positions apart.
wstring LongText(std::size_t count) {
    wstring text(count, 0);
    for (std::size_t i = 0; i < count; ++i) text[i] = static_cast<wchar>('A' + i % 26);
    return text;
}

std::size_t StoredLength(std::size_t length) {
    auto ds = AllTypes();
    const wstring text = LongText(length);
    WriteOne(ds, kString, text.c_str());
    const wstring stored = ds->GetString(kString, 0);
    EXPECT_EQ(stored, text.substr(0, stored.size()));
    return stored.size();
}

TEST(FastWriterShortening, PoolBlockIs32768BytesLessItsHeader) {
    EXPECT_EQ(PoolUnits(), (0x8000 - Pool::HeaderSize) / sizeof(wchar));
}

TEST(FastWriterShortening, TwentyThousandCharactersKeepTheirFirst13333) {
    EXPECT_EQ(StoredLength(20000), 13333u);
}

TEST(FastWriterShortening, TextsBelowHalfABlockAreStoredWhole) {
    EXPECT_EQ(StoredLength(0), 0u);
    EXPECT_EQ(StoredLength(1000), 1000u);
    // Whole while 2 x (length + 1) bytes stay below the block's payload.
    const std::size_t lastWhole = PoolUnits() - 2;
    EXPECT_EQ(StoredLength(lastWhole), lastWhole);
    // One more: a = units, cut once to 2 x (a / 3) units with the terminator.
    EXPECT_EQ(StoredLength(lastWhole + 1), 2 * (PoolUnits() / 3) - 1);
}

TEST(FastWriterShortening, VeryLongTextsAreCutAsOftenAsNeeded) {
    // 100001 -> 66666 -> 44444 -> 29628 -> 19752 -> 13168 units.
    EXPECT_EQ(StoredLength(100000), 13167u);
    // Each cut keeps two thirds, so the result lies between two thirds of a block and a block.
    const std::size_t units = StoredLength(1000000) + 1;
    EXPECT_LT(units, PoolUnits());
    EXPECT_GE(units, 2 * (PoolUnits() / 3));
    EXPECT_EQ(units - 1, 11559u);
}

TEST(FastWriterShortening, ManyLongTextsFillFreshPoolBlocks) {
    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    const wstring text = LongText(20000);
    for (int i = 0; i < 50; ++i) {
        writer->AddRecord();
        writer->SetField(kString, text.c_str());
        writer->SetField(kString, text.c_str());
    }
    for (unsigned r = 0; r < 50; ++r) EXPECT_EQ(ds->GetString(kString, r), text.substr(0, 13333));
    ds->EraseAll();
    EXPECT_EQ(ds->GetRecordCount(), 0u);
}

struct ExposedWriter : CMemDataSet::CFastWriting {
    using CFastWriting::SetPChar;
};

TEST(FastWriterShortening, SetPCharWritesAnyStringCell) {
    auto ds = AllTypes();
    ExposedWriter writer;
    Mem(ds).initfast(writer);
    writer.AddRecord();
    auto *cell =
        reinterpret_cast<wchar **>(Mem(ds).GetDataStorage().GetAddress(0) + Mem(ds).GetFieldShift(kString));
    writer.SetPChar(cell, LongText(20000).c_str());
    EXPECT_EQ(ds->GetString(kString, 0).size(), 13333u);
    writer.SetPChar(cell, nullptr);
    EXPECT_EQ(*cell, nullptr);
    ExposedWriter detached;
    EXPECT_THROW(detached.SetPChar(cell, u"x"_w.c_str()), std::logic_error);
}

// Misuse

TEST(FastWriterGuards, SetFieldBeforeTheFirstAddRecordIsOutOfRange) {
    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    EXPECT_THROW(writer->SetField(kInt, 1), std::out_of_range);
    EXPECT_THROW(writer->SetField(kString, u"a"_w.c_str()), std::out_of_range);
    EXPECT_THROW(writer->SetField(kDate, tdatetime()), std::out_of_range);
    EXPECT_THROW(writer->SetField(kSpan, tdatetimeinterval()), std::out_of_range);
    EXPECT_THROW(writer->SetField(kInterval, ttimeinterval()), std::out_of_range);
    EXPECT_EQ(ds->GetRecordCount(), 0u);
}

TEST(FastWriterGuards, FieldIndexOutsideTheLayoutIsOutOfRange) {
    auto ds = AllTypes();
    CMemDataSet::CFastWriting writer;
    Mem(ds).initfast(writer);
    writer.AddRecord();
    for (const int index :
         {-1, kSpan + 1, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        EXPECT_THROW(writer.SetField(index, 1), std::out_of_range);
        EXPECT_THROW(writer.SetField(index, 1.0), std::out_of_range);
        EXPECT_THROW(writer.SetField(index, u"1"_w), std::out_of_range);
        EXPECT_THROW(writer.SetField(index, tdatetime()), std::out_of_range);
    }
    auto empty = MakeDataSet();
    WriterPtr none = Writer(empty);
    none->AddRecord();
    EXPECT_THROW(none->SetField(0, 1), std::out_of_range);
    EXPECT_EQ(empty->GetRecordCount(), 1u);
}

TEST(FastWriterGuards, EraseAllAndClearStartEveryWriterOverAtAddRecord) {
    auto ds = AllTypes();
    WriterPtr one = Writer(ds);
    WriterPtr two = Writer(ds);
    one->AddRecord();
    one->SetField(kString, u"pooled"_w.c_str());
    two->AddRecord();
    ds->EraseAll();
    EXPECT_THROW(one->SetField(kString, u"again"_w.c_str()), std::out_of_range);
    EXPECT_THROW(two->SetField(kInt, 1), std::out_of_range);
    one->AddRecord();
    one->SetField(kString, u"again"_w.c_str());
    EXPECT_EQ(ds->GetString(kString, 0), u"again"_w);

    auto bare = MakeDataSet();
    WriterPtr writer = Writer(bare);
    writer->AddRecord();
    bare->Clear();
    EXPECT_THROW(writer->SetField(0, 1), std::out_of_range);
    writer->AddRecord();
    EXPECT_EQ(bare->GetRecordCount(), 1u);
}

TEST(FastWriterGuards, ErasingTheCurrentRecordResetsOnlyTheWritersOnIt) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    WriterPtr first = Writer(ds);
    WriterPtr second = Writer(ds);
    first->AddRecord();
    second->AddRecord();
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Erase(c);
    EXPECT_THROW(first->SetField(0, 1), std::out_of_range);
    second->SetField(0, 5);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{5}));
}

TEST(FastWriterGuards, ChangingTheFieldListDetachesTheWriter) {
    const std::vector<std::function<void(IMemDataSet &)>> changes = {
        [](IMemDataSet &ds) { ds.AddField(u"new"_w, IField::Double); },
        [](IMemDataSet &ds) { ds.InsertField(0, u"new"_w, IField::Int64); },
        [](IMemDataSet &ds) { ds.DeleteField(u"f3"_w); },
        [](IMemDataSet &ds) { ds.DeleteField(0u); },
        [](IMemDataSet &ds) { ds.Clear(); },
    };
    for (const auto &change : changes) {
        auto ds = AllTypes();
        WriterPtr writer = Writer(ds);
        writer->AddRecord();
        change(*ds);
        const unsigned count = ds->GetRecordCount();
        EXPECT_THROW(writer->AddRecord(), std::logic_error);
        EXPECT_THROW(writer->SetField(0, 1), std::logic_error);
        EXPECT_THROW(writer->SetField(0, u"1"_w.c_str()), std::logic_error);
        EXPECT_THROW(writer->SetField(0, tdatetime()), std::logic_error);
        EXPECT_EQ(ds->GetRecordCount(), count);
        // A writer made afterwards follows the new layout.
        WriterPtr fresh = Writer(ds);
        fresh->AddRecord();
        EXPECT_EQ(ds->GetRecordCount(), count + 1);
    }
}

TEST(FastWriterGuards, ChangesThatLeaveTheFieldListKeepTheWriter) {
    auto ds = AllTypes();
    WriterPtr writer = Writer(ds);
    writer->AddRecord();
    ds->DeleteField(u"missing"_w);
    ds->DeleteField(99u);
    ds->SetFieldFormat(kInt, u"h"_w);
    ds->SetKeepOrder(true);
    writer->SetField(kInt, 3);
    EXPECT_EQ(Cell<int>(ds, kInt), 3);
}

TEST(FastWriterGuards, DestroyingTheDataSetDetachesTheWriter) {
    auto ds = AllTypes();
    CMemDataSet::CFastWriting writer;
    Mem(ds).initfast(writer);
    WriterPtr made = Writer(ds);
    writer.AddRecord();
    ds.reset();
    EXPECT_THROW(writer.AddRecord(), std::logic_error);
    EXPECT_THROW(writer.SetField(kInt, 1), std::logic_error);
    EXPECT_THROW(made->SetField(kString, u"x"_w.c_str()), std::logic_error);
}

TEST(FastWriterGuards, DefaultConstructedWriterIsDetached) {
    CMemDataSet::CFastWriting writer;
    EXPECT_THROW(writer.AddRecord(), std::logic_error);
    EXPECT_THROW(writer.SetField(0, 1), std::logic_error);
}

TEST(FastWriterGuards, DeletedWritersLeaveTheRegistry) {
    auto ds = AllTypes();
    ds->DeleteFastWriter(nullptr);
    IFastWriter *writer = ds->CreateFastWriter();
    writer->AddRecord();
    ds->DeleteFastWriter(writer);
    {
        CMemDataSet::CFastWriting scoped;
        Mem(ds).initfast(scoped);
        scoped.AddRecord();
    }
    // Each of these walks the registry; a writer left in it would be used after it was freed.
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Erase(c);
    ds->EraseAll();
    ds->AddField(u"more"_w, IField::Int);
    ds->Clear();
    EXPECT_EQ(ds->GetRecordCount(), 0u);
}

TEST(FastWriterGuards, InitRefusesALayoutOutsideTheRecordAndKeepsTheOldOne) {
    auto ds = AllTypes();
    CMemDataSet::CFastWriting writer;
    Mem(ds).initfast(writer);
    CMemDataSet::CVecDataStorage &storage = Mem(ds).GetDataStorage();
    IField::Types types[] = {IField::Double};
    wstring formats[] = {wstring()};
    int beyond[] = {static_cast<int>(storage.GetRecordSize()) - 4};
    int negative[] = {-1};
    int inside[] = {Mem(ds).GetFieldShift(kDouble)};
    Pool_alloc<wchar> pool;
    EXPECT_THROW(writer.Init(types, beyond, 1, &storage, formats, &pool), std::invalid_argument);
    EXPECT_THROW(writer.Init(types, negative, 1, &storage, formats, &pool), std::invalid_argument);
    EXPECT_THROW(writer.Init(types, inside, -1, &storage, formats, &pool), std::invalid_argument);
    EXPECT_THROW(writer.Init(types, inside, 1, nullptr, formats, &pool), std::invalid_argument);
    IField::Types text[] = {IField::String};
    int textAt[] = {Mem(ds).GetFieldShift(kString)};
    EXPECT_THROW(writer.Init(text, textAt, 1, &storage, formats, nullptr), std::invalid_argument);
    auto outside = static_cast<IField::Types>(11);
    EXPECT_THROW(writer.Init(&outside, inside, 1, &storage, formats, &pool), std::invalid_argument);
    // Still the data set's writer, still registered.
    writer.AddRecord();
    writer.SetField(kString, u"kept"_w);
    EXPECT_EQ(ds->GetString(kString, 0), u"kept"_w);
    ds->AddField(u"more"_w, IField::Int);
    EXPECT_THROW(writer.AddRecord(), std::logic_error);
}

TEST(FastWriterGuards, InitWithARawLayoutWritesThere) {
    auto ds = AllTypes();
    CMemDataSet::CFastWriting writer;
    IField::Types types[] = {IField::Double, IField::DateTime};
    int offsets[] = {Mem(ds).GetFieldShift(kDouble), Mem(ds).GetFieldShift(kDate)};
    wstring formats[] = {u"%"_w, wstring()};
    writer.Init(types, offsets, 2, &Mem(ds).GetDataStorage(), formats, nullptr);
    writer.AddRecord();
    writer.SetField(0, u"50"_w);
    EXPECT_EQ(Cell<double>(ds, kDouble), 0.5);
    EXPECT_EQ(Cell<tdatetime>(ds, kDate).GetDateTime(), 1.0);
    EXPECT_THROW(writer.SetField(2, 1), std::out_of_range);
}

TEST(FastWriterGuards, ARawLayoutWriterFollowsTheStorageItWritesInto) {
    auto ds = AllTypes();
    CMemDataSet::CFastWriting writer;
    IField::Types types[] = {IField::Double};
    int offsets[] = {Mem(ds).GetFieldShift(kDouble)};
    wstring formats[] = {wstring()};
    writer.Init(types, offsets, 1, &Mem(ds).GetDataStorage(), formats, nullptr);
    writer.AddRecord();
    ds->EraseAll();  // the current record's page is gone
    EXPECT_THROW(writer.SetField(0, 1.0), std::out_of_range);
    writer.AddRecord();
    writer.SetField(0, 2.5);
    EXPECT_EQ(ds->GetNumeric(kDouble, 0), 2.5);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Erase(c);
    EXPECT_THROW(writer.SetField(0, 1.0), std::out_of_range);
    ds->AddField(u"more"_w, IField::Int);
    EXPECT_THROW(writer.AddRecord(), std::logic_error);
    writer.Init(types, offsets, 1, &Mem(ds).GetDataStorage(), formats, nullptr);
    ds.reset();
    EXPECT_THROW(writer.AddRecord(), std::logic_error);
}

TEST(FastWriterGuards, InitfastMovesAWriterToAnotherDataSet) {
    auto from = AllTypes();
    auto to = MakeDataSet();
    to->AddField(u"only"_w, IField::String);
    CMemDataSet::CFastWriting writer;
    Mem(from).initfast(writer);
    writer.AddRecord();
    Mem(to).initfast(writer);
    EXPECT_THROW(writer.SetField(0, 1), std::out_of_range);
    writer.AddRecord();
    writer.SetField(0, u"moved"_w);
    from->Clear();
    writer.SetField(0, u"still here"_w);
    EXPECT_EQ(to->GetString(0, 0), u"still here"_w);
    EXPECT_EQ(from->GetRecordCount(), 0u);
    Mem(to).initfast(writer);
    to->AddField(u"more"_w, IField::Int);
    EXPECT_THROW(writer.AddRecord(), std::logic_error);
}

}  // namespace
}  // namespace quelt
