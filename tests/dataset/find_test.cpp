#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <typeinfo>

#include "quelt/core/exceptions.h"
#include "sort_test_util.h"

namespace quelt {
namespace {

using testing::AppendRecords;
using testing::MakeDataSet;
using testing::Mem;
using testing::SetKey;
using testing::WithValues;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

enum class Search { Key, Nearest, Next };

// Searches one data set for one Int value; -1 when FindKey fails.
class IntSearch : public ::testing::Test {
  protected:
    void Make(const std::vector<int> &values) { ds = WithValues(IField::Int, values); }
    int Find(Search how, const CQueltVariant &value, bool descending = false) {
        CMemDataSet &mem = Mem(ds);
        mem.ClearFindFields();
        mem.AddFindField(0, value, descending, false);
        IDataSet::Cursor c = ds->CreateCursor();
        const bool found = how == Search::Key       ? mem.FindKey(c)
                           : how == Search::Nearest ? mem.FindNearest(c)
                                                    : mem.FindNext(c);
        if (!found) return -1;
        EXPECT_TRUE(c.IsValid());
        return static_cast<int>(static_cast<CMemDataSet::CMemCursor *>(c.icursor())->GetIterator());
    }
    testing::DataSetPtr ds;
};

TEST_F(IntSearch, RunsOfEqualKeys) {
    Make({1, 3, 3, 5});
    EXPECT_EQ(Find(Search::Key, 3), 1);
    EXPECT_EQ(Find(Search::Nearest, 3), 1);
    EXPECT_EQ(Find(Search::Next, 3), 3);
    EXPECT_EQ(Find(Search::Key, 4), -1);
    EXPECT_EQ(Find(Search::Nearest, 4), 3);
    EXPECT_EQ(Find(Search::Nearest, 9), 3);  // beyond the end: the last record
}

TEST_F(IntSearch, StartMiddleEndAndBeyond) {
    Make({2, 2, 4, 4, 4, 7, 7});
    // A run at the start.
    EXPECT_EQ(Find(Search::Key, 2), 0);
    EXPECT_EQ(Find(Search::Nearest, 2), 0);
    EXPECT_EQ(Find(Search::Next, 2), 2);
    // In the middle.
    EXPECT_EQ(Find(Search::Key, 4), 2);
    EXPECT_EQ(Find(Search::Next, 4), 5);
    // At the end: the upper bound is the record count, the cursor stays on the last record.
    EXPECT_EQ(Find(Search::Key, 7), 5);
    EXPECT_EQ(Find(Search::Nearest, 7), 5);
    EXPECT_EQ(Find(Search::Next, 7), 6);
    // Before everything and beyond everything.
    EXPECT_EQ(Find(Search::Key, 1), -1);
    EXPECT_EQ(Find(Search::Nearest, 1), 0);
    EXPECT_EQ(Find(Search::Next, 1), 0);
    EXPECT_EQ(Find(Search::Key, 8), -1);
    EXPECT_EQ(Find(Search::Next, 8), 6);
    // Between runs.
    EXPECT_EQ(Find(Search::Key, 5), -1);
    EXPECT_EQ(Find(Search::Nearest, 5), 5);
    EXPECT_EQ(Find(Search::Next, 3), 2);
}

TEST_F(IntSearch, DescendingFindFieldOnDescendingRecords) {
    Make({9, 6, 6, 2});
    EXPECT_EQ(Find(Search::Key, 6, true), 1);
    EXPECT_EQ(Find(Search::Next, 6, true), 3);
    EXPECT_EQ(Find(Search::Nearest, 7, true), 1);
    EXPECT_EQ(Find(Search::Key, 7, true), -1);
    EXPECT_EQ(Find(Search::Nearest, 1, true), 3);
}

TEST_F(IntSearch, ValuesConvertToTheFieldType) {
    Make({-4, 3, 10, 16});
    EXPECT_EQ(Find(Search::Key, CQueltVariant(u"10"_w)), 2);
    EXPECT_EQ(Find(Search::Key, CQueltVariant("0x10")), 3);  // "%i" reads hexadecimal
    EXPECT_EQ(Find(Search::Key, CQueltVariant(3.9)), 1);     // truncated
    EXPECT_EQ(Find(Search::Key, CQueltVariant(int64{-4})), 0);
    EXPECT_EQ(Find(Search::Key, CQueltVariant(short{16})), 3);
}

TEST_F(IntSearch, MatchesStdBoundsOnRandomData) {
    std::vector<int> values;
    for (int i = 0; i < 400; ++i) values.push_back((i * 7919) % 97 / 3);
    std::sort(values.begin(), values.end());
    Make(values);
    for (int v = -1; v < 35; ++v) {
        const auto lower = std::lower_bound(values.begin(), values.end(), v) - values.begin();
        const auto upper = std::upper_bound(values.begin(), values.end(), v) - values.begin();
        const int last = static_cast<int>(values.size()) - 1;
        EXPECT_EQ(Find(Search::Nearest, v), std::min(static_cast<int>(lower), last)) << v;
        EXPECT_EQ(Find(Search::Next, v), std::min(static_cast<int>(upper), last)) << v;
        EXPECT_EQ(Find(Search::Key, v), lower < upper ? static_cast<int>(lower) : -1) << v;
    }
}

// Every record count from one to a few halvings deep, so the search meets every
// shape of range; each value appears twice and the gaps between them are missing.
TEST_F(IntSearch, MatchesStdBoundsAtEveryLength) {
    for (int count = 1; count <= 70; ++count) {
        std::vector<int> values;
        for (int i = 0; i < count; ++i) values.push_back(i / 2 * 2);
        Make(values);
        const int last = count - 1;
        for (int v = -1; v <= count + 1; ++v) {
            const auto lower = std::lower_bound(values.begin(), values.end(), v) - values.begin();
            const auto upper = std::upper_bound(values.begin(), values.end(), v) - values.begin();
            EXPECT_EQ(Find(Search::Nearest, v), std::min(static_cast<int>(lower), last)) << count << ' ' << v;
            EXPECT_EQ(Find(Search::Next, v), std::min(static_cast<int>(upper), last)) << count << ' ' << v;
            EXPECT_EQ(Find(Search::Key, v), lower < upper ? static_cast<int>(lower) : -1)
                << count << ' ' << v;
        }
    }
}

TEST(Find, TwoFindFieldsInTheirOwnOrder) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::String);
    ds->AddField(u"b"_w, IField::Double);
    IDataSet::Cursor c = ds->CreateCursor();
    for (const auto &row : {std::pair<wstring, double>{u"abc"_w, 3.0}, {u"ABC"_w, 1.0}, {u"abd"_w, 5.0}}) {
        ds->Append(c);
        c[0] = row.first;
        c[1] = row.second;
    }
    CMemDataSet &mem = Mem(ds);
    mem.AddFindField(0, CQueltVariant(u"aBc"_w), false, false);
    mem.AddFindField(1, CQueltVariant(1.0), true, false);  // within "abc" the doubles run down
    EXPECT_TRUE(mem.FindKey(c));
    EXPECT_EQ(static_cast<double>(c[1]), 1.0);
    mem.ClearFindFields();
    mem.AddFindField(0, CQueltVariant(u"ABD"_w), false, false);
    EXPECT_TRUE(mem.FindKey(c));
    EXPECT_TRUE(c.IsLast());
    mem.ClearFindFields();
    mem.AddFindField(0, CQueltVariant(u"ABCA"_w), false, false);
    EXPECT_FALSE(mem.FindKey(c));
    EXPECT_TRUE(mem.FindNearest(c));
    EXPECT_EQ(static_cast<double>(c[1]), 5.0);
}

