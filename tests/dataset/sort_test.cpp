#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

#include "core/wtext_p.h"
#include "sort_test_util.h"

namespace quelt {
namespace {

using testing::DoubleColumn;
using testing::IntColumn;
using testing::MakeDataSet;
using testing::Mem;
using testing::NaNLastOrder;
using testing::SetKey;
using testing::TextColumn;
using testing::ValueRule;
using testing::WithValues;
using Comparer1 = CMemDataSet::CRecordComparer1;
using SortElement = CMemDataSet::CVecDataStorage::SortElement;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

tdatetime Date(double days) {
    tdatetime value;
    value.SetDateTime(days);
    return value;
}

ttimeinterval Span(double days) {
    ttimeinterval value;
    value.SetTime(days);
    return value;
}

// Two records of one field; "before" asks the raw comparer both ways.
class CellOrder : public ::testing::Test {
  protected:
    void Make(IField::Types type) {
        ds = MakeDataSet();
        ds->AddField(u"v"_w, type);
        IDataSet::Cursor c = ds->CreateCursor();
        ds->Append(c);
        ds->Append(c);
    }
    template <class V>
    void Set(unsigned record, const V &value) {
        ds->SetFieldValue(0, record, value);
    }
    unsigned char *Record(unsigned r) { return Mem(ds).GetDataStorage().GetAddress(r); }
    // -1 when record 0 goes first, 1 when record 1 does, 0 when neither.
    int Order(bool descending = false, bool caseSensitive = false) {
        Comparer1 comparer;
        comparer.AddField(ds->GetField(0)->GetType(), 0, descending, caseSensitive);
        const bool ab = comparer(Record(0), Record(1));
        const bool ba = comparer(Record(1), Record(0));
        EXPECT_FALSE(ab && ba);
        return ab ? -1 : ba ? 1 : 0;
    }
    testing::DataSetPtr ds;
};

TEST_F(CellOrder, BoolComparesTheBytesUnsigned) {
    Make(IField::Bool);
    Set(0, true);
    EXPECT_EQ(Order(), 1);
    EXPECT_EQ(Order(true), -1);
    *Record(1) = 200;  // any non-zero byte is true, but the bytes decide
    EXPECT_EQ(Order(), -1);
    *Record(1) = 1;
    EXPECT_EQ(Order(), 0);
}

TEST_F(CellOrder, WholeNumbersCompareSigned) {
    Make(IField::Short);
    Set(0, short{-2});
    Set(1, short{3});
    EXPECT_EQ(Order(), -1);
    EXPECT_EQ(Order(true), 1);
    Make(IField::Int);
    Set(0, std::numeric_limits<int>::max());
    Set(1, std::numeric_limits<int>::min());
    EXPECT_EQ(Order(), 1);
    EXPECT_EQ(Order(true), -1);
    Make(IField::Int64);
    Set(0, int64{-(int64{1} << 40)});
    Set(1, int64{1} << 40);
    EXPECT_EQ(Order(), -1);
    Set(1, int64{-(int64{1} << 40)});
    EXPECT_EQ(Order(), 0);
}

TEST_F(CellOrder, FloatingPointAndDayCounts) {
    Make(IField::Float);
    Set(0, 1.5f);
    Set(1, 1.25f);
    EXPECT_EQ(Order(), 1);
    EXPECT_EQ(Order(true), -1);
    Make(IField::Double);
    Set(0, -0.5);
    Set(1, 0.25);
    EXPECT_EQ(Order(), -1);
    Make(IField::DateTime);
    Set(0, Date(730120.75));
    Set(1, Date(730120.25));
    EXPECT_EQ(Order(), 1);
    EXPECT_EQ(Order(true), -1);
    Make(IField::TimeInterval);
    Set(0, Span(0.1));
    Set(1, Span(2.0));
    EXPECT_EQ(Order(), -1);
}

TEST_F(CellOrder, CalendarIntervalsCompareMonthsAsThirtyPointSixDays) {
    Make(IField::DateTimeInterval);
    tdatetimeinterval month;
    month.SetDate(0, 1, 0);
    tdatetimeinterval days;
    days.SetDate(31, 0, 0);
    Set(0, days);
    Set(1, month);
    EXPECT_EQ(Order(), 1);
    EXPECT_EQ(Order(true), -1);
    days.SetDate(30, 0, 0);
    Set(0, days);
    EXPECT_EQ(Order(), -1);
}

TEST_F(CellOrder, NaNFollowsNumbersAndEqualsNaN) {
    Make(IField::Double);
    Set(0, kNaN);
    Set(1, std::numeric_limits<double>::infinity());
    EXPECT_EQ(Order(), 1);
    EXPECT_EQ(Order(true), -1);
    Set(1, kNaN);
    EXPECT_EQ(Order(), 0);
    Make(IField::Float);
    Set(1, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(Order(), -1);
    Make(IField::DateTimeInterval);
    *reinterpret_cast<double *>(Record(0) + 8) = kNaN;  // the day part of the interval
    EXPECT_EQ(Order(), 1);
}

TEST_F(CellOrder, StringsNullEmptyTextAndCase) {
    Make(IField::String);
    EXPECT_EQ(Order(), 0);  // both null
    Set(1, u""_w);
    EXPECT_EQ(Order(), -1);  // null before empty
    EXPECT_EQ(Order(true), 1);
    Set(0, u"a"_w);
    EXPECT_EQ(Order(), 1);  // empty before text
    Set(0, u"abc"_w);
    Set(1, u"ABD"_w);
    EXPECT_EQ(Order(false, false), -1);
    EXPECT_EQ(Order(false, true), 1);
    Set(1, u"ABC"_w);
    EXPECT_EQ(Order(false, false), 0);
    EXPECT_EQ(Order(false, true), 1);
}

TEST_F(CellOrder, BlobsNeverDecide) {
    Make(IField::BLOB);
    *Record(0) = 9;
    EXPECT_EQ(Order(), 0);
    EXPECT_EQ(Comparer1::CompareCells(static_cast<IField::Types>(99), Record(0), Record(1), true), 0);
}

TEST(RawComparer, LaterKeysBreakTiesAndNoKeyMeansEqual) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = 1;
    c[1] = 7;
    ds->Append(c);
    c[0] = 1;
    c[1] = 5;
    auto &storage = Mem(ds).GetDataStorage();
    Comparer1 comparer;
    EXPECT_FALSE(comparer(storage.GetAddress(0), storage.GetAddress(1)));
    EXPECT_FALSE(comparer(storage.GetAddress(1), storage.GetAddress(0)));
    comparer.AddField(IField::Int, Mem(ds).GetFieldShift(0), false, false);
    EXPECT_FALSE(comparer(storage.GetAddress(1), storage.GetAddress(0)));
    comparer.AddField(IField::Int, Mem(ds).GetFieldShift(1), true, false);
    EXPECT_TRUE(comparer(storage.GetAddress(0), storage.GetAddress(1)));
    EXPECT_EQ(comparer.GetCount(), 2u);
    comparer.Clear();
    EXPECT_EQ(comparer.GetCount(), 0u);
}

// Sorting the data set

TEST(DataSetSort, DescendingThenAscendingKey) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::Int);
    const std::vector<std::pair<int, int>> rows{{2, 9}, {3, 1}, {1, 4}, {3, 0}, {2, 2}};
    IDataSet::Cursor c = ds->CreateCursor();
    for (const auto &row : rows) {
        ds->Append(c);
        c[0] = row.first;
        c[1] = row.second;
    }
    SetKey(*ds, 0, IField::Descending, 0);
    ds->Sort();
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{3, 3, 2, 2, 1}));
    SetKey(*ds, 1, IField::Ascending, 1);
    ds->Sort();
    EXPECT_EQ(IntColumn(*ds, 1), (std::vector<int>{0, 1, 2, 9, 4}));
}

