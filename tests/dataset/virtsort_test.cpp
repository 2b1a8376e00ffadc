#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <tuple>

#include "virt_test_util.h"

namespace quelt {
namespace {

using testing::DirectionalOver;
using testing::IntStringHost;
using testing::MakeDataSet;
using testing::RandomOver;
using testing::VectorHost;
using testing::ViewInts;
using testing::ViewTexts;
using testing::VirtualPtr;

int Index(const IDataSet::Cursor &c) {
    return static_cast<CVirtualDataSet::CVirtualCursor *>(c.icursor())->GetIterator();
}

void SortBy(IMemDataSet &ds, int field, IField::SortType type, int sortIndex, bool caseSensitive = false) {
    const IField *f = ds.GetField(field);
    f->SetSortType(type);
    f->SetSortIndex(sortIndex);
    f->SetIsSortCaseSensitive(caseSensitive);
}

VirtualPtr Over(VectorHost &host, bool random) { return random ? RandomOver(host) : DirectionalOver(host); }

// Records (n, s, d) whose date d is a day count; a negative one cannot be read.
std::unique_ptr<VectorHost> Dated(const std::vector<std::tuple<int, std::string, double>> &values) {
    auto host = std::make_unique<VectorHost>(
        std::vector<std::string>{"n", "s", "d"},
        std::vector<IField::Types>{IField::Int, IField::String, IField::DateTime});
    for (const auto &[n, s, d] : values)
        host->rows.push_back({CQueltVariant(n), CQueltVariant(Utf8ToWide(s)), CQueltVariant(d)});
    return host;
}

std::vector<std::string> Sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::unique_ptr<VectorHost> Mixed() {
    return IntStringHost({{3, "b"}, {1, "a"}, {2, "b"}, {5, "A"}, {4, "c"}, {0, "a"}});
}

class VirtualLibrarySort : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Sources, VirtualLibrarySort, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "IndexMap" : "InnerDataSet";
                         });

TEST_P(VirtualLibrarySort, SeveralKeysAndDirections) {
    auto host = Mixed();
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 1, IField::Ascending, 0);
    SortBy(*ds, 0, IField::Descending, 1);
    IDataSet::Cursor current = ds->CreateCursor();
    current += 2;
    ds->SetConstCur(current);
    const unsigned position = ds->Sort();
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"A", "a", "a", "b", "b", "c"}));
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{5, 1, 0, 3, 2, 4}));
    EXPECT_EQ(position, 4u);
    EXPECT_EQ(host->Count("Move"), 0u);
    EXPECT_EQ(host->Count("Sort"), 0u);
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualLibrarySort, CaseSensitiveTextPutsCapitalsFirst) {
    auto host = Mixed();
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 1, IField::Ascending, 0, true);
    SortBy(*ds, 0, IField::Ascending, 1);
    ds->Sort();
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"A", "a", "a", "b", "b", "c"}));
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{5, 0, 1, 2, 3, 4}));
}

TEST_P(VirtualLibrarySort, CursorsReadTheSortedOrder) {
    auto host = Mixed();
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 0, IField::Descending, 0);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Sort();
    EXPECT_EQ(static_cast<int>(c[0]), 5);
    ++c;
    EXPECT_EQ(static_cast<wstring>(c[1]), u"c"_w);
    IDataSet::Column col = ds->CreateColumn(0);
    EXPECT_EQ(static_cast<int>(col.Last()), 0);
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualLibrarySort, EmptyTextsTieAndTheNextKeyDecides) {
    auto host = IntStringHost({{2, ""}, {1, ""}, {3, "x"}, {0, ""}});
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 1, IField::Ascending, 0);
    SortBy(*ds, 0, IField::Ascending, 1);
    ds->Sort();
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 2, 3}));
}

TEST_P(VirtualLibrarySort, KeyIndicesWithAGapUseOnlyTheFirstKey) {
    auto host = Mixed();
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 0, IField::Ascending, 0);
    SortBy(*ds, 1, IField::Descending, 2);
    ds->Sort();
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(VirtualIndexMap, EqualKeysLeaveEveryRecordReachableOnce) {
    std::vector<std::pair<int, std::string>> values;
    for (int i = 0; i < 200; ++i) values.push_back({i % 3, std::to_string(i)});
    auto host = IntStringHost(values);
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    std::vector<std::string> seen = ViewTexts(*ds, 1);
    std::vector<int> keys = ViewInts(*ds);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.size(), 200u);
}

