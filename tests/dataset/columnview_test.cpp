#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "dataset_test_util.h"
#include "quelt/dataset/columnview.h"
#include "quelt/dataset/fastwriter.h"
#include "quelt/dataset/keydataset.h"

namespace quelt {
namespace {

using Cursor = IDataSet::Cursor;

// i, 1.5 * i, the date i days after the first, "t<i>" and i as a short, written through the fast writer.
class Views : public ::testing::Test {
  protected:
    void SetUp() override {
        ds.AddField(u"i"_w, IField::Int);
        ds.AddField(u"d"_w, IField::Double);
        ds.AddField(u"t"_w, IField::DateTime);
        ds.AddField(u"s"_w, IField::String);
        ds.AddField(u"h"_w, IField::Short);
        IFastWriter *writer = ds.CreateFastWriter();
        for (int i = 0; i < 300; ++i) {
            writer->AddRecord();
            writer->SetField(0, i);
            writer->SetField(1, 1.5 * i);
            tdatetime date;
            date.SetDateTime(1000.0 + i);
            writer->SetField(2, date);
            if (i % 7 != 0) writer->SetField(3, Utf8ToWide("t" + std::to_string(i)).c_str());
            writer->SetField(4, static_cast<short>(-i));
        }
        ds.DeleteFastWriter(writer);
    }