TEST(DataSetSort, CaseSensitivityOfStringKeys) {
    auto ds = WithValues(IField::String, std::vector<wstring>{u"ABD"_w, u"abc"_w});
    SetKey(*ds, 0, IField::Ascending, 0, false);
    ds->Sort();
    EXPECT_EQ(TextColumn(*ds), (std::vector<wstring>{u"abc"_w, u"ABD"_w}));
    SetKey(*ds, 0, IField::Ascending, 0, true);
    ds->Sort();
    EXPECT_EQ(TextColumn(*ds), (std::vector<wstring>{u"ABD"_w, u"abc"_w}));
}

TEST(DataSetSort, NullStringsBeforeEmptyBeforeText) {
    auto ds = WithValues(IField::String, std::vector<wstring>{u"b"_w, u""_w, u"a"_w});
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);  // a null cell
    SetKey(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    const auto &storage = Mem(ds).GetDataStorage();
    EXPECT_EQ(*reinterpret_cast<const wchar *const *>(storage.GetAddress(0)), nullptr);
    EXPECT_EQ(TextColumn(*ds), (std::vector<wstring>{u""_w, u""_w, u"a"_w, u"b"_w}));
    SetKey(*ds, 0, IField::Descending, 0);
    ds->Sort();
    EXPECT_EQ(*reinterpret_cast<const wchar *const *>(storage.GetAddress(3)), nullptr);
}

