#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dataset_test_util.h"
#include "quelt/core/exceptions.h"

namespace quelt {
namespace {

using testing::DataSetPtr;
using testing::MakeDataSet;
using testing::Recorder;

// One record with one field of the type, reached through a cursor.
struct OneCell {
    explicit OneCell(IField::Types type, const wstring &format = wstring()) : ds(MakeDataSet()) {
        ds->AddField(u"f"_w, type);
        ds->SetFieldFormat(0, format);
        ds->Append(cursor);
    }
    IField &f() { return cursor[0]; }

    DataSetPtr ds;
    IDataSet::Cursor cursor = ds->CreateCursor();
};

TEST(FieldFactory, MakesTheClassOfEveryTypeWithItsCellSize) {
    Pool_alloc<wchar> alloc;
    const int sizes[] = {int(sizeof(void *)), 1, 2, 4, 8, 4, 8, int(sizeof(void *)), 8, 8, 16};
    for (int t = 0; t <= 10; ++t) {
        std::unique_ptr<CMemFieldBase> field(MakeField(u"x"_w, IField::Types(t), nullptr, &alloc));
        EXPECT_EQ(field->GetType(), t);
        EXPECT_EQ(field->GetSize(), sizes[t]) << t;
        EXPECT_EQ(field->GetName(), u"x"_w);
        EXPECT_EQ(field->GetSortIndex(), -1);
        EXPECT_EQ(field->GetSortType(), IField::NotSorted);
        EXPECT_FALSE(field->IsSortCaseSensitive());
        EXPECT_EQ(field->GetData(), t == 0 ? nullptr : field->GetData());
    }
    std::unique_ptr<CMemFieldBase> int64Field(MakeField(u"x"_w, IField::Int64, nullptr, &alloc));
    EXPECT_NE(dynamic_cast<CInt64MemField *>(int64Field.get()), nullptr);
    std::unique_ptr<CMemFieldBase> stringField(MakeField(u"x"_w, IField::String, nullptr, &alloc));
    EXPECT_NE(dynamic_cast<CStringMemField *>(stringField.get()), nullptr);
}

TEST(FieldFactory, RefusesATypeOutsideTheTable) {
    Pool_alloc<wchar> alloc;
    EXPECT_THROW(MakeField(u"x"_w, IField::Types(11), nullptr, &alloc), std::invalid_argument);
    EXPECT_THROW(MakeField(u"x"_w, IField::Types(-1), nullptr, &alloc), std::invalid_argument);
}

TEST(FieldBinding, UnboundFieldReadsDefaultsAndIgnoresWrites) {
    Pool_alloc<wchar> alloc;
    for (int t = 0; t <= 10; ++t) {
        std::unique_ptr<CMemFieldBase> field(MakeField(u"x"_w, IField::Types(t), nullptr, &alloc));
        IField &f = *field;
        f = 5;
        f = u"12"_w;
        EXPECT_EQ(static_cast<int>(f), t == IField::DateTime ? 1 : 0) << t;
        EXPECT_EQ(static_cast<wstring>(f).empty(), t == IField::BLOB || t == IField::String) << t;
    }
}

TEST(FieldBinding, InitReturnsTheAddressPastTheCellAndCloneKeepsTheBinding) {
    CIntMemField field(u"i"_w, nullptr);
    unsigned char cell[8] = {};
    EXPECT_EQ(field.Init(cell), cell + 4);
    field = 42;
    std::unique_ptr<CMemFieldBase> copy(field.clone());
    EXPECT_EQ(static_cast<int>(*copy), 42);
    EXPECT_EQ(copy->GetData(), cell);
    EXPECT_EQ(field.Init(nullptr), nullptr);
}

TEST(IntegerField, ReadsAsEveryType) {
    OneCell c(IField::Int);
    c.f() = 45;
    EXPECT_TRUE(static_cast<bool>(c.f()));
    EXPECT_EQ(static_cast<short>(c.f()), 45);
    EXPECT_EQ(static_cast<int64>(c.f()), 45);
    EXPECT_FLOAT_EQ(static_cast<float>(c.f()), 45.f);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 45.0);
    EXPECT_EQ(static_cast<wstring>(c.f()), u"45"_w);
    EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c.f()).GetDateTime(), 45.0);
    EXPECT_DOUBLE_EQ(static_cast<ttimeinterval>(c.f()).GetTime(), 45.0);
    const tdatetimeinterval span = c.f();
    EXPECT_EQ(span.GetMonths(), 1);
    EXPECT_NEAR(span.GetDays(), 14.4, 1e-9);
    c.f() = 0;
    EXPECT_FALSE(static_cast<bool>(c.f()));
    EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c.f()).GetDateTime(), 1.0);
    c.f() = -1;
    EXPECT_THROW((void)static_cast<tdatetime>(c.f()), bad_datetime);
}