    CMemDataSet ds;
};

TEST_F(Views, ReadEveryTypeLikeTheFields) {
    const ColumnView<int> ints(ds, 0);
    const ColumnView<double> reals(ds, 1);
    const ColumnView<tdatetime> dates(ds, 2);
    const ColumnView<wstring_view> texts(ds, 3);
    const ColumnView<short> shorts(ds, 4);
    ASSERT_EQ(ints.size(), 300u);
    ASSERT_TRUE(ints.IsAttached());
    for (unsigned r = 0; r < 300; ++r) {
        EXPECT_EQ(ints[r], static_cast<int>(ds.GetNumeric(0, r)));
        EXPECT_EQ(reals[r], ds.GetNumeric(1, r));
        EXPECT_EQ(dates[r], ds.GetDateTime(2, r));
        EXPECT_EQ(wstring(texts[r]), ds.GetString(3, r));
        EXPECT_EQ(shorts[r], -static_cast<int>(r));
    }
    EXPECT_TRUE(texts[0].empty());
}

TEST_F(Views, WorkWithStandardAlgorithms) {
    const ColumnView<int> ints(ds, 0);
    const ColumnView<double> reals(ds, 1);
    EXPECT_EQ(std::accumulate(ints.begin(), ints.end(), 0), 299 * 300 / 2);
    EXPECT_DOUBLE_EQ(std::accumulate(reals.begin(), reals.end(), 0.0), 1.5 * 299 * 300 / 2);
    EXPECT_EQ(*std::max_element(reals.begin(), reals.end()), 1.5 * 299);
    EXPECT_EQ(std::min_element(ints.begin(), ints.end()) - ints.begin(), 0);
    EXPECT_EQ(std::count_if(ints.begin(), ints.end(), [](int v) { return v % 2 == 0; }), 150);
    const std::vector<int> copied(ints.begin(), ints.end());
    EXPECT_EQ(copied.back(), 299);
    auto it = ints.end();
    EXPECT_EQ(*--it, 299);
    EXPECT_EQ(it[-10], 289);
    EXPECT_EQ(ints.end() - ints.begin(), 300);
}

TEST_F(Views, FollowSortsEditsAndAppends) {
    ColumnView<int> ints(ds, 0);
    const ColumnView<double> reals(ds, 1);
    ds.GetField(0)->SetSortType(IField::Descending);
    ds.GetField(0)->SetSortIndex(0);
    ds.Sort();
    EXPECT_EQ(ints[0], 299);
    EXPECT_EQ(reals[0], 1.5 * 299);
    unsigned record = 5;
    ds.SetFieldValue(0, record, 1000);
    EXPECT_EQ(ints[5], 1000);
    Cursor c = ds.CreateCursor();
    ds.Append(c);
    c[0] = 7;
    ASSERT_EQ(ints.size(), 301u);
    EXPECT_EQ(ints[300], 7);
    c = ds.CreateCursor();
    ds.Erase(c);
    EXPECT_EQ(ints.size(), 300u);
    EXPECT_EQ(ints[0], 298);
    ds.EraseAll();
    EXPECT_EQ(ints.size(), 0u);
    EXPECT_TRUE(ints.IsAttached());
}

TEST_F(Views, RefuseAnotherTypeOrField) {
    EXPECT_THROW(ColumnView<double>(ds, 0), ColumnTypeMismatch);
    EXPECT_THROW(ColumnView<int>(ds, 1), ColumnTypeMismatch);
    EXPECT_THROW(ColumnView<int>(ds, 4), ColumnTypeMismatch);
    EXPECT_THROW(ColumnView<wstring_view>(ds, 2), ColumnTypeMismatch);
    EXPECT_THROW(ColumnView<int>(ds, 5), FieldNotFound);
    EXPECT_THROW(ColumnView<int>(ds, -1), FieldNotFound);
    EXPECT_NO_THROW(ColumnView<tdatetime>(ds, 2));
}

TEST_F(Views, DetachWhenTheFieldsChangeOrTheSetIsClearedOrGone) {
    const auto detached = [](const ColumnView<int> &view) {
        return !view.IsAttached() && view.size() == 0 && view.begin() == view.end();
    };
    ColumnView<int> added(ds, 0);
    ds.AddField(u"x"_w, IField::Int);
    EXPECT_TRUE(detached(added));
    ColumnView<int> deleted(ds, 0);
    const ColumnView<int> copy = deleted;
    ds.DeleteField(u"h"_w);
    EXPECT_TRUE(detached(deleted));
    EXPECT_TRUE(detached(copy));
    ColumnView<int> cleared(ds, 0);
    ds.Clear();
    EXPECT_TRUE(detached(cleared));
    EXPECT_TRUE(detached(ColumnView<int>()));

    auto other = std::make_unique<CMemDataSet>();
    other->AddField(u"n"_w, IField::Int);
    ColumnView<int> orphan(*other, 0);
    { const ColumnView<int> gone(*other, 0); }
    other.reset();
    EXPECT_TRUE(detached(orphan));
}

TEST(KeyViews, FollowTheKeyOrderThroughInsertsAndErases) {
    CKeyDataSet ds;
    ds.AddField(u"n"_w, IField::Int);
    ds.AddField(u"s"_w, IField::String);
    ColumnView<int> numbers(ds, 0);
    Cursor c = ds.CreateCursor();
    for (unsigned key : {30u, 10u, 20u}) {
        ds.Insert(c, key);
        c[0] = static_cast<int>(key) + 1;
        c[1] = Utf8ToWide(std::to_string(key));
    }
    const ColumnView<wstring_view> texts(ds, 1);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.end()), (std::vector<int>{11, 21, 31}));
    EXPECT_EQ(wstring(texts[2]), u"30"_w);
    ds.Erase(20u);
    ds.Insert(c, 5u);
    c[0] = 6;
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.end()), (std::vector<int>{6, 11, 31}));
    ds.EraseAll();
    EXPECT_EQ(numbers.size(), 0u);
    EXPECT_THROW(ColumnView<double>(ds, 0), ColumnTypeMismatch);
    ds.AddField(u"d"_w, IField::Double);
    EXPECT_FALSE(numbers.IsAttached());
    ColumnView<int> cleared(ds, 0);
    ds.Clear();
    EXPECT_FALSE(cleared.IsAttached());
    EXPECT_EQ(cleared.size(), 0u);
}

}  // namespace
}  // namespace quelt
