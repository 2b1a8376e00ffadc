#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "dataset_test_util.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/keydataset.h"

namespace quelt {
namespace {

using Cursor = IDataSet::Cursor;
using KeyCursor = CKeyDataSet::CMemCursor;
using testing::Recorder;

const char kOutOfRange[] = "Can't change a data cursor - new position is out of range";

// Field 0 is an Int holding the key, field 1 a String, 2 a BLOB, 3 a DateTime.
class KeyData : public ::testing::Test {
  protected:
    void SetUp() override {
        ds.AddField(u"n"_w, IField::Int);
        ds.AddField(u"s"_w, IField::String);
        ds.AddField(u"b"_w, IField::BLOB);
        ds.AddField(u"d"_w, IField::DateTime);
    }

    // Inserts the keys in the given order, writing each key into field 0 and its text into field 1.
    void Fill(std::initializer_list<unsigned> keys) {
        Cursor c = ds.CreateCursor();
        for (unsigned key : keys) {
            ds.Insert(c, key);
            c[0] = static_cast<int>(key);
            c[1] = Utf8ToWide("k" + std::to_string(key));
        }
    }

    CKeyDataSet ds;
};

unsigned KeyOf(const Cursor &c) { return static_cast<const KeyCursor *>(c.icursor())->GetIterator()->first; }

// The keys in cursor order, checking that field 0 holds each record's key.
std::vector<unsigned> Walk(CKeyDataSet &ds) {
    std::vector<unsigned> keys;
    for (Cursor c = ds.CreateCursor(); c.IsValid(); ++c) {
        EXPECT_EQ(static_cast<unsigned>(static_cast<int>(c[0])), KeyOf(c));
        keys.push_back(KeyOf(c));
    }
    return keys;
}

using Keys = std::vector<unsigned>;

// Order and cursor positions

TEST_F(KeyData, RecordsFollowAscendingKeys) {
    Fill({30, 10, 20});
    EXPECT_EQ(ds.GetRecordCount(), 3u);
    Cursor c = ds.CreateCursor();
    EXPECT_TRUE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 10);
    ++c;
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    ++c;
    EXPECT_EQ(static_cast<int>(c[0]), 30);
    ++c;
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 0);
}

TEST_F(KeyData, ManyRandomKeysComeOutSortedOnce) {
    std::mt19937 engine(7);
    std::set<unsigned> expected;
    Cursor c = ds.CreateCursor();
    for (int i = 0; i < 2000; ++i) {
        const unsigned key = engine() % 1500 + (i % 3 == 0 ? 4000000000u : 0u);
        expected.insert(key);
        ds.Insert(c, key);
        c[0] = static_cast<int>(key);
    }
    EXPECT_EQ(ds.GetRecordCount(), expected.size());
    EXPECT_EQ(Walk(ds), Keys(expected.begin(), expected.end()));
}

TEST_F(KeyData, EmptySetCursorStandsAtTheEnd) {
    Cursor c = ds.CreateCursor();
    EXPECT_FALSE(c.IsValid());
    --c;
    EXPECT_FALSE(c.IsValid());
    c += 3;
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 0);
}

TEST_F(KeyData, MovesStepInKeyOrderAndRebind) {
    Fill({10, 20, 30, 40});
    Cursor c = ds.CreateCursor();
    c += 2;
    EXPECT_EQ(KeyOf(c), 30u);
    --c;
    EXPECT_EQ(KeyOf(c), 20u);
    c += -1;
    EXPECT_EQ(KeyOf(c), 10u);
    c -= -3;
    EXPECT_EQ(KeyOf(c), 40u);
    EXPECT_EQ(static_cast<int>(c[0]), 40);
    c -= 2;
    EXPECT_EQ(KeyOf(c), 20u);
    c += 0;
    EXPECT_EQ(static_cast<wstring>(c[1]), u"k20"_w);
}