TEST(IntegerField, WritesFromEveryType) {
    OneCell c(IField::Int);
    IField &f = c.f();
    f = true;
    EXPECT_EQ(static_cast<int>(f), 1);
    f = short(-3);
    EXPECT_EQ(static_cast<int>(f), -3);
    f = int64(1234567);
    EXPECT_EQ(static_cast<int>(f), 1234567);
    f = 2.9f;
    EXPECT_EQ(static_cast<int>(f), 2);
    f = -2.9;
    EXPECT_EQ(static_cast<int>(f), -2);
    tdatetime date;
    date.SetDateTime(3.75);
    f = date;
    EXPECT_EQ(static_cast<int>(f), 3);
    ttimeinterval interval;
    interval.SetTime(-4.5);
    f = interval;
    EXPECT_EQ(static_cast<int>(f), -4);
    f = tdatetimeinterval(5, 1, 0);  // 1 month and 5 days: 35.6 days
    EXPECT_EQ(static_cast<int>(f), 35);
}

TEST(IntegerField, OutOfRangeAndNaNDoublesSaturate) {
    OneCell c(IField::Short);
    c.f() = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(static_cast<int>(c.f()), 0);
    c.f() = 1e300;
    EXPECT_EQ(static_cast<short>(c.f()), std::numeric_limits<short>::max());
    c.f() = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(static_cast<short>(c.f()), std::numeric_limits<short>::min());
    OneCell i64(IField::Int64);
    i64.f() = 1e19;
    EXPECT_EQ(static_cast<int64>(i64.f()), std::numeric_limits<int64>::max());
    OneCell d(IField::Double);
    d.f() = 1e300;
    EXPECT_EQ(static_cast<int>(d.f()), std::numeric_limits<int>::max());
    d.f() = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(static_cast<int64>(d.f()), 0);
}

TEST(IntegerField, AssignsFromAnotherFieldThroughItsConversion) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    ds->AddField(u"d"_w, IField::Double);
    ds->AddField(u"s"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[1] = 3.9;
    c[0] = c[1];
    EXPECT_EQ(static_cast<int>(c[0]), 3);
    c[2] = u"0x10"_w;
    c[0] = c[2];
    EXPECT_EQ(static_cast<int>(c[0]), 16);
    EXPECT_FALSE(c[0] < c[1]);
    EXPECT_TRUE(c[1] < c[0]);
}

TEST(BoolField, EverySourceReducesToNonZero) {
    OneCell c(IField::Bool);
    c.f() = 2;
    EXPECT_TRUE(static_cast<bool>(c.f()));
    EXPECT_EQ(static_cast<int>(c.f()), 1);
    c.f() = 0.5;  // truncated first
    EXPECT_FALSE(static_cast<bool>(c.f()));
    c.f() = -1.5;
    EXPECT_TRUE(static_cast<bool>(c.f()));
    c.f() = tdatetimeinterval(3, 0, 0);
    EXPECT_TRUE(static_cast<bool>(c.f()));
    EXPECT_EQ(static_cast<wstring>(c.f()), u"true"_w);
    c.f() = false;
    EXPECT_EQ(static_cast<wstring>(c.f()), u"false"_w);
}

TEST(BoolField, AnyNonZeroByteReadsAsTrue) {
    OneCell c(IField::Bool);
    unsigned char byte = 0x80;
    c.f().SetData(&byte);
    EXPECT_TRUE(static_cast<bool>(c.f()));
    EXPECT_EQ(static_cast<int>(c.f()), 1);
    OneCell blob(IField::BLOB);
    unsigned char block[8] = {2};
    blob.f().SetData(block);
    EXPECT_TRUE(static_cast<bool>(blob.f()));
}