TEST(DataSetSort, AGapInSortIndicesLeavesTheLaterKeyOut) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::Int);
    testing::AppendRecords(*ds, 6, [](unsigned i) { return static_cast<int>(5 - i) % 3; });
    SetKey(*ds, 0, IField::Ascending, 0);
    SetKey(*ds, 1, IField::Ascending, 2);
    ValueRule rule(*ds);
    ds->SetSortRule(1, &rule);
    ds->Sort();
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{0, 0, 1, 1, 2, 2}));
    EXPECT_TRUE(rule.calls.empty());
}

// Every numeric type takes the one-key path; the result matches std::sort of the values.
TEST(DataSetSort, OneNumericKeyOfEveryTypeBothDirections) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(-500, 500);
    for (IField::Types type : {IField::Bool, IField::Short, IField::Int, IField::Int64, IField::Float,
                               IField::Double, IField::DateTime, IField::TimeInterval}) {
        std::vector<double> values;
        for (int i = 0; i < 300; ++i) {
            const int v = pick(random);
            values.push_back(type == IField::Bool ? v > 0 : type == IField::DateTime ? 1000 + v : v / 4.0);
        }
        auto ds = WithValues(type, values);
        SetKey(*ds, 0, IField::Ascending, 0);
        ds->Sort();
        std::vector<double> expected = DoubleColumn(*ds);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(DoubleColumn(*ds), expected) << type;
        SetKey(*ds, 0, IField::Descending, 0);
        ds->Sort();
        std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(DoubleColumn(*ds), expected) << type;
    }
}

TEST(DataSetSort, NaNSortsLastAscendingAndFirstDescending) {
    std::vector<double> values;
    for (int i = 0; i < 200; ++i) values.push_back(i % 7 == 0 ? kNaN : (i * 37) % 101 - 50.0);
    for (IField::Types type : {IField::Double, IField::Float}) {
        auto ds = WithValues(type, values);
        SetKey(*ds, 0, IField::Ascending, 0);
        ds->Sort();
        EXPECT_TRUE(NaNLastOrder(DoubleColumn(*ds)));
        EXPECT_TRUE(std::isnan(DoubleColumn(*ds).back()));
        SetKey(*ds, 0, IField::Descending, 0);
        ds->Sort();
        std::vector<double> got = DoubleColumn(*ds);
        EXPECT_TRUE(std::isnan(got.front()));
        std::reverse(got.begin(), got.end());
        EXPECT_TRUE(NaNLastOrder(got));
    }
}