// The same (Double, String) rows held by a host and by a memory data set.
class TwinRows {
  public:
    TwinRows() {
        m_memory->AddField(u"d"_w, IField::Double);
        m_memory->AddField(u"s"_w, IField::String);
    }

    void Add(double d, const wstring &text) {
        m_host.rows.push_back({CQueltVariant(d), CQueltVariant(text)});
        m_memory->Append(m_cursor);
        m_cursor[0] = d;
        m_cursor[1] = text.c_str();
    }

    // Sorted by the number each way and then by the text, the virtual data
    // set must show the memory data set's rows in the memory data set's order.
    void ExpectSameOrder(IField::SortType textOrder) {
        auto ds = RandomOver(m_host);
        for (IField::SortType type : {IField::Ascending, IField::Descending}) {
            for (IMemDataSet *sorted : {static_cast<IMemDataSet *>(ds.get()), m_memory.get()}) {
                SortBy(*sorted, 0, type, 0);
                SortBy(*sorted, 1, textOrder, 1);
                sorted->Sort();
            }
            EXPECT_EQ(Rows(*ds), Rows(*m_memory)) << type;
        }
    }

  private:
    static std::vector<std::string> Rows(IMemDataSet &ds) {
        std::vector<std::string> rows;
        for (unsigned r = 0; r < ds.GetRecordCount(); ++r) {
            const double d = ds.GetNumeric(0, r);
            rows.push_back((std::isnan(d) ? std::string("nan") : std::to_string(d)) +
                           WideToUtf8(ds.GetString(1, r)));
        }
        return rows;
    }

    VectorHost m_host{{"d", "s"}, {IField::Double, IField::String}};
    testing::DataSetPtr m_memory = MakeDataSet();
    IDataSet::Cursor m_cursor = m_memory->CreateCursor();
};

// The index map reads a number key once per record; the order must stay the
// memory data set's, with NaN and the second key deciding ties, both ways.
TEST(VirtualIndexMap, NumberKeyWithTiesOrdersLikeTheMemoryDataSet) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 random(31);
    TwinRows twins;
    for (int i = 0; i < 500; ++i) {
        const double d = random() % 10 == 0 ? nan : static_cast<double>(random() % 20) - 10.0;
        twins.Add(d, wstring(1, static_cast<wchar>(u'a' + random() % 5)));
    }
    twins.ExpectSameOrder(IField::Descending);
}

// Number keys sort by their bytes: signed zeros, infinities, NaNs of both
// signs, tiny and huge values, each tie decided by a unique second key.
TEST(VirtualIndexMap, EveryKindOfNumberOrdersLikeTheMemoryDataSet) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double kinds[] = {0.0,   -0.0,   inf, -inf, nan, -nan, 1e-310,  -1e-310,
                            1e300, -1e300, 2.5, -2.5, 1.0, -1.0, 65536.0, 4294967296.0};
    std::mt19937 random(41);
    TwinRows twins;
    for (int i = 0; i < 300; ++i) {
        const double d = kinds[random() % 16];
        twins.Add(d, Utf8ToWide(std::to_string(random() % 100000) + "." + std::to_string(i)));
    }
    twins.ExpectSameOrder(IField::Ascending);
}

TEST(VirtualIndexMap, NaNSortsAfterEveryNumberAscending) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    VectorHost host({"d"}, {IField::Double});
    for (double v : {2.0, nan, -1.0, nan, 7.0, 0.5, nan, 3.0}) host.rows.push_back({CQueltVariant(v)});
    auto ds = RandomOver(host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    std::vector<double> view;
    for (unsigned r = 0; r < ds->GetRecordCount(); ++r) view.push_back(ds->GetNumeric(0, r));
    EXPECT_EQ(std::vector<double>(view.begin(), view.begin() + 5),
              (std::vector<double>{-1.0, 0.5, 2.0, 3.0, 7.0}));
    EXPECT_TRUE(std::all_of(view.begin() + 5, view.end(), [](double v) { return std::isnan(v); }));
    SortBy(*ds, 0, IField::Descending, 0);
    ds->Sort();
    EXPECT_TRUE(std::isnan(ds->GetNumeric(0, 0)));
    EXPECT_EQ(ds->GetNumeric(0, 3), 7.0);
}