TEST(BoolField, TextIsTrueOnlyForExactlyTrue) {
    OneCell c(IField::Bool);
    c.f() = u"true"_w;
    EXPECT_TRUE(static_cast<bool>(c.f()));
    c.f() = u"True"_w;
    EXPECT_FALSE(static_cast<bool>(c.f()));
    c.f() = u"true "_w;
    EXPECT_FALSE(static_cast<bool>(c.f()));
}

TEST(RealField, KeepsTheFractionOnValueWrites) {
    OneCell c(IField::Double);
    c.f() = 2.75;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 2.75);
    c.f() = tdatetimeinterval(1, 1, 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 31.6);
    OneCell f(IField::Float);
    f.f() = 1.25;
    EXPECT_FLOAT_EQ(static_cast<float>(f.f()), 1.25f);
    EXPECT_EQ(static_cast<int>(f.f()), 1);
    EXPECT_EQ(static_cast<wstring>(f.f()), u"1.25"_w);
}

TEST(DisplayFormat, AcceptsOnlyTheKnownForms) {
    OneCell c(IField::Int);
    IField &f = c.f();
    f.SetFormat(u"d.2,"_w);
    EXPECT_EQ(f.GetFormat(), u"d.2,"_w);
    for (const wstring &bad : {u"x"_w, u"d2"_w, u"d."_w, u"%%"_w, u"h.x"_w}) {
        f.SetFormat(bad);
        EXPECT_EQ(f.GetFormat(), u"d.2,"_w) << WideToUtf8(bad);
    }
    f.SetFormat(u"d,"_w);
    EXPECT_EQ(f.GetFormat(), u"d,"_w);
    f.SetFormat(u""_w);
    EXPECT_EQ(f.GetFormat(), u""_w);
}

TEST(DisplayFormat, RendersIntegersUnderTheFormat) {
    OneCell pct(IField::Int, u"%"_w);
    pct.f() = 5;
    EXPECT_EQ(static_cast<wstring>(pct.f()), u"500%"_w);
    OneCell grouped(IField::Int, u"d,"_w);
    grouped.f() = 1234567;
    EXPECT_EQ(static_cast<wstring>(grouped.f()), u"1,234,567"_w);
    OneCell hex(IField::Int, u"h"_w);
    hex.f() = 255;
    EXPECT_EQ(static_cast<wstring>(hex.f()), u"0xFF"_w);
    OneCell hex64(IField::Int64, u"h"_w);
    hex64.f() = int64(0x123456789A);
    EXPECT_EQ(static_cast<wstring>(hex64.f()), u"0x123456789A"_w);
}

// What a grouping format shows reads back as the value it showed.
TEST(DisplayFormat, GroupedTextReadsBack) {
    const struct {
        IField::Types type;
        const char *format;
        double value;
    } cases[] = {{IField::Int, "d,", 1234567},          {IField::Int, "d,", -2147483647},
                 {IField::Int64, "d,", 123456789012.0}, {IField::Int, "%,", 12345},
                 {IField::Double, "d.2,", 1234567.89},  {IField::Double, "d,", -98765.5},
                 {IField::Double, "%.1,", 12345.6},     {IField::Short, "d,", 32767}};
    for (const auto &c : cases) {
        OneCell cell(c.type, Utf8ToWide(c.format));
        cell.f() = c.value;
        const wstring shown = static_cast<wstring>(cell.f());
        cell.f() = 0.0;
        cell.f() = shown;
        EXPECT_DOUBLE_EQ(static_cast<double>(cell.f()), c.value) << WideToUtf8(shown);
        EXPECT_EQ(static_cast<wstring>(cell.f()), shown);
    }
    OneCell typed(IField::Int, u"d,"_w);
    typed.f() = u"-12,345"_w;
    EXPECT_EQ(static_cast<int>(typed.f()), -12345);
    // Without grouping in the format a comma still ends the number.
    OneCell plain(IField::Int, u"d"_w);
    plain.f() = u"12,345"_w;
    EXPECT_EQ(static_cast<int>(plain.f()), 12);
}