TEST(DataSetSort, TwoKeysWithNaNAndStrings) {
    auto ds = MakeDataSet();
    ds->AddField(u"d"_w, IField::Double);
    ds->AddField(u"s"_w, IField::String);
    std::mt19937 random(3);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 500; ++i) {
        ds->Append(c);
        const int v = static_cast<int>(random() % 6);
        c[0] = v == 5 ? kNaN : static_cast<double>(v);
        c[1] = wstring(1, static_cast<wchar>(u'a' + random() % 20));
    }
    SetKey(*ds, 0, IField::Ascending, 0);
    SetKey(*ds, 1, IField::Descending, 1, true);
    ds->Sort();
    const std::vector<double> first = DoubleColumn(*ds);
    const std::vector<wstring> second = TextColumn(*ds, 1);
    EXPECT_TRUE(NaNLastOrder(first));
    for (std::size_t i = 1; i < first.size(); ++i) {
        const bool tie = first[i] == first[i - 1] || (std::isnan(first[i]) && std::isnan(first[i - 1]));
        if (tie) {
            EXPECT_GE(second[i - 1], second[i]) << i;
        }
    }
}

// A numeric first key takes the typed path, a text first key the general one;
// both agree with std::sort of the value pairs.
TEST(DataSetSort, TwoKeysMatchStdSortOfThePairs) {
    std::mt19937 random(19);
    for (IField::Types first : {IField::Short, IField::Int, IField::String}) {
        for (bool descending : {false, true}) {
            auto ds = MakeDataSet();
            ds->AddField(u"a"_w, first);
            ds->AddField(u"b"_w, IField::Int);
            std::vector<std::pair<int, int>> rows;
            IDataSet::Cursor c = ds->CreateCursor();
            for (int i = 0; i < 600; ++i) {
                rows.emplace_back(static_cast<int>(random() % 9), static_cast<int>(random() % 1000));
                ds->Append(c);
                if (first == IField::String) {
                    c[0] = wstring(1, static_cast<wchar>(u'0' + rows.back().first));
                } else {
                    c[0] = static_cast<short>(rows.back().first);
                }
                c[1] = rows.back().second;
            }
            SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0);
            SetKey(*ds, 1, IField::Ascending, 1);
            ds->Sort();
            std::sort(rows.begin(), rows.end(), [descending](const auto &x, const auto &y) {
                if (x.first != y.first) return descending ? y.first < x.first : x.first < y.first;
                return x.second < y.second;
            });
            std::vector<int> expected;
            for (const auto &row : rows) expected.push_back(row.second);
            EXPECT_EQ(IntColumn(*ds, 1), expected) << first << descending;
        }
    }
}

// Int keys sort by their bytes: signs, extremes and repeats in both directions.
TEST(DataSetSort, IntKeysOfEverySignMatchStdSort) {
    std::mt19937 random(29);
    std::vector<int> values{INT_MIN, INT_MAX, 0, -1, 1, INT_MIN, INT_MAX, 256, -256, 65536, -65536};
    for (int i = 0; i < 600; ++i) values.push_back(static_cast<int>(random()) >> (random() % 32));
    for (bool descending : {false, true}) {
        auto ds = WithValues(IField::Int, values);
        SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0);
        ds->Sort();
        std::vector<int> expected = values;
        std::sort(expected.begin(), expected.end());
        if (descending) std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(IntColumn(*ds), expected) << descending;
    }
}