TEST(VirtualIndexMap, InsertAppendsToTheHostAndTakesItsViewPlace) {
    auto host = IntStringHost({{3, "c"}, {1, "a"}, {2, "b"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    IDataSet::Cursor c = ds->CreateCursor(), after = ds->CreateCursor();
    ++c;
    after += 2;
    ds->Insert(c);
    EXPECT_EQ(host->Count("Append"), 1u);
    EXPECT_EQ(host->Count("Insert"), 0u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(Index(after), 3);
    EXPECT_EQ(static_cast<int>(after[0]), 3);
}

TEST(VirtualIndexMap, EraseLowersEntriesAboveTheErasedRecord) {
    auto host = IntStringHost({{4, "d"}, {1, "a"}, {3, "c"}, {2, "b"}, {0, "z"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    IDataSet::Cursor c = ds->CreateCursor();
    c += 1;
    ds->Erase(c);
    EXPECT_NE(std::find(host->calls.begin(), host->calls.end(), "Erase(1)"), host->calls.end());
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"z", "b", "c", "d"}));
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualIndexMap, MapFollowsTheSourceCount) {
    auto host = IntStringHost({{3, "c"}, {1, "a"}, {2, "b"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    host->rows.push_back({CQueltVariant(0), CQueltVariant(u"n"_w)});
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{1, 2, 3, 0}));
    host->rows.erase(host->rows.begin());
    std::vector<int> view = ViewInts(*ds);
    std::sort(view.begin(), view.end());
    EXPECT_EQ(view, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualIndexMap, NewSourceDropsTheMap) {
    auto host = IntStringHost({{3, "c"}, {1, "a"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    auto other = IntStringHost({{9, "x"}, {8, "y"}});
    ds->SetDataRandom(other.get());
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{9, 8}));
}

TEST(VirtualIndexMap, MoveReordersTheMapNotTheHost) {
    auto host = IntStringHost({{3, "c"}, {1, "a"}, {2, "b"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    EXPECT_EQ(ds->Move(0, 2), 2u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(host->Count("Move"), 0u);
}

TEST(VirtualIndexMap, ASortThatThrowsLeavesEveryRecordReachableOnce) {
    // The date of x is read only when its n ties, after other records moved.
    auto host = Dated({{3, "c", 1.0}, {2, "b", 2.0}, {1, "a", 3.0}, {2, "x", -1.0}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    SortBy(*ds, 2, IField::Ascending, 1);
    EXPECT_THROW(ds->Sort(), bad_datetime);
    EXPECT_EQ(Sorted(ViewTexts(*ds, 1)), (std::vector<std::string>{"a", "b", "c", "x"}));
}

TEST(VirtualIndexMap, TheCurrentRecordFollowsTheHostsMove) {
    auto host = IntStringHost({{10, "a"}, {20, "b"}, {30, "c"}, {40, "d"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    ds->SetConstCur(c);
    ds->Move(1, 3);
    ASSERT_EQ(ViewInts(*ds), (std::vector<int>{10, 30, 40, 20}));
    EXPECT_EQ(ds->Sort(), 1u);
}

// Inner data set

TEST(VirtualInnerDataSet, LoadsByWalkingTheSourceOnce) {
    auto host = Mixed();
    auto ds = DirectionalOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    EXPECT_EQ(host->Count("Next"), 5u);
    EXPECT_EQ(host->Count("Prev"), 0u);
    EXPECT_EQ(host->Count("GetValueAt"), 6u);
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualInnerDataSet, ALoadThatThrowsLeavesNoHalfFilledInnerDataSet) {
    auto host = Dated({{1, "a", 4.0}, {2, "b", 3.0}, {3, "x", -1.0}, {4, "d", 1.0}});
    auto ds = DirectionalOver(*host);
    SortBy(*ds, 2, IField::Ascending, 0);
    EXPECT_THROW(ds->Sort(), bad_datetime);
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    ds->Insert(c);
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"a", "", "b", "x", "d"}));
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualInnerDataSet, EditsKeepTheInnerRowsInStep) {
    auto host = IntStringHost({{30, "c"}, {10, "a"}, {20, "b"}, {40, "d"}});
    auto ds = DirectionalOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    ds->SetKeepOrder(true);
    unsigned record = 0;
    ds->SetFieldValue(0, record, 35);
    EXPECT_EQ(record, 2u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{20, 30, 35, 40}));
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Erase(c);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{30, 35, 40}));
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"c", "a", "d"}));
    EXPECT_EQ(host->rows.size(), 3u);
    c.Last();
    ds->Append(c);
    EXPECT_EQ(host->rows.size(), 4u);
    EXPECT_EQ(ds->GetRecordCount(), 4u);
    c.Last();
    ds->Insert(c);
    EXPECT_EQ(host->Count("InsertAt"), 0u);
    EXPECT_EQ(host->rows.size(), 5u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 0, 30, 35, 40}));
    EXPECT_EQ(host->faults, 0);
}

// Host sort

TEST(VirtualHostSort, TheHostSortsWithTheKeysInOrder) {
    auto host = Mixed();
    auto ds = RandomOver(*host);
    ds->SetSort(host.get());
    SortBy(*ds, 1, IField::Ascending, 1);
    SortBy(*ds, 0, IField::Descending, 0);
    IDataSet::Cursor c = ds->CreateCursor();
    c += 1;
    ds->SetConstCur(c);
    EXPECT_EQ(host->current, 1u);
    EXPECT_EQ(ds->Sort(), 4u);
    std::vector<std::string> keys;
    std::copy_if(host->calls.begin(), host->calls.end(), std::back_inserter(keys),
                 [](const std::string &call) { return call.rfind("AddSortField", 0) == 0; });
    EXPECT_EQ(keys, (std::vector<std::string>{"AddSortField(0,0)", "AddSortField(1,1)"}));
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{5, 4, 3, 2, 1, 0}));
}

TEST(VirtualHostSort, RefusalFallsBackToTheLibrary) {
    auto host = Mixed();
    host->hostSorts = false;
    auto ds = RandomOver(*host);
    ds->SetSort(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    EXPECT_EQ(host->Count("Sort"), 1u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(host->rows[0][0].GetInt(), 3);
}

TEST(VirtualHostSort, SuccessDropsALibraryOrder) {
    auto host = Mixed();
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Descending, 0);
    ds->Sort();
    ds->SetSort(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

// Searching

TEST(VirtualFind, HostFindPlacesTheCursor) {
    auto host = IntStringHost({{1, "a"}, {3, "b"}, {3, "c"}, {5, "d"}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    IDataSet::Cursor c = ds->CreateCursor();
    ds->AddFindField(0, CQueltVariant(3), false, false);
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 1);
    EXPECT_TRUE(ds->FindNext(c));
    EXPECT_EQ(Index(c), 3);
    ds->ClearFindFields();
    EXPECT_TRUE(host->findKeys.empty());
    ds->AddFindField(0, CQueltVariant(4), false, false);
    EXPECT_FALSE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 3);
    EXPECT_TRUE(ds->FindNearest(c));
    EXPECT_EQ(static_cast<wstring>(c[1]), u"d"_w);
}

class VirtualLibraryFind : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Sources, VirtualLibraryFind, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "IndexMap" : "InnerDataSet";
                         });

TEST_P(VirtualLibraryFind, LowerAndUpperBoundsInTheSortedView) {
    auto host = IntStringHost({{5, "d"}, {3, "b"}, {1, "a"}, {3, "c"}});
    auto ds = Over(*host, GetParam());
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    IDataSet::Cursor c = ds->CreateCursor();
    ds->AddFindField(0, CQueltVariant(3), false, false);
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 1);
    EXPECT_TRUE(ds->FindNext(c));
    EXPECT_EQ(Index(c), 3);
    ds->ClearFindFields();
    ds->AddFindField(0, CQueltVariant(u"4"_w), false, false);
    EXPECT_FALSE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 3);
    c.First();
    EXPECT_TRUE(ds->FindNearest(c));
    EXPECT_EQ(Index(c), 3);
    ds->ClearFindFields();
    ds->AddFindField(0, CQueltVariant(9), false, false);
    EXPECT_TRUE(ds->FindNearest(c));
    EXPECT_EQ(Index(c), 3);
    EXPECT_TRUE(c.IsValid());
    EXPECT_EQ(host->Count("FindKey"), 0u);
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualLibraryFind, TextKeysAndTheirFlags) {
    auto host = IntStringHost({{1, "b"}, {2, "D"}, {3, "a"}, {4, "c"}});
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 1, IField::Descending, 0);
    ds->Sort();
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"D", "c", "b", "a"}));
    IDataSet::Cursor c = ds->CreateCursor();
    ds->AddFindField(1, CQueltVariant(u"B"_w), true, false);
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 2);
}