TEST_F(KeyData, BackFromTheEndReachesTheLargestKey) {
    Fill({10, 20});
    Cursor c = ds.CreateCursor();
    c += 2;
    ASSERT_FALSE(c.IsValid());
    --c;
    ASSERT_TRUE(c.IsValid());
    EXPECT_EQ(KeyOf(c), 20u);
}

TEST_F(KeyData, SteppingBeyondEitherEndLeavesTheCursorNotValid) {
    Fill({10, 20, 30});
    Cursor c = ds.CreateCursor();
    --c;
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 0);

    c = ds.CreateCursor();
    c += 5;
    EXPECT_FALSE(c.IsValid());
    ++c;
    EXPECT_FALSE(c.IsValid());

    c = ds.CreateCursor();
    ++c;
    c -= 2;
    EXPECT_FALSE(c.IsValid());

    c = ds.CreateCursor();
    c -= INT_MIN;
    EXPECT_FALSE(c.IsValid());
    c = ds.CreateCursor();
    c += INT_MIN;
    EXPECT_FALSE(c.IsValid());
}

TEST_F(KeyData, IsFirstAndIsLastAreAlwaysFalse) {
    Fill({10, 20});
    Cursor c = ds.CreateCursor();
    EXPECT_FALSE(c.IsFirst());
    EXPECT_FALSE(c.IsLast());
    ++c;
    EXPECT_FALSE(c.IsLast());
}

TEST_F(KeyData, EqualityMoveToAndClone) {
    Fill({10, 20, 30});
    Cursor a = ds.CreateCursor();
    Cursor b = ds.CreateCursor();
    ++b;
    EXPECT_FALSE(a == b);
    ++a;
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a == a);

    ++b;
    a.MoveTo(b);
    EXPECT_EQ(KeyOf(a), 30u);
    EXPECT_EQ(static_cast<int>(a[0]), 30);

    Cursor copy = a.clone();
    EXPECT_EQ(KeyOf(copy), 30u);
    EXPECT_TRUE(copy == a);
    EXPECT_NE(copy.icursor(), a.icursor());

    ++a;
    EXPECT_THROW(a.clone(), std::bad_cast);
}

TEST_F(KeyData, CursorsOfAnotherKindOrSetAreRefused) {
    Fill({10});
    CKeyDataSet other;
    other.AddField(u"n"_w, IField::Int);
    Cursor oc = other.CreateCursor();
    other.Insert(oc, 10);
    testing::DataSetPtr mem = testing::MakeDataSet();
    Cursor mc = mem->CreateCursor();

    Cursor c = ds.CreateCursor();
    EXPECT_THROW((void)(c == oc), std::bad_cast);
    EXPECT_THROW((void)(c == mc), std::bad_cast);
    EXPECT_THROW(c.MoveTo(oc), std::bad_cast);
    EXPECT_THROW(c.MoveTo(mc), std::bad_cast);
    EXPECT_THROW(ds.Insert(oc, 1), std::bad_cast);
    EXPECT_THROW(ds.Insert(mc, 1), std::bad_cast);
    EXPECT_THROW(ds.Erase(oc), std::bad_cast);
    EXPECT_THROW(ds.GoToKey(mc, 10), std::bad_cast);
    EXPECT_THROW(ds.CreateCursor(oc, 0), std::bad_cast);
    EXPECT_EQ(ds.GetRecordCount(), 1u);
    EXPECT_EQ(other.GetRecordCount(), 1u);
}

TEST_F(KeyData, FieldIndexOutsideTheCursorThrows) {
    Cursor c = ds.CreateCursor();
    EXPECT_THROW(c[4], FieldNotFound);
    EXPECT_THROW(c[-1], FieldNotFound);
    EXPECT_EQ(&c[u"s"_w], &c[1]);
    EXPECT_THROW(c[u"zz"_w], FieldNotFound);
}

// First() and Last()