TEST(DisplayFormat, RendersRealsUnderTheFormat) {
    OneCell fixed(IField::Double, u"d.3"_w);
    fixed.f() = 2.5;
    EXPECT_EQ(static_cast<wstring>(fixed.f()), u"2.500"_w);
    OneCell dpct(IField::Double, u"%"_w);
    dpct.f() = 0.5;
    EXPECT_EQ(static_cast<wstring>(dpct.f()), u"50.000000%"_w);
    OneCell fpct(IField::Float, u"%"_w);
    fpct.f() = 0.5;
    EXPECT_EQ(static_cast<wstring>(fpct.f()), u"50%"_w);
}

TEST(DisplayFormat, ParsesTextUnderTheFormatWithoutNotifying) {
    OneCell pct(IField::Int, u"%"_w);
    Recorder rec(*pct.ds);
    pct.f() = u"250%"_w;
    EXPECT_EQ(static_cast<int>(pct.f()), 2);
    OneCell hex(IField::Int, u"h"_w);
    hex.f() = u"0x1F"_w;
    EXPECT_EQ(static_cast<int>(hex.f()), 31);
    OneCell plain(IField::Int);
    plain.f() = 9;
    plain.f() = u"12abc"_w;
    EXPECT_EQ(static_cast<int>(plain.f()), 12);
    OneCell real(IField::Double, u"%"_w);
    real.f() = u"12.5"_w;
    EXPECT_DOUBLE_EQ(static_cast<double>(real.f()), 0.125);
    OneCell other(IField::Int, u"d"_w);
    other.f() = 4;
    other.f().SetFormat(u""_w);
    EXPECT_TRUE(rec.notices.empty());
}

TEST(FieldNotification, ValueWritesReportTheFieldTextWritesDoNot) {
    OneCell c(IField::Int);
    Recorder rec(*c.ds);
    c.f() = 5;
    c.f() = u"6"_w;
    c.f() = 2.5;
    ASSERT_EQ(rec.Names(), (std::vector<std::string>{"UpdateField", "UpdateField"}));
    EXPECT_EQ(rec.notices[0].field, &c.f());
    EXPECT_EQ(rec.sources[0], static_cast<IEventSender *>(c.ds.get()));
}

TEST(FieldNotification, AssigningAFieldItsOwnCellDoesNothing) {
    OneCell c(IField::Int);
    c.f() = 5;
    Recorder rec(*c.ds);
    IDataSet::Cursor other = c.cursor.clone();
    c.f() = other[0];
    EXPECT_TRUE(rec.notices.empty());
}

TEST(FieldNotification, SetDataOfDateTimeKindsIsSilent) {
    OneCell date(IField::DateTime);
    OneCell num(IField::Double);
    Recorder dateRec(*date.ds), numRec(*num.ds);
    double value = 730120.5;
    date.f().SetData(&value);
    num.f().SetData(&value);
    EXPECT_DOUBLE_EQ(static_cast<double>(date.f()), 730120.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(num.f()), 730120.5);
    EXPECT_TRUE(dateRec.notices.empty());
    EXPECT_EQ(numRec.notices.size(), 1u);
}

TEST(StringField, NullCellIsEmptyZeroAndFalse) {
    OneCell c(IField::String);
    EXPECT_EQ(static_cast<wstring>(c.f()), u""_w);
    EXPECT_EQ(static_cast<int>(c.f()), 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 0.0);
    EXPECT_FALSE(static_cast<bool>(c.f()));
    EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c.f()).GetDateTime(), 1.0);
}