TEST_P(VirtualLibraryFind, TextPointerKeysAreCopiedWhenAdded) {
    auto host = IntStringHost({{1, "b"}, {2, "d"}, {3, "a"}, {4, "c"}});
    auto ds = Over(*host, GetParam());
    SortBy(*ds, 1, IField::Ascending, 0);
    std::vector<wchar> wide{'c', 0};
    ds->AddFindField(1, CQueltVariant::FromWidePointer(wide.data()), false, false);
    wide[0] = 'z';
    ds->Sort();
    IDataSet::Cursor c = ds->CreateCursor();
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 2);
    ds->ClearFindFields();
    std::string narrow = "b";
    ds->AddFindField(1, CQueltVariant::FromPointer(narrow.c_str()), false, false);
    narrow[0] = 'z';
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 1);
}

TEST(VirtualInnerDataSet, FindOnAFieldThatIsNoKeyFails) {
    auto host = IntStringHost({{5, "d"}, {3, "b"}});
    auto ds = DirectionalOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    IDataSet::Cursor c = ds->CreateCursor();
    ds->AddFindField(1, CQueltVariant(u"b"_w), false, false);
    EXPECT_FALSE(ds->FindNearest(c));
    ds->ClearFindFields();
    ds->AddFindField(0, CQueltVariant(5), false, false);
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 1);
}