TEST_F(KeyData, FirstStandsOnTheSmallestKeyAndLastAtTheEnd) {
    Fill({20, 10});
    const Cursor &first = ds.First();
    EXPECT_EQ(KeyOf(first), 10u);
    const Cursor &last = ds.Last();
    EXPECT_FALSE(last.IsValid());

    Fill({5});
    EXPECT_EQ(&ds.First(), &first);
    EXPECT_EQ(KeyOf(first), 5u);
    EXPECT_EQ(&ds.Last(), &last);

    Cursor c = ds.CreateCursor();
    ++c;
    c.First();
    EXPECT_EQ(KeyOf(c), 5u);
    c.Last();
    EXPECT_FALSE(c.IsValid());
}

// Insert

TEST_F(KeyData, InsertPlacesTheCursorOnTheNewZeroRecord) {
    Fill({10, 30});
    Cursor c = ds.CreateCursor();
    ds.Insert(c, 20);
    EXPECT_EQ(KeyOf(c), 20u);
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    EXPECT_EQ(static_cast<wstring>(c[1]), wstring());
    EXPECT_EQ(c[2].GetData(), nullptr);
    EXPECT_EQ(&ds.Insert(c, 25), &c);
}

TEST_F(KeyData, InsertHintAnywhereStillKeepsTheOrder) {
    Fill({100, 200, 300});
    Cursor atEnd = ds.CreateCursor();
    atEnd += 3;
    ds.Insert(atEnd, 50);
    atEnd[0] = 50;
    Cursor atFirst = ds.CreateCursor();
    ds.Insert(atFirst, 400);
    atFirst[0] = 400;
    Cursor mid = ds.CreateCursor();
    mid += 2;
    ds.Insert(mid, 150);
    mid[0] = 150;
    EXPECT_EQ(Walk(ds), (Keys{50, 100, 150, 200, 300, 400}));
}

TEST_F(KeyData, InsertLeavesOtherCursorsWhereTheyStand) {
    Fill({10, 30});
    Cursor watcher = ds.CreateCursor();
    ++watcher;
    Cursor c = ds.CreateCursor();
    ds.Insert(c, 20);
    ds.Insert(c, 5);
    EXPECT_EQ(KeyOf(watcher), 30u);
    EXPECT_EQ(static_cast<int>(watcher[0]), 30);
}

TEST_F(KeyData, InsertOnAPresentKeyKeepsOneRecordAndResetsItsOwnedCells) {
    Fill({10, 20, 30});
    Cursor c = ds.CreateCursor();
    ds.GoToKey(c, 20);
    int block = 0;
    c[2].SetData(&block);
    tdatetime date(1, 2, 2003);
    c[3] = date;
    Cursor fresh = ds.CreateCursor();
    ds.Insert(fresh, 99);
    const double initialDate = static_cast<tdatetime>(fresh[3]).GetDateTime();
    ds.Erase(99);
    ASSERT_NE(static_cast<tdatetime>(c[3]).GetDateTime(), initialDate);

    Cursor again = ds.CreateCursor();
    ds.Insert(again, 20);
    EXPECT_EQ(ds.GetRecordCount(), 3u);
    EXPECT_EQ(KeyOf(again), 20u);
    EXPECT_EQ(static_cast<wstring>(c[1]), wstring());
    EXPECT_EQ(c[2].GetData(), nullptr);
    EXPECT_EQ(static_cast<tdatetime>(c[3]).GetDateTime(), initialDate);
    // Number cells are not reset.
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    EXPECT_EQ(Walk(ds), (Keys{10, 20, 30}));
}

TEST_F(KeyData, InsertOnAPresentKeyGivesTheUnusedSlotBack) {
    Fill({7});
    for (int i = 0; i < 600; ++i) Fill({7});
    EXPECT_EQ(ds.GetRecordCount(), 1u);
    EXPECT_LE(ds.GetDataStorage().GetPageCount(), 2u);
    ds.Erase(7);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 0u);
}

// Erase

