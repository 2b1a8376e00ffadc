#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

#include "sort_test_util.h"

namespace quelt {
namespace {

using testing::DoubleColumn;
using testing::IntColumn;
using testing::MakeDataSet;
using testing::NaNLastOrder;
using testing::SetKey;
using testing::TextColumn;

// Field 0 is the key, field 1 names the record so moves can be followed.
testing::DataSetPtr Ordered(const std::vector<int> &keys, IField::SortType type = IField::Ascending) {
    auto ds = MakeDataSet();
    ds->AddField(u"key"_w, IField::Int);
    ds->AddField(u"id"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ds->Append(c);
        c[0] = keys[i];
        c[1] = static_cast<int>(i);
    }
    SetKey(*ds, 0, type, 0);
    ds->SetKeepOrder(true);
    return ds;
}

unsigned IndexOf(const IDataSet::Cursor &c) {
    return static_cast<CMemDataSet::CMemCursor *>(c.icursor())->GetIterator();
}

TEST(KeepOrderEdit, SetFieldValueMovesTheRecordBeforeEqualKeys) {
    auto ds = Ordered({1, 3, 5, 7});
    unsigned r = 0;
    ds->SetFieldValue(0, r, 6);
    EXPECT_EQ(r, 2u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{3, 5, 6, 7}));
    r = 3;
    ds->SetFieldValue(0, r, 5);  // joins the run of 5s at its front
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(IntColumn(*ds, 1), (std::vector<int>{1, 3, 2, 0}));
    r = 0;
    ds->SetFieldValue(0, r, 100);
    EXPECT_EQ(r, 3u);
}

TEST(KeepOrderEdit, OtherFieldsAndKeepOrderOffLeaveTheRecord) {
    auto ds = Ordered({1, 3, 5});
    unsigned r = 0;
    ds->SetFieldValue(1, r, 99);
    EXPECT_EQ(r, 0u);
    ds->SetKeepOrder(false);
    ds->SetFieldValue(0, r, 9);
    EXPECT_EQ(r, 0u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{9, 3, 5}));
}

TEST(KeepOrderEdit, DescendingKeysAndNaN) {
    auto ds = Ordered({7, 5, 3}, IField::Descending);
    unsigned r = 2;
    ds->SetFieldValue(0, r, 6);
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{7, 6, 5}));

    auto real = testing::WithValues(IField::Double, std::vector<double>{1.0, 2.0, 3.0});
    SetKey(*real, 0, IField::Ascending, 0);
    real->SetKeepOrder(true);
    r = 0;
    real->SetFieldValue(0, r, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(r, 2u);
    r = 0;
    real->SetFieldValue(0, r, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(r, 1u);  // before the NaN already there
    EXPECT_TRUE(NaNLastOrder(DoubleColumn(*real)));
    SetKey(*real, 0, IField::Descending, 0);
    real->Sort();
    r = 2;
    real->SetFieldValue(0, r, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(r, 0u);
}

TEST(KeepOrderEdit, CaseInsensitiveStringKey) {
    auto ds = testing::WithValues(IField::String, std::vector<wstring>{u"apple"_w, u"Cherry"_w, u"date"_w});
    SetKey(*ds, 0, IField::Ascending, 0);
    ds->SetKeepOrder(true);
    unsigned r = 2;
    ds->SetFieldValue(0, r, u"Banana"_w);
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(TextColumn(*ds), (std::vector<wstring>{u"apple"_w, u"Banana"_w, u"Cherry"_w}));
}

TEST(KeepOrderEdit, SecondKeyOrdersTies) {
    auto ds = Ordered({1, 1, 2});
    SetKey(*ds, 1, IField::Descending, 1);
    ds->Sort();
    EXPECT_EQ(IntColumn(*ds, 1), (std::vector<int>{1, 0, 2}));
    unsigned r = 1;
    ds->SetFieldValue(1, r, 5);  // a key: the record goes to the front of the 1s
    EXPECT_EQ(r, 0u);
    EXPECT_EQ(IntColumn(*ds, 1), (std::vector<int>{5, 1, 2}));
}

TEST(KeepOrderEdit, RandomEditsKeepTheRecordsSorted) {
    std::vector<int> start(300);
    std::iota(start.begin(), start.end(), 0);
    auto ds = Ordered(start);
    std::mt19937 random(11);
    for (int i = 0; i < 500; ++i) {
        unsigned r = static_cast<unsigned>(random() % 300);
        const int value = static_cast<int>(random() % 50);
        ds->SetFieldValue(0, r, value);
        ASSERT_EQ(ds->GetNumeric(0, r), value);
        const std::vector<int> keys = IntColumn(*ds);
        ASSERT_TRUE(std::is_sorted(keys.begin(), keys.end()));
        ASSERT_TRUE(r == 0 || keys[r - 1] < value);
    }
}

TEST(KeepOrderInsert, NewRecordLandsAtItsKeyAndCursorsShift) {
    auto ds = Ordered({-5, 2, 4});
    IDataSet::Cursor at = ds->CreateCursor();
    at += 2;
    IDataSet::Cursor onFour = ds->CreateCursor();
    onFour += 2;
    IDataSet::Cursor onMinus = ds->CreateCursor();
    ds->Insert(at);
    EXPECT_EQ(IndexOf(at), 1u);
    EXPECT_EQ(static_cast<int>(at[0]), 0);
    EXPECT_EQ(static_cast<int>(onFour[0]), 4);
    EXPECT_EQ(IndexOf(onFour), 3u);
    EXPECT_EQ(static_cast<int>(onMinus[0]), -5);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{-5, 0, 2, 4}));
}

TEST(KeepOrderInsert, AppendShiftsTheCursorsAfterThePlace) {
    auto ds = Ordered({-5, 2, 4});
    IDataSet::Cursor onTwo = ds->CreateCursor();
    ++onTwo;
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    EXPECT_EQ(IndexOf(c), 1u);
    EXPECT_EQ(IndexOf(onTwo), 2u);
    EXPECT_EQ(static_cast<int>(onTwo[0]), 2);
    auto positive = Ordered({2, 4});
    IDataSet::Cursor first = positive->CreateCursor();
    IDataSet::Cursor appended = positive->CreateCursor();
    positive->Append(appended);
    EXPECT_EQ(IndexOf(appended), 0u);
    EXPECT_EQ(static_cast<int>(first[0]), 2);
}

TEST(KeepOrderInsert, WithKeepOrderOffNewRecordsStayWhereTheyArePut) {
    auto ds = Ordered({-5, 2, 4});
    ds->SetKeepOrder(false);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    EXPECT_EQ(IndexOf(c), 3u);
    c -= 3;
    ds->Insert(c);
    EXPECT_EQ(IndexOf(c), 0u);
    EXPECT_EQ(IntColumn(*ds, 1), (std::vector<int>{0, 0, 1, 2, 0}));
}

TEST(KeepOrderMove, MoveReturnsTheFinalPlace) {
    auto ds = Ordered({1, 3, 5, 7});
    EXPECT_EQ(ds->Move(3, 0), 3u);
    EXPECT_EQ(IntColumn(*ds, 1), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(ds->Move(0, 2), 0u);
    ds->SetKeepOrder(false);
    EXPECT_EQ(ds->Move(0, 2), 2u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{3, 5, 1, 7}));
}

}  // namespace
}  // namespace quelt