// Long texts that share their first eight units, letters of both cases and
// units above ASCII: the order of wcscmp / wcsicmp in both directions.
TEST(DataSetSort, TextKeysOrderLikeTheTextComparison) {
    std::mt19937 random(23);
    const wchar units[] = {u'a', u'B', u'b', u'A', u'z', 0x00E9, 0xFFFF, u'0'};
    std::vector<wstring> texts;
    for (int i = 0; i < 800; ++i) {
        wstring text(random() % 2 ? u"aAbBcCdD"_w : u""_w);
        for (std::size_t n = random() % 12; n > 0; --n) text += units[random() % 8];
        texts.push_back(text);
    }
    for (bool caseSensitive : {false, true}) {
        for (bool descending : {false, true}) {
            auto ds = WithValues(IField::String, texts);
            SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0, caseSensitive);
            ds->Sort();
            const std::vector<wstring> sorted = TextColumn(*ds);
            auto before = [&](const wstring &a, const wstring &b) {
                const int order =
                    caseSensitive ? wrt::wcscmp(a.c_str(), b.c_str()) : wrt::wcsicmp(a.c_str(), b.c_str());
                return descending ? order > 0 : order < 0;
            };
            EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), before)) << caseSensitive << descending;
            EXPECT_TRUE(std::is_permutation(sorted.begin(), sorted.end(), texts.begin(), texts.end()));
        }
    }
}

// Texts tied in their first four or eight folded units, with a second key:
// each level of the text order and then the later key decide, both directions.
TEST(DataSetSort, TextTiesAtEveryDepthGoToTheNextUnitsThenTheNextKey) {
    std::mt19937 random(31);
    const wchar units[] = {u'a', u'B', u'b', u'A', 0x00E9};
    for (bool descending : {false, true}) {
        auto ds = MakeDataSet();
        ds->AddField(u"s"_w, IField::String);
        ds->AddField(u"n"_w, IField::Int);
        std::vector<std::pair<wstring, int>> rows;
        IDataSet::Cursor c = ds->CreateCursor();
        for (int i = 0; i < 700; ++i) {
            wstring text(random() % 2 ? u"abCD"_w : u"ABcd"_w);
            for (std::size_t n = random() % 7; n > 0; --n) text += units[random() % 5];
            rows.emplace_back(text, static_cast<int>(random() % 50));
            ds->Append(c);
            c[0] = text.c_str();
            c[1] = rows.back().second;
        }
        SetKey(*ds, 0, descending ? IField::Descending : IField::Ascending, 0, false);
        SetKey(*ds, 1, IField::Ascending, 1);
        ds->Sort();
        std::stable_sort(rows.begin(), rows.end(), [descending](const auto &x, const auto &y) {
            const int order = wrt::wcsicmp(x.first.c_str(), y.first.c_str());
            if (order != 0) return descending ? order > 0 : order < 0;
            return x.second < y.second;
        });
        std::vector<int> expected;
        for (const auto &row : rows) expected.push_back(row.second);
        EXPECT_EQ(IntColumn(*ds, 1), expected) << descending;
        const std::vector<wstring> texts = TextColumn(*ds);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(wrt::wcsicmp(texts[i].c_str(), rows[i].first.c_str()), 0) << i;
    }
}

// Int first keys with many ties, broken by texts some of which are null:
// the runs of equal numbers order by the texts, null (read as empty) first.
TEST(DataSetSort, IntTiesAreBrokenByTextsIncludingNull) {
    std::mt19937 random(37);
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    ds->AddField(u"s"_w, IField::String);
    std::vector<std::pair<int, std::string>> rows;
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 900; ++i) {
        const int n = static_cast<int>(random() % 40);
        const bool null = random() % 5 == 0;
        const std::string text = null ? std::string() : std::to_string(random() % 30);
        ds->Append(c);
        c[0] = n;
        if (!null) c[1] = Utf8ToWide(text).c_str();
        rows.emplace_back(n, null ? std::string() : "+" + text);
    }
    SetKey(*ds, 0, IField::Descending, 0);
    SetKey(*ds, 1, IField::Ascending, 1, true);
    ds->Sort();
    std::sort(rows.begin(), rows.end(), [](const auto &x, const auto &y) {
        return x.first != y.first ? x.first > y.first : x.second < y.second;
    });
    for (unsigned r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(static_cast<int>(ds->GetNumeric(0, r)), rows[r].first) << r;
        const std::string text = WideToUtf8(ds->GetString(1, r));
        EXPECT_EQ(text.empty() ? text : "+" + text, rows[r].second) << r;
    }
}