TEST_F(KeyData, EraseCursorMovesItToTheNextKey) {
    Fill({10, 20, 30});
    Cursor c = ds.CreateCursor();
    ++c;
    EXPECT_EQ(&ds.Erase(c), &c);
    EXPECT_EQ(KeyOf(c), 30u);
    EXPECT_EQ(static_cast<int>(c[0]), 30);
    EXPECT_THROW(ds.Erase(20u), KeyNotFound);
    ds.Erase(c);
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(Walk(ds), (Keys{10}));
}

TEST_F(KeyData, EraseOfANotValidCursorIsRefused) {
    Fill({10});
    Cursor c = ds.CreateCursor();
    ++c;
    EXPECT_THROW(ds.Erase(c), std::bad_cast);
    Cursor empty;
    EXPECT_THROW(ds.Erase(empty), std::bad_cast);
    EXPECT_EQ(ds.GetRecordCount(), 1u);
}

TEST_F(KeyData, EraseByKeyRemovesOnlyThatRecord) {
    Fill({10, 20, 30});
    ds.Erase(10u);
    EXPECT_EQ(Walk(ds), (Keys{20, 30}));
    EXPECT_THROW(ds.Erase(10u), KeyNotFound);
    EXPECT_THROW(ds.Erase(25u), KeyNotFound);
    EXPECT_EQ(ds.GetRecordCount(), 2u);
}

TEST_F(KeyData, CursorsOnAnErasedRecordMoveToTheEnd) {
    Fill({10, 20, 30});
    Cursor eraser = ds.CreateCursor();
    ++eraser;
    Cursor bystander = ds.CreateCursor();
    ++bystander;
    Cursor other = ds.CreateCursor();
    ds.Erase(eraser);
    EXPECT_FALSE(bystander.IsValid());
    EXPECT_EQ(static_cast<wstring>(bystander[1]), wstring());
    bystander[0] = 5;
    EXPECT_EQ(KeyOf(other), 10u);
    EXPECT_EQ(static_cast<int>(other[0]), 10);

    ds.GoToKey(other, 30);
    ds.Erase(30u);
    EXPECT_FALSE(other.IsValid());
    EXPECT_EQ(static_cast<int>(other[0]), 0);
    EXPECT_EQ(Walk(ds), (Keys{10}));
}

TEST_F(KeyData, ACursorTheDataSetStopsTrackingIsCutLoose) {
    Fill({10, 20});
    Cursor c = ds.CreateCursor();
    ds.DeleteCursor(c);
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    ds.Erase(10u);  // would leave c's fields on a freed record
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    ds.DeleteCursor(ds.First());  // First() keeps its cursor
    EXPECT_EQ(KeyOf(ds.First()), 20u);
}

// GoToKey

TEST_F(KeyData, GoToKeyReachesTheRecordOfTheKey) {
    Fill({10, 20, 30});
    Cursor c = ds.CreateCursor();
    EXPECT_EQ(&ds.GoToKey(c, 20), &c);
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    EXPECT_EQ(static_cast<wstring>(c[1]), u"k20"_w);
    EXPECT_THROW(ds.GoToKey(c, 25), KeyNotFound);
    EXPECT_EQ(KeyOf(c), 20u);
    EXPECT_EQ(static_cast<int>(c[0]), 20);
}

TEST_F(KeyData, GoToKeyNeedsAValidCursor) {
    Fill({10});
    Cursor c = ds.CreateCursor();
    ++c;
    EXPECT_THROW(ds.GoToKey(c, 10), std::bad_cast);
    c.MoveTo(ds.First());
    ds.GoToKey(c, 10);
    EXPECT_TRUE(c.IsValid());
}

// CreateCursor(from, n)