TEST(StringField, ReadsNumbersAndFlagsFromItsText) {
    OneCell c(IField::String);
    c.f() = u"0x1F"_w;
    EXPECT_EQ(static_cast<int>(c.f()), 31);
    c.f() = u"010"_w;
    EXPECT_EQ(static_cast<short>(c.f()), 8);
    c.f() = u"-9000000000"_w;
    EXPECT_EQ(static_cast<int64>(c.f()), -9000000000LL);
    c.f() = u"2.5e1"_w;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 25.0);
    EXPECT_FLOAT_EQ(static_cast<float>(c.f()), 25.f);
    c.f() = u"abc"_w;
    EXPECT_EQ(static_cast<int>(c.f()), 0);
    c.f() = u"true"_w;
    EXPECT_TRUE(static_cast<bool>(c.f()));
    c.f() = u"1 days, 12 hours, 0 minutes, 0 seconds, 0 milliseconds"_w;
    EXPECT_DOUBLE_EQ(static_cast<ttimeinterval>(c.f()).GetTime(), 1.5);
    c.f() = u"1 years, 2 months, 3 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds"_w;
    EXPECT_EQ(static_cast<tdatetimeinterval>(c.f()).GetMonths(), 14);
    c.f() = u"07/28/1999 04:05:59"_w;
    EXPECT_EQ(static_cast<tdatetime>(c.f()), tdatetime(28, 7, 1999, 4, 5, 59, 0));
    c.f() = u"not a date"_w;
    EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c.f()).GetDateTime(), 1.0);
}

TEST(StringField, WritesValuesAsTextAndReportsThem) {
    OneCell c(IField::String);
    Recorder rec(*c.ds);
    c.f() = 255;
    EXPECT_EQ(static_cast<wstring>(c.f()), u"255"_w);
    c.f() = short(-2);
    EXPECT_EQ(static_cast<wstring>(c.f()), u"-2"_w);
    c.f() = int64(-9000000000LL);
    EXPECT_EQ(static_cast<wstring>(c.f()), u"-9000000000"_w);
    c.f() = 1.5;
    EXPECT_EQ(static_cast<wstring>(c.f()), u"1.5"_w);
    c.f() = 0.25f;
    EXPECT_EQ(static_cast<wstring>(c.f()), u"0.25"_w);
    c.f() = true;
    EXPECT_EQ(static_cast<wstring>(c.f()), u"true"_w);
    c.f() = tdatetime(28, 7, 1999, 4, 5, 59, 0);
    EXPECT_EQ(static_cast<wstring>(c.f()), u"07/28/1999 04:05:59"_w);
    ttimeinterval interval;
    interval.SetTime(1.5);
    c.f() = interval;
    EXPECT_EQ(static_cast<wstring>(c.f()), u"1 days, 12 hours, 0 minutes, 0 seconds, 0 milliseconds"_w);
    c.f() = tdatetimeinterval(3, 2, 1);
    EXPECT_EQ(static_cast<wstring>(c.f()),
              u"1 years, 2 months, 3 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds"_w);
    EXPECT_EQ(rec.notices.size(), 9u);
    c.f() = u"quiet"_w;
    EXPECT_EQ(rec.notices.size(), 9u);
}

TEST(StringField, ComparesTextsCodeUnitByCodeUnit) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::String);
    ds->AddField(u"b"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = u"B"_w;
    c[1] = 5;
    EXPECT_FALSE(c[0] < c[1]);  // "B" sorts after "5"
    c[0] = u"1"_w;
    EXPECT_TRUE(c[0] < c[1]);
}

TEST(StringField, FreesTextWithTheCountItWasAllocatedWith) {
    auto ds = MakeDataSet();
    ds->AddField(u"s"_w, IField::String);
    IDataSet::Cursor keep = ds->CreateCursor();
    ds->Append(keep);
    keep[0] = u"keeps the pool block in use"_w;
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = u"hello"_w;
    c[0] = u"world"_w;
    c[0] = u"x"_w;
    const wchar *text = *static_cast<wchar *const *>(c[0].GetData());
    ds->Erase(c);  // the newest piece goes back, so the pool rewinds to it
    ds->Append(c);
    c[0] = u"q"_w;
    EXPECT_EQ(*static_cast<wchar *const *>(c[0].GetData()), text);
    EXPECT_EQ(static_cast<wstring>(keep[0]), u"keeps the pool block in use"_w);
}

TEST(StringField, LongTextIsCutToFitOnePoolBlock) {
    OneCell c(IField::String);
    const wstring text(20000, 'a');
    c.f() = text;
    EXPECT_EQ(static_cast<wstring>(c.f()).size(), 13333u);
    const wstring fits(100, 'b');
    c.f() = fits;
    EXPECT_EQ(static_cast<wstring>(c.f()), fits);
}