// Int ties broken by texts that share their first units in mixed case and
// reach above ASCII, then by a third key: every case mode and text direction
// agrees with the text comparison.
TEST(DataSetSort, IntTiesOrderByTheWholeTextThenTheThirdKey) {
    std::mt19937 random(41);
    const wchar units[] = {u'a', u'A', u'b', u'B', 0x00E9, 0x00C9, 0xFFFF};
    for (bool caseSensitive : {false, true}) {
        for (bool descending : {false, true}) {
            auto ds = MakeDataSet();
            ds->AddField(u"n"_w, IField::Int);
            ds->AddField(u"s"_w, IField::String);
            ds->AddField(u"m"_w, IField::Int);
            struct Row {
                int n;
                wstring text;
                int m;
            };
            std::vector<Row> rows;
            IDataSet::Cursor c = ds->CreateCursor();
            for (int i = 0; i < 800; ++i) {
                wstring text(random() % 2 ? u"aB"_w : u"Ab"_w);
                for (std::size_t n = random() % 4; n > 0; --n) text += units[random() % 7];
                rows.push_back({static_cast<int>(random() % 8), text, static_cast<int>(random() % 30)});
                ds->Append(c);
                c[0] = rows.back().n;
                c[1] = text.c_str();
                c[2] = rows.back().m;
            }
            SetKey(*ds, 0, IField::Ascending, 0);
            SetKey(*ds, 1, descending ? IField::Descending : IField::Ascending, 1, caseSensitive);
            SetKey(*ds, 2, IField::Ascending, 2);
            ds->Sort();
            const auto compare = [caseSensitive](const wstring &a, const wstring &b) {
                return caseSensitive ? wrt::wcscmp(a.c_str(), b.c_str()) : wrt::wcsicmp(a.c_str(), b.c_str());
            };
            std::sort(rows.begin(), rows.end(), [&](const Row &x, const Row &y) {
                if (x.n != y.n) return x.n < y.n;
                const int order = compare(x.text, y.text);
                if (order != 0) return descending ? order > 0 : order < 0;
                return x.m < y.m;
            });
            const std::vector<wstring> texts = TextColumn(*ds, 1);
            for (unsigned r = 0; r < rows.size(); ++r) {
                EXPECT_EQ(static_cast<int>(ds->GetNumeric(0, r)), rows[r].n) << r;
                EXPECT_EQ(compare(texts[r], rows[r].text), 0) << r;
                EXPECT_EQ(static_cast<int>(ds->GetNumeric(2, r)), rows[r].m) << r;
            }
        }
    }
}

// The constant cursor

TEST(ConstantCursor, FollowsItsRecordThroughSort) {
    auto ds = WithValues(IField::Int, std::vector<int>{5, 3, 9, 1});
    SetKey(*ds, 0, IField::Ascending, 0);
    IDataSet::Cursor constant = ds->CreateCursor();
    constant += 2;  // the 9
    ds->SetConstCur(constant);
    IDataSet::Cursor other = ds->CreateCursor();
    ++other;
    EXPECT_EQ(ds->Sort(), 3u);
    EXPECT_EQ(static_cast<int>(constant[0]), 9);
    EXPECT_TRUE(constant.IsLast());
    EXPECT_EQ(static_cast<int>(*Mem(ds).GetCloneField(0)), 9);  // the prototypes are bound there
    EXPECT_EQ(static_cast<int>(other[0]), 3);                   // other cursors keep their index
    SetKey(*ds, 0, IField::Descending, 0);
    EXPECT_EQ(ds->Sort(), 0u);
    EXPECT_TRUE(constant.IsFirst());
}