TEST_F(KeyData, CreateCursorFromStepsInKeyOrder) {
    Fill({10, 20, 30});
    Cursor on20 = ds.CreateCursor();
    ++on20;
    Cursor back = ds.CreateCursor(on20, -1);
    EXPECT_EQ(KeyOf(back), 10u);
    EXPECT_EQ(static_cast<int>(back[0]), 10);
    Cursor ahead = ds.CreateCursor(on20, 1);
    EXPECT_EQ(KeyOf(ahead), 30u);
    Cursor same = ds.CreateCursor(on20, 0);
    EXPECT_TRUE(same == on20);
    Cursor far = ds.CreateCursor(back, 2);
    EXPECT_EQ(KeyOf(far), 30u);
}

TEST_F(KeyData, CreateCursorFromBeyondTheKeysThrowsOutOfRange) {
    Fill({10, 20, 30});
    Cursor on10 = ds.CreateCursor();
    Cursor on30 = ds.CreateCursor(on10, 2);
    try {
        ds.CreateCursor(on10, -1);
        FAIL() << "no exception";
    } catch (const std::out_of_range &e) {
        EXPECT_STREQ(e.what(), kOutOfRange);
    }
    EXPECT_THROW(ds.CreateCursor(on30, 1), std::out_of_range);
    EXPECT_THROW(ds.CreateCursor(on10, 3), std::out_of_range);
    EXPECT_THROW(ds.CreateCursor(on30, INT_MIN), std::out_of_range);
}

TEST_F(KeyData, CreateCursorFromANotValidCursorIsRefused) {
    Fill({10});
    Cursor c = ds.CreateCursor();
    ++c;
    EXPECT_THROW(ds.CreateCursor(c, 0), std::bad_cast);
    EXPECT_THROW(ds.CreateCursor(c, -1), std::bad_cast);
    Cursor empty;
    EXPECT_THROW(ds.CreateCursor(empty, 0), std::bad_cast);
}

// Fields

TEST_F(KeyData, FieldsAreLookedUpByNameAndIndex) {
    EXPECT_EQ(ds.GetFieldCount(), 4u);
    EXPECT_EQ(ds.GetFieldIndex(u"b"_w), 2);
    EXPECT_THROW(ds.GetFieldIndex(u"zz"_w), FieldNotFound);
    EXPECT_EQ(ds.GetFieldName(1), u"s"_w);
    EXPECT_THROW(ds.GetFieldName(4), FieldNotFound);
    EXPECT_THROW(ds.GetFieldName(-1), FieldNotFound);
    EXPECT_EQ(ds.GetField(u"d"_w), ds.GetField(3));
    EXPECT_EQ(ds.GetField(3)->GetType(), IField::DateTime);
    EXPECT_EQ(ds.GetField(u"zz"_w), nullptr);
    EXPECT_THROW(ds.GetField(9), FieldNotFound);
    EXPECT_THROW(ds.AddField(u"s"_w, IField::Int), FieldAlreadyExists);
    EXPECT_THROW(ds.AddField(u"bad"_w, static_cast<IField::Types>(42)), std::invalid_argument);
    EXPECT_EQ(ds.GetFieldCount(), 4u);
}

TEST(KeyLayout, CellsAreAlignedToTheirSize) {
    CKeyDataSet ds;
    EXPECT_EQ(ds.AddField(u"flag"_w, IField::Bool), 1);
    EXPECT_EQ(ds.AddField(u"small"_w, IField::Short), 2);
    EXPECT_EQ(ds.AddField(u"real"_w, IField::Double), 3);
    EXPECT_EQ(ds.AddField(u"text"_w, IField::String), 4);
    const std::vector<int> &offsets = ds.GetDataStorage().GetOffsets();
    EXPECT_EQ(offsets, (std::vector<int>{0, 2, 8, 16}));
    EXPECT_EQ(ds.GetDataStorage().GetRecordSize(), 16u + sizeof(wchar *));
}

