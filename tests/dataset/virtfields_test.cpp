#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "dataset_test_util.h"
#include "quelt/dataset/virtfields.h"
#include "quelt/datetime/exceptions.h"

namespace quelt {
namespace {

using testing::Recorder;

std::unique_ptr<CVirtFieldBase> Make(IField::Types type, IMemDataSet *owner = nullptr) {
    return std::unique_ptr<CVirtFieldBase>(MakeField(u"f"_w, type, owner));
}

tdatetime Date(double days) {
    tdatetime value;
    value.SetDateTime(days);
    return value;
}

ttimeinterval Interval(double days) {
    ttimeinterval value;
    value.SetTime(days);
    return value;
}

std::string Text(IField &field) { return WideToUtf8(static_cast<wstring>(field)); }

// Making fields

TEST(VirtualFieldMake, EveryTypeGetsItsClassCodeAndSize) {
    const int sizes[] = {static_cast<int>(sizeof(void *)), 1, 2, 4, 8, 4, 8, 16, 8, 8, 16};
    for (int type = IField::BLOB; type <= IField::DateTimeInterval; ++type) {
        auto field = Make(static_cast<IField::Types>(type));
        EXPECT_EQ(field->GetType(), type);
        EXPECT_EQ(field->GetSize(), sizes[type]) << type;
        EXPECT_EQ(field->GetName(), u"f"_w);
    }
    EXPECT_NE(dynamic_cast<CIntVirtField *>(Make(IField::Int).get()), nullptr);
    EXPECT_NE(dynamic_cast<CBLOBVirtField *>(Make(IField::BLOB).get()), nullptr);
    EXPECT_NE(dynamic_cast<CDateTimeIntervalVirtField *>(Make(IField::DateTimeInterval).get()), nullptr);
}

TEST(VirtualFieldMake, TypeOutsideTheTableThrows) {
    EXPECT_THROW(MakeField(u"x"_w, static_cast<IField::Types>(11), nullptr), std::invalid_argument);
    EXPECT_THROW(MakeField(u"x"_w, static_cast<IField::Types>(-1), nullptr), std::invalid_argument);
}

TEST(VirtualFieldMake, NewFieldIsUnsortedWithSortIndexZero) {
    auto field = Make(IField::Int);
    EXPECT_EQ(field->GetSortType(), IField::NotSorted);
    EXPECT_EQ(field->GetSortIndex(), 0);
    EXPECT_FALSE(field->IsSortCaseSensitive());
    EXPECT_EQ(field->GetData(), nullptr);
    EXPECT_EQ(static_cast<double>(*Make(IField::DateTime)), 1.0);
}

TEST(VirtualFieldMake, CloneCopiesValueFormatAndSortAttributes) {
    auto field = Make(IField::Int);
    *field = 255;
    field->SetFormat(u"h"_w);
    field->SetSortType(IField::Descending);
    field->SetSortIndex(3);
    field->SetIsSortCaseSensitive(true);
    std::unique_ptr<CVirtFieldBase> copy(field->clone());
    EXPECT_EQ(Text(*copy), "0xFF");
    EXPECT_EQ(copy->GetSortType(), IField::Descending);
    EXPECT_EQ(copy->GetSortIndex(), 3);
    EXPECT_TRUE(copy->IsSortCaseSensitive());
    *copy = 1;
    EXPECT_EQ(static_cast<int>(*field), 255);
}

// Loading from variants

TEST(VirtualFieldLoad, IntFromTextFollowsTheScanRules) {
    auto field = Make(IField::Int);
    field->Load(CQueltVariant(u"010"_w));
    EXPECT_EQ(static_cast<int>(*field), 8);
    field->Load(CQueltVariant(u"0x1F"_w));
    EXPECT_EQ(static_cast<int>(*field), 31);
    field->Load(CQueltVariant(u"abc"_w));
    EXPECT_EQ(static_cast<int>(*field), 0);
}

TEST(VirtualFieldLoad, DateTimeFromDayCounts) {
    auto field = Make(IField::DateTime);
    field->Load(CQueltVariant(0.0));
    EXPECT_EQ(static_cast<tdatetime>(*field).GetDateTime(), 1.0);
    field->Load(CQueltVariant(730120.25));
    EXPECT_EQ(static_cast<double>(*field), 730120.25);
    EXPECT_THROW(field->Load(CQueltVariant(-1.0)), bad_datetime);
}

TEST(VirtualFieldLoad, TextNeverBecomesADate) {
    auto field = Make(IField::DateTime);
    field->Load(CQueltVariant(3.0));
    *field = u"07/28/1999 04:05:59"_w;
    EXPECT_EQ(static_cast<double>(*field), 1.0);
    auto span = Make(IField::DateTimeInterval);
    *span = u"5"_w;
    EXPECT_EQ(static_cast<tdatetimeinterval>(*span).GetMonths(), 0);
}

TEST(VirtualFieldLoad, CalendarIntervalSplitsTheTotalDays) {
    auto field = Make(IField::DateTimeInterval);
    field->Load(CQueltVariant(45.9));
    const tdatetimeinterval value = *field;
    EXPECT_EQ(value.GetMonths(), 1);
    EXPECT_NEAR(value.GetDays(), 15.3, 1e-9);
    EXPECT_NEAR(static_cast<double>(*field), 45.9, 1e-9);
}

TEST(VirtualFieldLoad, UnconvertibleVariantGivesTheDefault) {
    auto number = Make(IField::Double);
    number->Load(CQueltVariant::FromPointer(nullptr));
    EXPECT_EQ(static_cast<double>(*number), 0.0);
    auto interval = Make(IField::TimeInterval);
    interval->Load(CQueltVariant(u"12:00"_w));
    EXPECT_EQ(static_cast<double>(*interval), 0.0);
}

TEST(VirtualFieldLoad, LoadingReportsNothingButVariantAssignmentDoes) {
    auto owner = testing::MakeDataSet();
    Recorder recorder(*owner);
    auto field = Make(IField::Int, owner.get());
    field->Load(CQueltVariant(4));
    EXPECT_TRUE(recorder.notices.empty());
    *field = CQueltVariant(5);
    ASSERT_EQ(recorder.Names(), std::vector<std::string>{"UpdateField"});
    EXPECT_EQ(recorder.notices[0].field, field.get());
    EXPECT_EQ(static_cast<int>(*field), 5);
}

TEST(VirtualFieldLoad, HostVariantWithoutFormatRendersUnderTheField) {
    auto field = Make(IField::String);
    field->SetFormat(u"h"_w);
    field->Load(CQueltVariant(255));
    EXPECT_EQ(Text(*field), "0xFF");
    CQueltVariant own(255);
    own.SetFormat(u"d"_w);
    field->Load(own);
    EXPECT_EQ(Text(*field), "255");
}

// Formats and text

TEST(VirtualFieldText, IntRendersUnderItsFormat) {
    auto field = Make(IField::Int);
    *field = 5;
    field->SetFormat(u"%"_w);
    EXPECT_EQ(Text(*field), "500%");
    *field = 255;
    field->SetFormat(u"h"_w);
    EXPECT_EQ(Text(*field), "0xFF");
    field->SetFormat(u"x"_w);
    EXPECT_EQ(field->GetFormat(), u"h"_w);
    field->SetFormat(u"d2"_w);
    EXPECT_EQ(field->GetFormat(), u"h"_w);
    field->SetFormat(wstring());
    EXPECT_EQ(Text(*field), "255");
}

TEST(VirtualFieldText, StringAssignedAnIntUnderFormatH) {
    auto field = Make(IField::String);
    field->SetFormat(u"h"_w);
    *field = 255;
    EXPECT_EQ(Text(*field), "0xFF");
}

TEST(VirtualFieldText, BoolAndRealsRender) {
    auto flag = Make(IField::Bool);
    *flag = 3;
    EXPECT_EQ(Text(*flag), "true");
    *flag = u"0"_w;
    EXPECT_EQ(Text(*flag), "false");
    *flag = u"true"_w;
    EXPECT_TRUE(static_cast<bool>(*flag));
    auto real = Make(IField::Double);
    real->SetFormat(u"d.3"_w);
    *real = 2.5;
    EXPECT_EQ(Text(*real), "2.500");
}

TEST(VirtualFieldText, TextIsParsedIntoNumbers) {
    auto field = Make(IField::Double);
    *field = u"1.25"_w;
    EXPECT_EQ(static_cast<double>(*field), 1.25);
    auto whole = Make(IField::Int64);
    *whole = u"-9000000000"_w;
    EXPECT_EQ(static_cast<int64>(*whole), -9000000000LL);
}

// Writes and comparisons

TEST(VirtualFieldWrite, TypedWritesConvertThroughTheVariant) {
    auto field = Make(IField::Short);
    *field = 70000;
    EXPECT_EQ(static_cast<short>(*field), 32767);
    *field = -2.9;
    EXPECT_EQ(static_cast<int>(*field), -2);
    *field = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(static_cast<int>(*field), 0);
    auto date = Make(IField::DateTime);
    *date = Interval(5.5);
    EXPECT_EQ(static_cast<double>(*date), 5.5);
    EXPECT_THROW(*date = -1.0, bad_datetime);
}

TEST(VirtualFieldWrite, WritesReportToTheOwner) {
    auto owner = testing::MakeDataSet();
    Recorder recorder(*owner);
    auto field = Make(IField::Int, owner.get());
    *field = 1;
    *field = 2.0;
    *field = u"3"_w;
    int raw = 4;
    field->SetData(&raw);
    EXPECT_EQ(recorder.notices.size(), 4u);
    EXPECT_EQ(static_cast<int>(*field), 4);
}

TEST(VirtualFieldWrite, FieldAssignmentSkipsAnEqualValue) {
    auto owner = testing::MakeDataSet();
    Recorder recorder(*owner);
    auto a = Make(IField::Int, owner.get());
    auto b = Make(IField::Int);
    auto text = Make(IField::String);
    *b = 7;
    *a = 7;
    recorder.Reset();
    *a = static_cast<const IField &>(*b);
    EXPECT_TRUE(recorder.notices.empty());
    *text = u"12"_w;
    *a = static_cast<const IField &>(*text);
    EXPECT_EQ(static_cast<int>(*a), 12);
    EXPECT_EQ(recorder.notices.size(), 1u);
}

TEST(VirtualFieldWrite, StringSetDataReadsWideText) {
    auto field = Make(IField::String);
    const wstring text = u"hello"_w;
    field->SetData(const_cast<wchar *>(text.c_str()));
    EXPECT_EQ(Text(*field), "hello");
    field->SetData(nullptr);
    EXPECT_EQ(Text(*field), "");
}

TEST(VirtualFieldWrite, LessComparesInTheFieldsType) {
    auto a = Make(IField::Int);
    auto b = Make(IField::String);
    *a = 9;
    *b = u"10"_w;
    EXPECT_TRUE(*a < *b);
    auto s = Make(IField::String);
    *s = u"abc"_w;
    EXPECT_FALSE(*s < *b);
    *b = u"abd"_w;
    EXPECT_TRUE(*s < *b);
}

// BLOB

TEST(VirtualFieldBlob, ReadsAndWritesThroughThePointer) {
    auto field = Make(IField::BLOB);
    EXPECT_EQ(static_cast<int>(*field), 0);
    *field = 5;
    unsigned char block[16] = {};
    field->SetData(block);
    *field = 0x01020304;
    EXPECT_EQ(static_cast<int>(*field), 0x01020304);
    *field = 2.5;
    EXPECT_EQ(static_cast<double>(*field), 2.5);
    EXPECT_EQ(field->GetData(), block);
}

TEST(VirtualFieldBlob, VariantCodeTenSetsThePointerAnyOtherClearsIt) {
    auto field = Make(IField::BLOB);
    int value = 42;
    field->Load(CQueltVariant::FromPointer(&value));
    EXPECT_EQ(static_cast<int>(*field), 42);
    field->Load(CQueltVariant(1));
    EXPECT_EQ(field->GetData(), nullptr);
}

TEST(VirtualFieldBlob, InitTakesThePointerStoredAtTheAddress) {
    auto field = Make(IField::BLOB);
    const wstring text = u"blob"_w;
    const wchar *pointer = text.c_str();
    unsigned char *address = reinterpret_cast<unsigned char *>(&pointer);
    EXPECT_EQ(field->Init(address), address + sizeof(void *));
    EXPECT_EQ(Text(*field), "blob");
    EXPECT_EQ(Make(IField::Int)->Init(nullptr), nullptr);
}

// Streams

TEST(VirtualFieldStream, ValuesSurviveTheirStreamForm) {
    auto i64 = Make(IField::Int64);
    *i64 = static_cast<int64>(0x80000001LL + (5LL << 32));
    auto text = Make(IField::String);
    *text = u"two words \u00e9"_w;
    auto real = Make(IField::Double);
    *real = 0.1;
    auto date = Make(IField::DateTime);
    *date = Date(730120.25);
    std::stringstream stream;
    i64->put(stream) << ' ';
    text->put(stream) << ' ';
    real->put(stream) << ' ';
    date->put(stream);
    auto i64b = Make(IField::Int64), textb = Make(IField::String), realb = Make(IField::Double),
         dateb = Make(IField::DateTime);
    i64b->get(stream);
    stream.get();
    textb->get(stream);
    realb->get(stream);
    dateb->get(stream);
    ASSERT_FALSE(stream.fail());
    EXPECT_EQ(static_cast<int64>(*i64b), static_cast<int64>(*i64));
    EXPECT_EQ(static_cast<wstring>(*textb), static_cast<wstring>(*text));
    EXPECT_EQ(static_cast<double>(*realb), 0.1);
    EXPECT_EQ(static_cast<double>(*dateb), 730120.25);
}

TEST(VirtualFieldStream, DateReadRefusesNegativeAndTurnsZeroIntoOne) {
    auto date = Make(IField::DateTime);
    std::istringstream zero("0");
    date->get(zero);
    EXPECT_EQ(static_cast<double>(*date), 1.0);
    std::istringstream negative("-2");
    EXPECT_THROW(date->get(negative), bad_datetime);
}

}  // namespace
}  // namespace quelt