TEST(VirtualInnerDataSet, ASortThatMakesTheFindFieldAKeyLetsTheSearchSucceed) {
    auto host = IntStringHost({{5, "d"}, {3, "b"}, {4, "c"}});
    auto ds = DirectionalOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    IDataSet::Cursor c = ds->CreateCursor();
    ds->AddFindField(1, CQueltVariant(u"c"_w), true, false);
    EXPECT_FALSE(ds->FindKey(c));
    ds->GetField(0)->SetSortType(IField::NotSorted);
    SortBy(*ds, 1, IField::Descending, 0);
    ds->Sort();
    ASSERT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"d", "c", "b"}));
    EXPECT_TRUE(ds->FindKey(c));
    EXPECT_EQ(Index(c), 1);
}

TEST(VirtualFind, NoPathFindsNothing) {
    auto host = IntStringHost({{5, "d"}});
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->AddFindField(0, CQueltVariant(5), false, false);
    EXPECT_FALSE(ds->FindKey(c));
    EXPECT_FALSE(ds->FindNearest(c));
}

// Keep-order

TEST(VirtualKeepOrder, IndexMapReplacesTheEditedRecord) {
    auto host = IntStringHost({{30, "c"}, {10, "a"}, {20, "b"}, {40, "d"}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    ds->SetKeepOrder(true);
    unsigned record = 0;
    ds->SetFieldValue(0, record, 35);
    EXPECT_EQ(record, 2u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{20, 30, 35, 40}));
    record = 3;
    ds->SetFieldValue(0, record, 5);
    EXPECT_EQ(record, 0u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{5, 20, 30, 35}));
    record = 1;
    ds->SetFieldValue(1, record, u"zz"_w);
    EXPECT_EQ(record, 1u);
    EXPECT_EQ(host->Count("Move"), 0u);
}