TEST_F(KeyData, AddFieldWithRecordsKeepsTheirValues) {
    Fill({10, 20});
    Cursor c = ds.CreateCursor();
    EXPECT_EQ(ds.AddField(u"later"_w, IField::String), 5);
    EXPECT_EQ(static_cast<wstring>(c[1]), u"k10"_w);
    EXPECT_EQ(static_cast<wstring>(c[4]), wstring());
    c[4] = u"new"_w;
    ++c;
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    EXPECT_EQ(static_cast<wstring>(c[4]), wstring());
    ds.GoToKey(c, 10);
    EXPECT_EQ(static_cast<wstring>(c[4]), u"new"_w);
    EXPECT_EQ(Walk(ds), (Keys{10, 20}));
}

TEST_F(KeyData, InsertFieldAndDeleteFieldAreRefused) {
    EXPECT_THROW(ds.InsertField(0, u"x"_w, IField::Int), std::logic_error);
    EXPECT_THROW(ds.DeleteField(u"n"_w), std::logic_error);
    EXPECT_THROW(ds.DeleteField(0u), std::logic_error);
    EXPECT_EQ(ds.GetFieldCount(), 4u);
}

TEST_F(KeyData, SetFieldFormatReachesCursors) {
    Fill({10});
    Cursor c = ds.CreateCursor();
    ds.SetFieldFormat(0, u"d,"_w);
    EXPECT_EQ(ds.GetFieldFormat(0), u"d,"_w);
    EXPECT_EQ(c[0].GetFormat(), u"d,"_w);
    ds.SetFieldFormat(9, u"d,"_w);
    EXPECT_EQ(ds.GetFieldFormat(9), wstring());
    Cursor later = ds.CreateCursor();
    EXPECT_EQ(later[0].GetFormat(), u"d,"_w);
}

TEST_F(KeyData, ColumnsAreNotOffered) {
    Fill({10});
    IDataSet::Column column = ds.CreateColumn(0);
    EXPECT_FALSE(column.IsValid());
    ds.DeleteColumn(column);
    EXPECT_FALSE(ds.CreateColumnByName(u"n"_w).IsValid());
}

TEST_F(KeyData, NothingIsNotified) {
    Recorder recorder(ds);
    CDataSetNotify listener;
    EXPECT_FALSE(ds.Subscribe(listener.AsNotify(), typeid(IDataSetNotify), false));
    ds.AddField(u"extra"_w, IField::Double);
    ds.SetFieldFormat(0, u"d,"_w);
    Fill({10, 20});
    Cursor c = ds.CreateCursor();
    c[4] = 2.5;
    c[3] = tdatetime(1, 1, 2000);
    ds.Erase(c);
    ds.Erase(20u);
    EXPECT_TRUE(recorder.notices.empty());
}

// EraseAll, Clear and destruction

TEST_F(KeyData, EraseAllFreesRecordsPagesAndCutsCursorsLoose) {
    Fill({10, 20, 30});
    auto cursor = std::make_unique<Cursor>(ds.CreateCursor());
    ds.EraseAll();
    EXPECT_EQ(ds.GetRecordCount(), 0u);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 0u);
    EXPECT_FALSE(cursor->IsValid());
    EXPECT_EQ(cursor->dataset(), nullptr);
    ++*cursor;
    EXPECT_FALSE(cursor->IsValid());
    (*cursor)[1] = u"ignored"_w;
    EXPECT_EQ(static_cast<wstring>((*cursor)[1]), wstring());
    EXPECT_THROW(ds.Insert(*cursor, 1), std::bad_cast);
    EXPECT_THROW(cursor->clone(), std::bad_cast);
    cursor.reset();

    Fill({40});
    EXPECT_EQ(Walk(ds), (Keys{40}));
    Cursor c = ds.CreateCursor();
    EXPECT_EQ(static_cast<wstring>(c[1]), u"k40"_w);
}

TEST_F(KeyData, EraseAllKeepsFirstAndLastHandles) {
    Fill({10});
    const Cursor &first = ds.First();
    const Cursor &last = ds.Last();
    ds.EraseAll();
    EXPECT_FALSE(first.IsValid());
    EXPECT_FALSE(last.IsValid());
    Fill({3});
    EXPECT_EQ(&ds.First(), &first);
    EXPECT_EQ(KeyOf(first), 3u);
}

