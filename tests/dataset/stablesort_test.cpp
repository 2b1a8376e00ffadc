#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "sort_test_util.h"
#include "virt_test_util.h"

namespace quelt {
namespace {

using testing::DataSetPtr;
using testing::IntColumn;
using testing::MakeDataSet;
using testing::SetKey;
using testing::ValueRule;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// One record as the test reads it back: the first key's value as a number or
// a text (null when never written), the second key, and its fill order.
struct Row {
    double number = 0;
    wstring text;
    bool null = true;
    wstring second;
    int tag = 0;
};

int NumberOrder(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return static_cast<int>(std::isnan(a)) - static_cast<int>(std::isnan(b));
    return a < b ? -1 : b < a ? 1 : 0;
}

wstring Folded(wstring text) {
    for (wchar &c : text) c = c >= 'A' && c <= 'Z' ? static_cast<wchar>(c + 32) : c;
    return text;
}

int TextOrder(const Row &a, const Row &b, bool caseSensitive) {
    if (a.null || b.null) return static_cast<int>(b.null) - static_cast<int>(a.null);
    const wstring x = caseSensitive ? a.text : Folded(a.text);
    const wstring y = caseSensitive ? b.text : Folded(b.text);
    return x < y ? -1 : y < x ? 1 : 0;
}

// A key kind under test and the values its records draw from, as numbers
// or as texts.
struct Kind {
    const char *name;
    IField::Types type;
    std::vector<double> numbers;
    std::vector<std::string> texts;
};

std::string LongPrefix(const std::string &tail) { return std::string(17, 'q') + tail; }

const std::vector<Kind> &Kinds() {
    static const std::vector<Kind> kinds = {
        {"Bool", IField::Bool, {0, 1}, {}},
        {"Short", IField::Short, {-3, 0, 2, 7}, {}},
        {"Int", IField::Int, {-300000, -1, 0, 5, 4194304}, {}},
        {"Int64", IField::Int64, {-1e15, -2, 0, 3, 1e15}, {}},
        {"Float", IField::Float, {-2.5, -0.0, 0, 1, kNaN}, {}},
        {"Double", IField::Double, {-1e300, -0.0, 0, 0.5, kNaN, 1e300}, {}},
        {"DateTime", IField::DateTime, {10, 20.5, 30}, {}},
        {"TimeInterval", IField::TimeInterval, {0.25, 1.5, 2}, {}},
        {"DateTimeInterval", IField::DateTimeInterval, {3, 40, 400}, {}},
        {"String", IField::String, {}, {"", "a", "A", "ab", "aB", "abcdefg", "abcdefgh", "b", "?"}},
        {"LongPrefix",
         IField::String,
         {},
         {LongPrefix(""), LongPrefix("a"), LongPrefix("A"), LongPrefix("ab"), LongPrefix("abcdefghijklmn"),
          LongPrefix("abcdefghijklmnop"), LongPrefix("b"), "?"}},
    };
    return kinds;
}

// Records whose fields are the kind's key, a text second key with few
// values and the fill order; "?" in a text kind leaves the cell null, which
// nulls records by fill order.
DataSetPtr Filled(const Kind &kind, unsigned count, std::mt19937 &random, std::vector<bool> &nulls) {
    DataSetPtr ds = MakeDataSet();
    ds->AddField(u"key"_w, kind.type);
    ds->AddField(u"second"_w, IField::String);
    ds->AddField(u"tag"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    nulls.assign(count, false);
    for (unsigned r = 0; r < count; ++r) {
        ds->Append(c);
        if (kind.texts.empty()) {
            c[0] = kind.numbers[random() % kind.numbers.size()];
        } else if (const std::string &text = kind.texts[random() % kind.texts.size()]; text != "?") {
            c[0] = Utf8ToWide(text).c_str();
        } else {
            nulls[r] = true;
        }
        c[1] = wstring(1, static_cast<wchar>(u'x' + random() % 3)).c_str();
        c[2] = static_cast<int>(r);
    }
    return ds;
}

std::vector<Row> Rows(IMemDataSet &ds, const Kind &kind, const std::vector<bool> &nulls) {
    std::vector<Row> rows;
    for (unsigned r = 0; r < ds.GetRecordCount(); ++r) {
        Row row;
        row.tag = static_cast<int>(ds.GetNumeric(2, r));
        if (kind.texts.empty()) {
            row.number = ds.GetNumeric(0, r);
        } else {
            row.text = ds.GetString(0, r);
            row.null = nulls[static_cast<unsigned>(row.tag)];
        }
        row.second = ds.GetString(1, r);
        rows.push_back(row);
    }
    return rows;
}

std::vector<int> Tags(const std::vector<Row> &rows) {
    std::vector<int> tags;
    for (const Row &row : rows) tags.push_back(row.tag);
    return tags;
}

struct Keys {
    bool descending;
    bool caseSensitive;
    bool second;  // the second key, descending, after the first
};

// The order the sort must give: std::stable_sort over the rows as they stand.
std::vector<int> Expected(std::vector<Row> rows, const Kind &kind, const Keys &keys) {
    std::stable_sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
        int order =
            kind.texts.empty() ? NumberOrder(a.number, b.number) : TextOrder(a, b, keys.caseSensitive);
        if (keys.descending) order = -order;
        if (order == 0 && keys.second) order = -a.second.compare(b.second);
        return order < 0;
    });
    return Tags(rows);
}

void ClearKeys(IMemDataSet &ds) {
    for (int f = 0; f < static_cast<int>(ds.GetFieldCount()); ++f)
        ds.GetField(f)->SetSortType(IField::NotSorted);
}

void SortBy(IMemDataSet &ds, const Keys &keys) {
    ClearKeys(ds);
    SetKey(ds, 0, keys.descending ? IField::Descending : IField::Ascending, 0, keys.caseSensitive);
    if (keys.second) SetKey(ds, 1, IField::Descending, 1);
    ds.Sort();
}

// Every key kind, both directions, alone and before a second key, on
// records with many ties: each sort keeps the order the previous one left
// among records equal on every key, first the fill order, then the order of
// a sort by the second key alone.
TEST(StableSort, EqualRecordsKeepTheirOrderForEveryKeyKind) {
    std::mt19937 random(7);
    for (const Kind &kind : Kinds()) {
        for (const Keys &keys : {Keys{false, false, false}, Keys{true, false, false}, Keys{false, true, true},
                                 Keys{true, true, true}, Keys{false, false, true}}) {
            const std::string where = std::string(kind.name) + (keys.descending ? " desc" : " asc") +
                                      (keys.caseSensitive ? " case" : "") + (keys.second ? " +second" : "");
            std::vector<bool> nulls;
            DataSetPtr ds = Filled(kind, 1500 + random() % 4000, random, nulls);
            std::vector<int> expected = Expected(Rows(*ds, kind, nulls), kind, keys);
            SortBy(*ds, keys);
            EXPECT_EQ(IntColumn(*ds, 2), expected) << where;
            ClearKeys(*ds);
            SetKey(*ds, 1, IField::Ascending, 0);
            ds->Sort();
            expected = Expected(Rows(*ds, kind, nulls), kind, keys);
            SortBy(*ds, keys);
            EXPECT_EQ(IntColumn(*ds, 2), expected) << where << " after the second key";
        }
    }
}

// Long runs of equal texts go through the radix passes at every depth; the
// texts differ only after 6, 12 or 18 units, or not at all.
TEST(StableSort, LongRunsOfTextsThatDifferLate) {
    Kind late{"Late", IField::String, {}, {}};
    for (const char *tail : {"", "a", "b", "ab"}) {
        for (const char *head : {"abcdef", "abcdefghijkl", "abcdefghijklmnopqr"})
            late.texts.push_back(std::string(head) + tail);
    }
    std::mt19937 random(11);
    for (const Keys &keys : {Keys{false, true, false}, Keys{true, false, true}}) {
        std::vector<bool> nulls;
        DataSetPtr ds = Filled(late, 30000, random, nulls);
        const std::vector<int> expected = Expected(Rows(*ds, late, nulls), late, keys);
        SortBy(*ds, keys);
        EXPECT_EQ(IntColumn(*ds, 2), expected) << keys.descending;
    }
}

// A host rule that finds many records equal: they keep their order, and
// the host is still asked about no more pairs than before.
TEST(StableSort, RuleSortsKeepTiesInOrder) {
    DataSetPtr ds = MakeDataSet();
    ds->AddField(u"key"_w, IField::Int);
    ds->AddField(u"tag"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    std::vector<std::pair<int, int>> rows;
    for (int r = 0; r < 3000; ++r) {
        ds->Append(c);
        c[0] = (r * 7919) % 13;
        c[1] = r;
        rows.emplace_back((r * 7919) % 13, r);
    }
    ValueRule rule(*ds, -1);
    ds->SetSortRule(0, &rule);
    SetKey(*ds, 0, IField::Ascending, 0);
    ds->Sort();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<int> expected;
    for (const auto &row : rows) expected.push_back(row.second);
    EXPECT_EQ(IntColumn(*ds, 1), expected);
}

// The virtual data set's own sorts, over a random and a directional source:
// a sort by the number keeps the order a sort by the text left.
TEST(StableSort, VirtualDataSetsKeepTheOrderShown) {
    for (const bool randomSource : {true, false}) {
        testing::VectorHost host({"n", "s", "tag"}, {IField::Int, IField::String, IField::Int});
        std::vector<std::tuple<int, std::string, int>> rows;
        for (int r = 0; r < 300; ++r) {
            const std::string text(1, static_cast<char>('a' + (r * 31) % 5));
            host.rows.push_back(
                {CQueltVariant((r * 17) % 4), CQueltVariant(Utf8ToWide(text)), CQueltVariant(r)});
            rows.emplace_back((r * 17) % 4, text, r);
        }
        testing::VirtualPtr ds = randomSource ? testing::RandomOver(host) : testing::DirectionalOver(host);
        SetKey(*ds, 1, IField::Descending, 0);
        ds->Sort();
        ClearKeys(*ds);
        SetKey(*ds, 0, IField::Ascending, 0);
        ds->Sort();
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto &a, const auto &b) { return std::get<1>(a) > std::get<1>(b); });
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto &a, const auto &b) { return std::get<0>(a) < std::get<0>(b); });
        std::vector<int> expected;
        for (const auto &row : rows) expected.push_back(std::get<2>(row));
        EXPECT_EQ(testing::ViewInts(*ds, 2), expected) << randomSource;
    }
}

}  // namespace
}  // namespace quelt