TEST(Find, NaNKeysAreFoundAfterTheNumbers) {
    auto ds = WithValues(IField::Double, std::vector<double>{kNaN, 2.0, kNaN, -1.0});
    SetKey(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    CMemDataSet &mem = Mem(ds);
    IDataSet::Cursor c = ds->CreateCursor();
    mem.AddFindField(0, CQueltVariant(kNaN), false, false);
    ASSERT_TRUE(mem.FindKey(c));
    EXPECT_EQ(static_cast<CMemDataSet::CMemCursor *>(c.icursor())->GetIterator(), 2u);
    mem.ClearFindFields();
    mem.AddFindField(0, CQueltVariant(std::numeric_limits<double>::infinity()), false, false);
    EXPECT_FALSE(mem.FindKey(c));
    EXPECT_TRUE(mem.FindNearest(c));
    EXPECT_TRUE(std::isnan(static_cast<double>(c[0])));
    EXPECT_EQ(static_cast<CMemDataSet::CMemCursor *>(c.icursor())->GetIterator(), 2u);
}

TEST(Find, DateTimeAndBoolKeys) {
    auto ds = MakeDataSet();
    ds->AddField(u"d"_w, IField::DateTime);
    ds->AddField(u"f"_w, IField::Bool);
    ds->AddField(u"blob"_w, IField::BLOB);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 4; ++i) {
        ds->Append(c);
        c[0] = 1000.0 + i / 2;
        c[1] = i % 2 == 1;
    }
    CMemDataSet &mem = Mem(ds);
    tdatetime day;
    day.SetDateTime(1001.0);
    mem.AddFindField(0, CQueltVariant(day), false, false);
    mem.AddFindField(1, CQueltVariant(7), false, false);  // non-zero is true
    mem.AddFindField(2, CQueltVariant(5), false, false);  // a BLOB key never decides
    ASSERT_TRUE(mem.FindKey(c));
    EXPECT_EQ(static_cast<CMemDataSet::CMemCursor *>(c.icursor())->GetIterator(), 3u);
}