TEST(StringField, RawWritesCopyTheText) {
    OneCell c(IField::String);
    Recorder rec(*c.ds);
    wstring source = u"raw"_w;
    c.f().SetData(source.data());
    source[0] = 'X';
    EXPECT_EQ(static_cast<wstring>(c.f()), u"raw"_w);
    auto &field = dynamic_cast<CStringMemField &>(c.f());
    field = static_cast<void *>(source.data());
    EXPECT_EQ(static_cast<wstring>(c.f()), u"Xaw"_w);
    EXPECT_EQ(rec.notices.size(), 2u);
}

TEST(BlobField, ReadsAndWritesTheCallersBlock) {
    OneCell c(IField::BLOB);
    EXPECT_EQ(c.f().GetData(), nullptr);
    EXPECT_EQ(static_cast<int>(c.f()), 0);
    c.f() = 7;  // no block: ignored
    alignas(8) unsigned char block[16] = {};
    c.f().SetData(block);
    EXPECT_EQ(c.f().GetData(), block);
    c.f() = 0x01020304;
    EXPECT_EQ(static_cast<int>(c.f()), 0x01020304);
    c.f() = 2.5;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 2.5);
    c.f() = tdatetimeinterval(2, 3, 0);
    EXPECT_EQ(static_cast<tdatetimeinterval>(c.f()), tdatetimeinterval(2, 3, 0));
    c.f() = true;
    EXPECT_TRUE(static_cast<bool>(c.f()));
}

TEST(BlobField, TextAssignmentStoresThePointerAndTextReadsIt) {
    OneCell c(IField::BLOB);
    Recorder rec(*c.ds);
    const wstring text = u"blob text"_w;
    c.f() = text.c_str();
    EXPECT_EQ(c.f().GetData(), text.c_str());
    EXPECT_EQ(static_cast<wstring>(c.f()), text);
    EXPECT_TRUE(rec.notices.empty());
}

TEST(DateTimeField, ZeroBecomesDayOneAndNegativeThrows) {
    OneCell c(IField::DateTime);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 1.0);
    c.f() = 0;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 1.0);
    c.f() = 730120.75;
    EXPECT_THROW(c.f() = -1, bad_datetime);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 730120.75);
    EXPECT_EQ(static_cast<int>(c.f()), 730120);
    EXPECT_TRUE(static_cast<bool>(c.f()));
    EXPECT_DOUBLE_EQ(static_cast<ttimeinterval>(c.f()).GetTime(), 730120.75);
    c.f() = true;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 1.0);
}

TEST(DateTimeField, ConvertsCalendarIntervalsByTheirParts) {
    OneCell c(IField::DateTime);
    c.f() = tdatetimeinterval(15, 6, 2000, 12, 0, 0, 0);
    EXPECT_EQ(static_cast<tdatetime>(c.f()), tdatetime(15, 6, 2000, 12, 0, 0, 0));
    const tdatetimeinterval read = c.f();  // the day number 730286.5 split by 30.6
    EXPECT_EQ(read.GetMonths(), 23865);
    EXPECT_NEAR(read.GetDays(), 730286.5 - 23865 * 30.6, 1e-6);
    OneCell s(IField::DateTimeInterval);
    s.f() = tdatetime(15, 6, 2000, 12, 0, 0, 0);
    EXPECT_EQ(static_cast<tdatetimeinterval>(s.f()), tdatetimeinterval(15, 6, 2000, 12, 0, 0, 0));
    EXPECT_EQ(static_cast<tdatetime>(s.f()), tdatetime(15, 6, 2000, 12, 0, 0, 0));
}

TEST(DateTimeField, TextRoundTripsAndBadTextChangesNothing) {
    OneCell c(IField::DateTime);
    Recorder rec(*c.ds);
    c.f() = u"07/28/1999 04:05:59"_w;
    EXPECT_EQ(static_cast<tdatetime>(c.f()), tdatetime(28, 7, 1999, 4, 5, 59, 0));
    EXPECT_EQ(static_cast<wstring>(c.f()), u"07/28/1999 04:05:59"_w);
    c.f() = u"31.12.1999"_w;
    EXPECT_EQ(static_cast<tdatetime>(c.f()), tdatetime(28, 7, 1999, 4, 5, 59, 0));
    EXPECT_EQ(rec.notices.size(), 1u);
}