TEST(ConstantCursor, WithoutOneSortReturnsTheCountAndMovesNothing) {
    auto ds = WithValues(IField::Int, std::vector<int>{5, 3, 9});
    SetKey(*ds, 0, IField::Ascending, 0);
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    EXPECT_EQ(ds->Sort(), 3u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{3, 5, 9}));
    EXPECT_EQ(static_cast<int>(c[0]), 5);
    IDataSet::Cursor constant = ds->CreateCursor();
    ds->SetConstCur(constant);
    ds->Erase(constant);  // its record is forgotten
    EXPECT_EQ(ds->Sort(), 2u);
    ds->DeleteCursor(constant);
    EXPECT_EQ(ds->Sort(), 2u);
}

TEST(ConstantCursor, StorageReportsTheCountWhenTheRecordIsGone) {
    auto ds = WithValues(IField::Int, std::vector<int>{2, 1});
    auto &storage = Mem(ds).GetDataStorage();
    const SortElement key{false, false, IField::Int, 0, 0, nullptr};
    storage.SetConstCur(0);
    EXPECT_EQ(storage.Sort1(&key, 1), 1u);
    storage.SetConstCur(2);
    EXPECT_EQ(storage.Sort1(&key, 1), 2u);
    EXPECT_EQ(storage.Sort1(nullptr, 0), 2u);
}

// Sorting through field objects

TEST(FieldSort, OneDirectionForEveryKey) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    for (const auto &row : {std::pair<int, wstring>{2, u"x"_w}, {1, u"b"_w}, {2, u"a"_w}, {1, u"c"_w}}) {
        ds->Append(c);
        c[0] = row.first;
        c[1] = row.second;
    }
    CMemDataSet &mem = Mem(ds);
    CMemFieldBase *fields[] = {mem.GetCloneField(0), mem.GetCloneField(1)};
    const int offsets[] = {mem.GetFieldShift(0), mem.GetFieldShift(1)};
    mem.GetDataStorage().Sort(fields, offsets, 2, false);
    EXPECT_EQ(TextColumn(*ds, 1), (std::vector<wstring>{u"b"_w, u"c"_w, u"a"_w, u"x"_w}));
    mem.GetDataStorage().Sort(fields, offsets, 2, true);
    EXPECT_EQ(TextColumn(*ds, 1), (std::vector<wstring>{u"x"_w, u"a"_w, u"c"_w, u"b"_w}));
}

TEST(FieldSort, NaNKeepsTheOrderStrict) {
    std::vector<double> values;
    for (int i = 0; i < 100; ++i) values.push_back(i % 3 == 0 ? kNaN : 50.0 - i);
    auto ds = WithValues(IField::Double, values);
    CMemDataSet &mem = Mem(ds);
    CMemFieldBase *field = mem.GetCloneField(0);
    const int offset = 0;
    mem.GetDataStorage().Sort(&field, &offset, 1, false);
    EXPECT_TRUE(NaNLastOrder(DoubleColumn(*ds)));
    mem.GetDataStorage().Sort(&field, &offset, 1, true);
    EXPECT_TRUE(std::isnan(DoubleColumn(*ds).front()));
}

// Host sort rules

TEST(SortRules, TheHostGetsCurrentIndicesAndDecides) {
    auto ds = WithValues(IField::Int, std::vector<int>{4, 8, 1, 6, 3, 7, 2, 5});
    SetKey(*ds, 0, IField::Ascending, 0);
    ValueRule rule(*ds, -1);  // the host orders the values downwards
    ds->SetSortRule(0, &rule);
    ds->Sort();
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1}));
    ASSERT_FALSE(rule.calls.empty());
    for (const auto &call : rule.calls) {
        EXPECT_EQ(call.field, 0);
        EXPECT_FALSE(call.descending);
        EXPECT_NE(call.a, call.b);
        EXPECT_LT(static_cast<unsigned>(call.a), 8u);
        EXPECT_LT(static_cast<unsigned>(call.b), 8u);
    }
}

TEST(SortRules, DirectionIsPassedButNotApplied) {
    auto ds = WithValues(IField::Int, std::vector<int>{2, 3, 1});
    SetKey(*ds, 0, IField::Descending, 0);
    ValueRule rule(*ds);
    ds->SetSortRule(0, &rule);
    ds->Sort();
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(rule.calls.front().descending);
}