TEST(VirtualKeepOrder, WithoutAMapTheHostMovesTheRecord) {
    auto host = IntStringHost({{10, "a"}, {20, "b"}, {30, "c"}, {40, "d"}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->SetKeepOrder(true);
    unsigned record = 0;
    ds->SetFieldValue(0, record, 35);
    EXPECT_EQ(record, 2u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{20, 30, 35, 40}));
    EXPECT_EQ(host->Count("ClearFindFields"), 1u);
    EXPECT_EQ(host->Count("FindNearest"), 1u);
    record = 3;
    ds->SetFieldValue(0, record, 1);
    EXPECT_EQ(record, 0u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{1, 20, 30, 35}));
}

TEST(VirtualKeepOrder, InsertGoesToItsSortedPlace) {
    auto host = IntStringHost({{-5, "a"}, {-1, "b"}, {2, "c"}, {4, "d"}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->SetKeepOrder(true);
    IDataSet::Cursor c = ds->CreateCursor(), last = ds->CreateCursor();
    c += 3;
    last += 3;
    ds->Insert(c);
    EXPECT_EQ(Index(c), 2);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{-5, -1, 0, 2, 4}));
    EXPECT_EQ(Index(last), 4);
    EXPECT_EQ(static_cast<int>(last[0]), 4);
}

TEST(VirtualKeepOrder, AppendLandingBeforeOtherCursorsShiftsThem) {
    auto host = IntStringHost({{10, "a"}, {20, "b"}, {30, "c"}, {40, "d"}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->SetKeepOrder(true);
    IDataSet::Cursor c = ds->CreateCursor(), first = ds->CreateCursor(), last = ds->CreateCursor();
    last += 3;
    ds->Append(c);
    EXPECT_EQ(Index(c), 0);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 10, 20, 30, 40}));
    EXPECT_EQ(Index(first), 1);
    EXPECT_EQ(static_cast<int>(first[0]), 10);
    EXPECT_EQ(Index(last), 4);
    EXPECT_EQ(static_cast<int>(last[0]), 40);
}

TEST(VirtualKeepOrder, TheCurrentRecordFollowsAKeepOrderMove) {
    auto host = IntStringHost({{10, "a"}, {20, "b"}, {30, "c"}, {40, "d"}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->SetKeepOrder(true);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->SetConstCur(c);
    unsigned record = 0;
    ds->SetFieldValue(0, record, 35);
    ASSERT_EQ(ViewInts(*ds), (std::vector<int>{20, 30, 35, 40}));
    EXPECT_EQ(ds->Sort(), 2u);
}

TEST(VirtualKeepOrder, AComparisonThatThrowsLeavesTheRecordInTheMap) {
    auto host = Dated({{1, "a", 1.0}, {2, "x", -1.0}, {3, "c", 3.0}});
    auto ds = RandomOver(*host);
    ds->SetFind(host.get());
    SortBy(*ds, 0, IField::Ascending, 0);
    SortBy(*ds, 2, IField::Ascending, 1);
    ds->Sort();
    ds->SetKeepOrder(true);
    unsigned record = 0;
    // The new n of a ties with x, whose date is then read.
    EXPECT_THROW(ds->SetFieldValue(0, record, 2), bad_datetime);
    EXPECT_EQ(ViewTexts(*ds, 1), (std::vector<std::string>{"a", "x", "c"}));
}

TEST(VirtualKeepOrder, NeedsEveryRandomInterface) {
    auto host = IntStringHost({{10, "a"}, {20, "b"}});
    auto ds = RandomOver(*host);
    SortBy(*ds, 0, IField::Ascending, 0);
    ds->SetKeepOrder(true);
    EXPECT_TRUE(ds->IsKeepOrder());
    unsigned record = 0;
    ds->SetFieldValue(0, record, 30);
    EXPECT_EQ(record, 0u);
    EXPECT_EQ(host->Count("FindNearest"), 0u);
}

}  // namespace
}  // namespace quelt