TEST(TimeIntervalField, StoresNumbersUncheckedAndReadsThemAsDates) {
    OneCell c(IField::TimeInterval);
    c.f() = -2.5;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), -2.5);
    EXPECT_THROW((void)static_cast<tdatetime>(c.f()), bad_datetime);
    c.f() = 0;
    EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c.f()).GetDateTime(), 1.0);
    c.f() = 45.9;
    const tdatetimeinterval span = c.f();
    EXPECT_EQ(span.GetMonths(), 1);
    EXPECT_NEAR(span.GetDays(), 15.3, 1e-9);
    c.f() = u"2 days, 6 hours, 0 minutes, 0 seconds, 0 milliseconds"_w;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 2.25);
    EXPECT_EQ(static_cast<wstring>(c.f()), u"2 days, 6 hours, 0 minutes, 0 seconds, 0 milliseconds"_w);
}

TEST(DateTimeIntervalField, SplitsNumbersByThirtyPointSix) {
    OneCell c(IField::DateTimeInterval);
    c.f() = 45.9;
    const tdatetimeinterval span = c.f();
    EXPECT_EQ(span.GetMonths(), 1);
    EXPECT_NEAR(span.GetDays(), 15.3, 1e-9);
    EXPECT_NEAR(static_cast<double>(c.f()), 45.9, 1e-9);
    EXPECT_NEAR(static_cast<ttimeinterval>(c.f()).GetTime(), 45.9, 1e-9);
    EXPECT_EQ(static_cast<int>(c.f()), 45);
    ttimeinterval interval;
    interval.SetTime(61.2);
    c.f() = interval;
    EXPECT_EQ(static_cast<tdatetimeinterval>(c.f()).GetMonths(), 2);
    c.f() = u"0 years, 1 months, 2 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds"_w;
    EXPECT_EQ(static_cast<tdatetimeinterval>(c.f()), tdatetimeinterval(2, 1, 0));
}

TEST(DateTimeFields, CompareAfterConvertingTheOtherField) {
    auto ds = MakeDataSet();
    ds->AddField(u"d"_w, IField::DateTime);
    ds->AddField(u"n"_w, IField::Double);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = 10.0;
    c[1] = 11.0;
    EXPECT_TRUE(c[0] < c[1]);
    EXPECT_FALSE(c[1] < c[0]);
}

TEST(DateTimeFields, NewRecordsStartAtTheTypesDefaults) {
    auto ds = MakeDataSet();
    ds->AddField(u"d"_w, IField::DateTime);
    ds->AddField(u"t"_w, IField::TimeInterval);
    ds->AddField(u"s"_w, IField::DateTimeInterval);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c[0]).GetDateTime(), 1.0);
    EXPECT_DOUBLE_EQ(static_cast<ttimeinterval>(c[1]).GetTime(), 0.0);
    EXPECT_EQ(static_cast<tdatetimeinterval>(c[2]), tdatetimeinterval());
}

}  // namespace
}  // namespace quelt

namespace quelt {
namespace {

// Every number kind read as every type after writing 7 and -2.5.
TEST(ConversionTable, NumberKindsReadAsEveryType) {
    for (IField::Types type :
         {IField::Bool, IField::Short, IField::Int, IField::Int64, IField::Float, IField::Double}) {
        OneCell c(type);
        c.f() = 7;
        const int expected = type == IField::Bool ? 1 : 7;
        EXPECT_TRUE(static_cast<bool>(c.f())) << type;
        EXPECT_EQ(static_cast<short>(c.f()), expected) << type;
        EXPECT_EQ(static_cast<int>(c.f()), expected) << type;
        EXPECT_EQ(static_cast<int64>(c.f()), expected) << type;
        EXPECT_FLOAT_EQ(static_cast<float>(c.f()), static_cast<float>(expected)) << type;
        EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), expected) << type;
        EXPECT_DOUBLE_EQ(static_cast<tdatetime>(c.f()).GetDateTime(), expected) << type;
        EXPECT_DOUBLE_EQ(static_cast<ttimeinterval>(c.f()).GetTime(), expected) << type;
        EXPECT_NEAR(static_cast<tdatetimeinterval>(c.f()).GetDays(), expected, 1e-12) << type;
        c.f() = -2.5;
        const double real =
            type == IField::Float || type == IField::Double ? -2.5 : (type == IField::Bool ? 1 : -2);
        EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), real) << type;
        EXPECT_EQ(static_cast<int>(c.f()), type == IField::Bool ? 1 : -2) << type;
        c.f() = int64(3);
        c.f() = short(4);
        EXPECT_EQ(static_cast<int>(c.f()), type == IField::Bool ? 1 : 4) << type;
        c.f() = false;
        EXPECT_EQ(static_cast<int>(c.f()), 0) << type;
    }
}