TEST(SortRules, ZeroPassesToTheNextKey) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 40; ++i) {
        ds->Append(c);
        c[0] = i % 4;
        c[1] = (i * 7) % 40;
    }
    SetKey(*ds, 0, IField::Ascending, 0);
    SetKey(*ds, 1, IField::Descending, 1);
    ValueRule silent(*ds, 0);
    ds->SetSortRule(0, &silent);
    ds->Sort();
    std::vector<int> expected(40);
    for (int i = 0; i < 40; ++i) expected[static_cast<std::size_t>(i)] = 39 - i;
    EXPECT_EQ(IntColumn(*ds, 1), expected);
    EXPECT_FALSE(silent.calls.empty());
}

TEST(SortRules, RuleExceptionsPassThrough) {
    struct Throwing : ISortRule {
        int Compare(int, int, int, bool) override { throw std::runtime_error("host"); }
    } rule;
    auto ds = WithValues(IField::Int, std::vector<int>{2, 1, 3});
    SetKey(*ds, 0, IField::Ascending, 0);
    ds->SetSortRule(0, &rule);
    IDataSet::Cursor c = ds->CreateCursor();
    EXPECT_THROW(ds->Sort(), std::runtime_error);
    EXPECT_EQ(ds->GetRecordCount(), 3u);
    // The pivot moved before the host was asked; the cursor shows the record now at its index.
    EXPECT_EQ(static_cast<int>(c[0]), 1);
    EXPECT_EQ(ds->GetNumeric(0, 0), 1.0);
}

// The rule quicksort: n log n calls on equal, sorted and reversed keys, and no deep recursion.
TEST(SortRules, LargeInputsStayNLogN) {
    const unsigned n = 200000;
    const double bound = 3.0 * n * std::log2(static_cast<double>(n));
    for (int shape = 0; shape < 3; ++shape) {
        auto ds = MakeDataSet();
        ds->AddField(u"a"_w, IField::Int);
        testing::AppendRecords(*ds, n, [shape](unsigned i) {
            return shape == 0 ? 7 : shape == 1 ? static_cast<int>(i) : -static_cast<int>(i);
        });
        SetKey(*ds, 0, IField::Ascending, 0);
        ValueRule rule(*ds, shape == 0 ? 0 : 1);
        ds->SetSortRule(0, &rule);
        ds->Sort();
        if (shape == 0) {
            EXPECT_LE(rule.count, 2u * n);
        }
        EXPECT_LE(static_cast<double>(rule.count), bound) << shape;
        const std::vector<int> sorted = IntColumn(*ds);
        EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end())) << shape;
    }
}

TEST(SortRules, RuleComparerAsksOnlyForKeysWithARule) {
    auto ds = WithValues(IField::Int, std::vector<int>{1, 2});
    auto &storage = Mem(ds).GetDataStorage();
    ValueRule rule(*ds, -1);
    CMemDataSet::CRecordComparerEx comparer;
    comparer.AddField(IField::Int, 0, false, false);
    comparer.AddFieldEx(0, 0, nullptr);
    EXPECT_TRUE(comparer(storage.GetAddress(0), storage.GetAddress(1), 0, 1));
    CMemDataSet::CRecordComparerEx ruled;
    ruled.AddField(IField::Int, 0, false, false);
    ruled.AddFieldEx(0, 0, &rule);
    ruled.AddStartAddress(storage.Records().data());
    EXPECT_EQ(ruled.GetStartAddress(), storage.Records().data());
    EXPECT_FALSE(ruled(storage.GetAddress(0), storage.GetAddress(1), 0, 1));
    EXPECT_TRUE(ruled(storage.GetAddress(1), storage.GetAddress(0), 1, 0));
    EXPECT_TRUE(comparer.GetCount() == 1 && rule.calls.size() == 2u);
}

}  // namespace
}  // namespace quelt