TEST(Find, UnconvertibleDateLeavesTheSearchAsItWas) {
    auto ds = WithValues(IField::DateTime, std::vector<double>{5.0, 9.0});
    CMemDataSet &mem = Mem(ds);
    mem.AddFindField(0, CQueltVariant(9.0), false, false);
    EXPECT_ANY_THROW(mem.AddFindField(0, CQueltVariant(-3.0), false, false));
    IDataSet::Cursor c = ds->CreateCursor();
    ASSERT_TRUE(mem.FindKey(c));
    EXPECT_TRUE(c.IsLast());
}

TEST(Find, CursorErrorsAndEmptyDataSets) {
    auto ds = WithValues(IField::Int, std::vector<int>{1, 2});
    CMemDataSet &mem = Mem(ds);
    mem.AddFindField(0, CQueltVariant(2), false, false);
    IDataSet::Cursor empty;
    EXPECT_THROW(mem.FindKey(empty), std::bad_cast);
    EXPECT_THROW(mem.FindNearest(empty), std::bad_cast);
    EXPECT_THROW(mem.FindNext(empty), std::bad_cast);
    auto other = WithValues(IField::Int, std::vector<int>{2});
    IDataSet::Cursor foreign = other->CreateCursor();
    EXPECT_THROW(mem.FindKey(foreign), std::bad_cast);
    mem.ClearFindFields();
    mem.AddFindField(0, CQueltVariant(5), false, false);
    EXPECT_FALSE(mem.FindKey(empty));  // not found: no position to set
    EXPECT_THROW(mem.AddFindField(3, CQueltVariant(1), false, false), FieldNotFound);
    EXPECT_THROW(mem.AddFindField(-1, CQueltVariant(1), false, false), FieldNotFound);

    auto none = MakeDataSet();
    none->AddField(u"a"_w, IField::Int);
    CMemDataSet &nothing = Mem(none);
    nothing.AddFindField(0, CQueltVariant(1), false, false);
    IDataSet::Cursor c = none->CreateCursor();
    EXPECT_FALSE(nothing.FindKey(c));
    EXPECT_TRUE(nothing.FindNearest(c));
    EXPECT_TRUE(nothing.FindNext(c));
    EXPECT_FALSE(c.IsValid());
}

TEST(Find, StorageReportsMissingKeysAsMinusOne) {
    auto ds = WithValues(IField::Int, std::vector<int>{1, 5});
    const auto &storage = Mem(ds).GetDataStorage();
    const IField::Types types[] = {IField::Int};
    const int offsets[] = {0};
    const char flags[] = {0};
    const int key = 3;
    EXPECT_EQ(storage.FindKey(types, offsets, 1, &key, flags, flags), static_cast<unsigned>(-1));
    EXPECT_EQ(storage.FindNearest(types, offsets, 1, &key, flags, flags), 1u);
    EXPECT_EQ(storage.FindNext(types, offsets, 1, &key, flags, flags), 1u);
    const int beyond = 6;
    EXPECT_EQ(storage.FindNext(types, offsets, 1, &beyond, flags, flags), 2u);
}

// The find state follows the data set

TEST(FindState, FieldListChangesClearTheFindFields) {
    auto ds = WithValues(IField::Int, std::vector<int>{1, 5});
    CMemDataSet &mem = Mem(ds);
    mem.AddFindField(0, CQueltVariant(5), false, false);
    ds->InsertField(0, u"first"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    EXPECT_TRUE(mem.FindKey(c));  // no find fields: every record matches, the first one is found
    EXPECT_TRUE(c.IsFirst());
    mem.AddFindField(1, CQueltVariant(5), false, false);
    EXPECT_TRUE(mem.FindKey(c));
    EXPECT_TRUE(c.IsLast());
}

TEST(FindState, EraseAllAndClearForgetStringKeys) {
    auto ds = WithValues(IField::String, std::vector<wstring>{u"a"_w, u"b"_w});
    CMemDataSet &mem = Mem(ds);
    mem.AddFindField(0, CQueltVariant(u"b"_w), false, true);
    ds->EraseAll();
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);  // a null cell
    ds->Append(c);
    c[0] = u"b"_w;
    IDataSet::Cursor probe = ds->CreateCursor();
    ASSERT_TRUE(mem.FindKey(probe));
    EXPECT_TRUE(probe.IsFirst());  // the key is now null, like the first record
    ds->Clear();
    EXPECT_EQ(ds->GetFieldCount(), 0u);
}

TEST(FindState, RepeatedStringSearchesReuseThePool) {
    auto ds = WithValues(IField::String, std::vector<wstring>{u"alpha"_w, u"beta"_w});
    CMemDataSet &mem = Mem(ds);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 2000; ++i) {
        mem.ClearFindFields();
        mem.AddFindField(0, CQueltVariant(wstring(100, u'b')), false, true);
        mem.AddFindField(0, CQueltVariant(u"beta"_w), false, true);
    }
    ASSERT_TRUE(mem.FindKey(c));
    EXPECT_TRUE(c.IsLast());
    EXPECT_EQ(ds->GetString(0, 0), u"alpha"_w);
}

}  // namespace
}  // namespace quelt