TEST(ConversionTable, BlobReadsTheBlockAsEveryType) {
    OneCell c(IField::BLOB);
    alignas(16) unsigned char block[16] = {};
    c.f().SetData(block);
    c.f() = short(-2);
    EXPECT_EQ(static_cast<short>(c.f()), -2);
    c.f() = int64(1) << 40;
    EXPECT_EQ(static_cast<int64>(c.f()), int64(1) << 40);
    c.f() = 1.5f;
    EXPECT_FLOAT_EQ(static_cast<float>(c.f()), 1.5f);
    tdatetime date(1, 1, 2000);
    c.f() = date;
    EXPECT_EQ(static_cast<tdatetime>(c.f()), date);
    ttimeinterval interval;
    interval.SetTime(2.25);
    c.f() = interval;
    EXPECT_EQ(static_cast<ttimeinterval>(c.f()), interval);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.f()), 2.25);
    OneCell other(IField::BLOB);
    other.f() = c.f();
    EXPECT_EQ(other.f().GetData(), block);
    EXPECT_FALSE(c.f() < other.f());
}

TEST(ConversionTable, DateTimeKindsReadAndWriteEveryType) {
    OneCell d(IField::DateTime);
    d.f() = 730120.75f;
    EXPECT_FLOAT_EQ(static_cast<float>(d.f()), 730120.75f);
    d.f() = int64(730121);
    EXPECT_EQ(static_cast<int64>(d.f()), 730121);
    d.f() = short(12);
    EXPECT_EQ(static_cast<short>(d.f()), 12);
    ttimeinterval interval;
    interval.SetTime(5.5);
    d.f() = interval;
    EXPECT_DOUBLE_EQ(static_cast<double>(d.f()), 5.5);
    EXPECT_EQ(static_cast<tdatetimeinterval>(d.f()).GetMonths(), 0);
    OneCell t(IField::TimeInterval);
    t.f() = tdatetime(2, 1, 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(t.f()), 2.0);
    t.f() = tdatetimeinterval(1, 1, 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(t.f()), 31.6);
    t.f() = true;
    EXPECT_TRUE(static_cast<bool>(t.f()));
    t.f() = int64(-3);
    EXPECT_EQ(static_cast<int>(t.f()), -3);
    OneCell s(IField::DateTimeInterval);
    s.f() = false;
    EXPECT_FALSE(static_cast<bool>(s.f()));
    s.f() = short(61);
    EXPECT_EQ(static_cast<tdatetimeinterval>(s.f()).GetMonths(), 1);
    s.f() = 91.8f;
    EXPECT_EQ(static_cast<tdatetimeinterval>(s.f()).GetMonths(), 3);
    s.f() = d.f();  // a date field read as an interval: its day count split by 30.6
    EXPECT_EQ(static_cast<tdatetimeinterval>(s.f()), tdatetimeinterval(5, 0, 0, 12, 0, 0, 0));
    s.f() = tdatetime(5, 1, 1, 12, 0, 0, 0);  // a date value written: by its date and time parts
    EXPECT_EQ(static_cast<tdatetimeinterval>(s.f()), tdatetimeinterval(5, 1, 1, 12, 0, 0, 0));
}

TEST(ConversionTable, FieldsCannotBeCopiedAsDataSets) {
    static_assert(!std::is_copy_constructible_v<CMemDataSet>);
    static_assert(!std::is_copy_assignable_v<CMemDataSet>);
    SUCCEED();
}

}  // namespace
}  // namespace quelt