TEST_F(KeyData, ClearDropsFieldsAndRecords) {
    Fill({10, 20});
    const Cursor &first = ds.First();
    ds.Clear();
    EXPECT_EQ(ds.GetFieldCount(), 0u);
    EXPECT_EQ(ds.GetRecordCount(), 0u);
    EXPECT_THROW(first[0], FieldNotFound);
    EXPECT_EQ(ds.AddField(u"v"_w, IField::Short), 1);
    EXPECT_EQ(ds.GetDataStorage().GetRecordSize(), 2u);
    Cursor c = ds.CreateCursor();
    ds.Insert(c, 1);
    c[0] = 9;
    Cursor reader = ds.CreateCursor();
    EXPECT_EQ(static_cast<int>(reader[0]), 9);
}

TEST(KeyLifetime, HandlesOutliveTheDataSet) {
    auto ds = std::make_unique<CKeyDataSet>();
    ds->AddField(u"s"_w, IField::String);
    Cursor c = ds->CreateCursor();
    ds->Insert(c, 1);
    c[0] = u"text"_w;
    Cursor moved = ds->CreateCursor();
    ds->First();
    ds.reset();
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    EXPECT_EQ(static_cast<wstring>(c[0]), wstring());
    c[0] = u"ignored"_w;
    --c;
    EXPECT_THROW((void)(c == moved), std::bad_cast);
    EXPECT_FALSE(moved.IsValid());
}

TEST(KeyLifetime, DefaultReserveAndADirectlyDeletedCursor) {
    EXPECT_EQ(CKeyDataSet::def_reserved, 100u);
    CKeyDataSet ds(5);
    ds.AddField(u"n"_w, IField::Int);
    Cursor c = ds.CreateCursor();
    ds.Insert(c, 1);
    delete c.reset();
    Cursor d = ds.CreateCursor();
    ds.Erase(d);
    EXPECT_EQ(ds.GetRecordCount(), 0u);
}

// Record pages

TEST(KeyPages, The257thRecordTakesASecondPageAndEmptyPagesGo) {
    CKeyDataSet ds;
    ds.AddField(u"n"_w, IField::Int);
    Cursor c = ds.CreateCursor();
    for (unsigned key = 1; key <= 256; ++key) ds.Insert(c, key);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 1u);
    ds.Insert(c, 257);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 2u);
    ds.Erase(257u);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 1u);
    for (unsigned key = 1; key <= 255; ++key) ds.Erase(key);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 1u);
    ds.Erase(256u);
    EXPECT_EQ(ds.GetDataStorage().GetPageCount(), 0u);
}

TEST(KeyStorage, TreeOperationsWithoutADataSet) {
    CKeyDataSet::CMapDataStorage storage;
    EXPECT_EQ(storage.First(), storage.Last());
    auto b = storage.Insert(storage.Last(), 2);
    auto a = storage.Insert(b, 1);
    EXPECT_NE(a->second, b->second);
    EXPECT_EQ(storage.First(), a);
    EXPECT_EQ(storage.Insert(storage.First(), 2), b);
    EXPECT_EQ(storage.Size(), 2u);
    EXPECT_EQ(storage.GoToKey(2), b);
    EXPECT_THROW(storage.GoToKey(3), KeyNotFound);
    EXPECT_EQ(storage.Erase(a), b);
    EXPECT_THROW(storage.Erase(1u), KeyNotFound);
    storage.Erase(2u);
    EXPECT_EQ(storage.Size(), 0u);
    EXPECT_EQ(storage.GetPageCount(), 0u);
    storage.Insert(storage.Last(), 5);
    storage.EraseAll();
    EXPECT_EQ(storage.Size(), 0u);
    EXPECT_EQ(storage.GetPageCount(), 0u);
}

}  // namespace
}  // namespace quelt
