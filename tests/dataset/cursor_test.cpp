#include <gtest/gtest.h>

#include "dataset_test_util.h"
#include "quelt/core/exceptions.h"

namespace quelt {
namespace {

using testing::AppendRecords;
using testing::DataSetPtr;
using testing::MakeDataSet;
using testing::Mem;

DataSetPtr Numbers(unsigned count) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    AppendRecords(*ds, count, [](unsigned i) { return static_cast<int>(i * 10); });
    return ds;
}

IDataSet::Cursor At(IMemDataSet &ds, unsigned index) {
    IDataSet::Cursor c = ds.CreateCursor();
    c += static_cast<int>(index);
    return c;
}

unsigned IndexOf(const IDataSet::Cursor &c) {
    return dynamic_cast<CMemDataSet::CMemCursor *>(c.icursor())->GetIterator();
}

TEST(CursorHandle, CopyMovesTheCursorAndLeavesTheSourceEmpty) {
    auto ds = Numbers(3);
    IDataSet::Cursor a = ds->CreateCursor();
    const IDataSet::Cursor &source = a;
    IDataSet::Cursor b(source);
    EXPECT_EQ(a.icursor(), nullptr);
    EXPECT_FALSE(a.IsValid());
    EXPECT_THROW(++a, BadCursor);
    EXPECT_THROW(a[0], BadCursor);
    EXPECT_THROW(a.dataset(), BadCursor);
    EXPECT_THROW(a.clone(), BadCursor);
    IDataSet::Cursor c;
    c = b;
    EXPECT_EQ(b.icursor(), nullptr);
    EXPECT_TRUE(c.IsValid());
    IDataSet::Cursor &alias = c;
    c = alias;
    EXPECT_TRUE(c.IsValid());
    IDataSet::ICursor *raw = c.reset();
    EXPECT_FALSE(c.IsValid());
    delete raw;
}

// A cursor of a class derived from the data set's own kind is still one of
// its cursors, however its type is recognised.
TEST(CursorHandle, DerivedCursorClassesCountAsOwnCursors) {
    struct Derived : CMemDataSet::CMemCursor {
        using CMemCursor::CMemCursor;
    };
    auto ds = Numbers(3);
    IDataSet::Cursor own = At(*ds, 2);
    Derived derived(&dynamic_cast<CMemDataSet &>(*ds));
    EXPECT_FALSE(*own.icursor() == derived);
    derived.MoveTo(*own.icursor());
    EXPECT_TRUE(*own.icursor() == derived);
    EXPECT_EQ(derived.GetIterator(), 2u);
}

TEST(CursorHandle, DestroyingTheHandleMakesTheDataSetForgetTheCursor) {
    auto ds = Numbers(3);
    IDataSet::Cursor inserter = At(*ds, 1);
    { IDataSet::Cursor gone = At(*ds, 2); }
    IDataSet::Cursor kept = At(*ds, 2);
    IDataSet::ICursor *keptRaw = kept.icursor();
    kept = At(*ds, 2);  // the old cursor is forgotten before the new one is taken
    ds->Insert(inserter);
    EXPECT_EQ(IndexOf(kept), 3u);
    EXPECT_NE(kept.icursor(), keptRaw);
}

TEST(CursorHandle, ACursorTheDataSetStopsTrackingIsCutLoose) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = At(*ds, 2);
    ds->DeleteCursor(c);
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    EXPECT_EQ(c[0].GetData(), nullptr);
    IDataSet::Cursor other = At(*ds, 0);
    ds->Erase(other);  // would leave c's fields on a freed record
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    ds.reset();  // c's handle outlives the data set and must not call back
}

TEST(CursorHandle, FirstAndLastKeepTheirCursorsTracked) {
    auto ds = Numbers(3);
    ds->DeleteCursor(ds->First());
    ds->DeleteCursor(ds->Last());
    ds->AddField(u"flag"_w, IField::Bool);  // the cursors must follow the new field list
    EXPECT_EQ(ds->First()[1].GetType(), IField::Bool);
    EXPECT_EQ(ds->Last()[1].GetType(), IField::Bool);
    EXPECT_FALSE(ds->Last().IsValid());
}

TEST(CursorHandle, CompareIsIdentityOrSamePosition) {
    auto ds = Numbers(3);
    IDataSet::Cursor a = At(*ds, 1), b = At(*ds, 1), c = At(*ds, 2);
    EXPECT_TRUE(a == a);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    EXPECT_TRUE(a != c);
    IDataSet::Cursor empty;
    EXPECT_THROW((void)(a == empty), BadCursor);
    auto other = Numbers(3);
    IDataSet::Cursor foreign = other->CreateCursor();
    EXPECT_THROW((void)(a == foreign), std::bad_cast);
}

TEST(CursorMoves, ClampAtBothEnds) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = At(*ds, 2);
    ++c;
    EXPECT_EQ(IndexOf(c), 2u);
    EXPECT_TRUE(c.IsLast());
    c -= 5;
    EXPECT_EQ(IndexOf(c), 0u);
    EXPECT_TRUE(c.IsFirst());
    --c;
    EXPECT_EQ(IndexOf(c), 0u);
    c += 10;
    EXPECT_EQ(IndexOf(c), 2u);
    c -= 1;
    c += -5;  // below 0 lands on the last record
    EXPECT_EQ(IndexOf(c), 2u);
    c -= 2;
    c -= -1;  // as += 1
    EXPECT_EQ(IndexOf(c), 1u);
    EXPECT_EQ(static_cast<int>(c[0]), 10);
}

TEST(CursorMoves, EveryMoveRebindsTheFields) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = ds->CreateCursor();
    EXPECT_EQ(static_cast<int>(c[u"n"_w]), 0);
    ++c;
    EXPECT_EQ(static_cast<int>(c[0]), 10);
    c += 1;
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    c.First();
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    EXPECT_THROW(c[u"missing"_w], FieldNotFound);
    EXPECT_THROW(c[1], FieldNotFound);
}

// Fields held across moves read each cell of the new record at its own
// offset, and read as unbound once the cursor has no record.
TEST(CursorMoves, HeldFieldsFollowEveryCellOfTheRecord) {
    auto ds = MakeDataSet();
    ds->AddField(u"b"_w, IField::Bool);
    ds->AddField(u"d"_w, IField::Double);
    ds->AddField(u"s"_w, IField::String);
    ds->AddField(u"i"_w, IField::Int);
    IDataSet::Cursor writer = ds->CreateCursor();
    for (int r = 0; r < 3; ++r) {
        ds->Append(writer);
        writer[0] = r == 1;
        writer[1] = r + 0.5;
        writer[2] = Utf8ToWide(std::to_string(r)).c_str();
        writer[3] = 100 + r;
    }
    IDataSet::Cursor c = ds->CreateCursor();
    IField &flag = c[0];
    IField &real = c[1];
    IField &text = c[2];
    const IDataSet::Cursor &constant = c;
    const IField &number = constant[3];
    for (int r = 0; r < 3; ++r, ++c) {
        EXPECT_EQ(static_cast<bool>(flag), r == 1);
        EXPECT_EQ(static_cast<double>(real), r + 0.5);
        EXPECT_EQ(static_cast<wstring>(text), Utf8ToWide(std::to_string(r)));
        EXPECT_EQ(static_cast<int>(const_cast<IField &>(number)), 100 + r);
    }
    ds->EraseAll();
    c += 0;
    EXPECT_EQ(flag.GetData(), nullptr);
    EXPECT_EQ(number.GetSize(), 4);
    EXPECT_EQ(static_cast<int>(const_cast<IField &>(number)), 0);
    EXPECT_EQ(static_cast<double>(real), 0.0);
}

TEST(CursorHandle, EmptyConstHandlesThrow) {
    const IDataSet::Cursor cursor;
    EXPECT_THROW(cursor[0], BadCursor);
    const IDataSet::Column column;
    EXPECT_THROW(column[0], BadCursor);
    IDataSet::Column moved;
    EXPECT_THROW(moved[0], BadCursor);
}

TEST(CursorMoves, WithNoRecordsACursorIsNeverValid) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    IDataSet::Cursor c = ds->CreateCursor();
    EXPECT_FALSE(c.IsValid());
    ++c;
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    EXPECT_TRUE(ds->IsEmpty());
    auto noFields = MakeDataSet();
    EXPECT_TRUE(noFields->IsEmpty());
}

TEST(FirstAndLast, LastStandsPastTheEnd) {
    auto ds = Numbers(3);
    const IDataSet::Cursor &last = ds->Last();
    EXPECT_EQ(IndexOf(last), 3u);
    EXPECT_FALSE(last.IsValid());
    EXPECT_TRUE(ds->First().IsValid());
    EXPECT_EQ(IndexOf(ds->First()), 0u);
    IDataSet::Cursor c = At(*ds, 1);
    c.Last();
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(IndexOf(c), 3u);
    c.First();
    EXPECT_TRUE(c.IsFirst());
    ds->Insert(c);
    EXPECT_EQ(IndexOf(ds->Last()), 4u);
}

TEST(CreateCursorFrom, OffsetMustLandOnARecord) {
    auto ds = Numbers(5);
    IDataSet::Cursor c = ds->CreateCursor();
    EXPECT_THROW(ds->CreateCursor(c, 5), std::out_of_range);
    EXPECT_THROW(ds->CreateCursor(c, -1), std::out_of_range);
    try {
        ds->CreateCursor(c, 5);
    } catch (const std::out_of_range &e) {
        EXPECT_STREQ(e.what(), "Can't change a data cursor - new position is out of range");
    }
    IDataSet::Cursor d = ds->CreateCursor(c, 4);
    EXPECT_EQ(IndexOf(d), 4u);
    EXPECT_EQ(static_cast<int>(d[0]), 40);
    IDataSet::Cursor e = d.clone();
    EXPECT_EQ(IndexOf(e), 4u);
    EXPECT_NE(e.icursor(), d.icursor());
}

TEST(CreateCursorFrom, RefusesInvalidForeignAndEmptyCursors) {
    auto ds = Numbers(2);
    IDataSet::Cursor past = ds->CreateCursor();
    past.Last();
    EXPECT_THROW(ds->CreateCursor(past, 0), std::bad_cast);
    IDataSet::Cursor empty;
    EXPECT_THROW(ds->CreateCursor(empty, 0), std::bad_cast);
    auto other = Numbers(2);
    IDataSet::Cursor foreign = other->CreateCursor();
    EXPECT_THROW(ds->CreateCursor(foreign, 0), std::bad_cast);
    IDataSet::Cursor mine = ds->CreateCursor();
    EXPECT_THROW(mine.MoveTo(foreign), std::bad_cast);
    EXPECT_THROW(ds->Insert(foreign), std::bad_cast);
    EXPECT_THROW(ds->Append(empty), std::bad_cast);
    EXPECT_THROW(ds->Erase(past), std::bad_cast);
}

TEST(CursorAdjustment, InsertShiftsCursorsAtOrAfterThePosition) {
    auto ds = Numbers(5);
    IDataSet::Cursor a = At(*ds, 1), b = At(*ds, 3), c = At(*ds, 2), d = At(*ds, 2);
    ds->Insert(c);
    EXPECT_EQ(IndexOf(c), 2u);
    EXPECT_EQ(IndexOf(a), 1u);
    EXPECT_EQ(IndexOf(b), 4u);
    EXPECT_EQ(IndexOf(d), 3u);
    EXPECT_EQ(static_cast<int>(b[0]), 30);
    EXPECT_EQ(static_cast<int>(d[0]), 20);
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    ds->Erase(c);
    EXPECT_EQ(IndexOf(c), 2u);
    EXPECT_EQ(IndexOf(a), 1u);
    EXPECT_EQ(IndexOf(b), 3u);
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    EXPECT_EQ(static_cast<int>(b[0]), 30);
}

TEST(CursorAdjustment, InsertAtTheEdgesAndPastTheEnd) {
    auto ds = Numbers(3);
    IDataSet::Cursor front = ds->CreateCursor(), watcher = At(*ds, 0), tail = At(*ds, 2);
    ds->Insert(front);
    EXPECT_EQ(IndexOf(watcher), 1u);
    EXPECT_EQ(IndexOf(tail), 3u);
    IDataSet::Cursor past = ds->CreateCursor();
    past.Last();
    ds->Insert(past);  // beyond the last record: appended
    EXPECT_EQ(IndexOf(past), 4u);
    EXPECT_EQ(ds->GetRecordCount(), 5u);
    EXPECT_EQ(IndexOf(tail), 3u);
    EXPECT_EQ(testing::IntColumn(*ds), (std::vector<int>{0, 0, 10, 20, 0}));
}

TEST(CursorAdjustment, AppendLeavesOtherCursorsAlone) {
    auto ds = Numbers(2);
    IDataSet::Cursor a = At(*ds, 1), c = ds->CreateCursor();
    ds->Append(c);
    EXPECT_EQ(IndexOf(c), 2u);
    EXPECT_EQ(IndexOf(a), 1u);
}

TEST(CursorAdjustment, InsertAtEveryPosition) {
    for (unsigned inserted = 0; inserted <= 4; ++inserted) {
        auto ds = Numbers(4);
        std::vector<IDataSet::Cursor> watchers;
        for (unsigned i = 0; i < 4; ++i) watchers.push_back(At(*ds, i));
        IDataSet::Cursor inserter = ds->CreateCursor();
        if (inserted == 4) {
            inserter.Last();
        } else {
            inserter += static_cast<int>(inserted);
        }
        ds->Insert(inserter);
        EXPECT_EQ(IndexOf(inserter), inserted);
        EXPECT_EQ(static_cast<int>(inserter[0]), 0);
        for (unsigned i = 0; i < 4; ++i) {
            EXPECT_EQ(IndexOf(watchers[i]), i < inserted ? i : i + 1) << inserted << " " << i;
            EXPECT_EQ(static_cast<int>(watchers[i][0]), static_cast<int>(i * 10));
        }
    }
}

TEST(CursorAdjustment, EraseAtEveryPosition) {
    for (unsigned erased = 0; erased < 4; ++erased) {
        auto ds = Numbers(4);
        std::vector<IDataSet::Cursor> watchers;
        for (unsigned i = 0; i < 4; ++i) watchers.push_back(At(*ds, i));
        IDataSet::Cursor eraser = At(*ds, erased);
        ds->Erase(eraser);
        EXPECT_EQ(IndexOf(eraser), erased);
        EXPECT_EQ(eraser.IsValid(), erased < 3);
        for (unsigned i = 0; i < 4; ++i) {
            const unsigned expected = i < erased ? i : (i == 0 ? 0 : i - 1);
            EXPECT_EQ(IndexOf(watchers[i]), expected) << erased << " " << i;
            if (i != erased) {
                EXPECT_EQ(static_cast<int>(watchers[i][0]), static_cast<int>(i * 10));
            }
        }
    }
}

TEST(CursorAdjustment, ErasingTheLastRecordLeavesTheCursorPastTheEnd) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = At(*ds, 2);
    ds->Erase(c);
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    EXPECT_EQ(c[0].GetData(), nullptr);
    c[0] = 5;  // unbound: ignored
    EXPECT_EQ(testing::IntColumn(*ds), (std::vector<int>{0, 10}));
}

TEST(DetachedCursors, EraseAllLeavesHandlesSafe) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = At(*ds, 1);
    IField &field = c[0];
    ds->EraseAll();
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    EXPECT_EQ(static_cast<int>(field), 0);
    field = 7;
    ++c;
    EXPECT_FALSE(c.IsValid());
    EXPECT_THROW(c.clone(), std::bad_cast);
    EXPECT_THROW(ds->Insert(c), std::bad_cast);
    EXPECT_TRUE(ds->First().dataset() == ds.get());
    IDataSet::Cursor fresh = ds->CreateCursor();
    ds->Append(fresh);
    EXPECT_FALSE(c.IsValid());
}

TEST(DetachedCursors, DestroyingTheDataSetLeavesHandlesSafe) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = At(*ds, 1);
    IDataSet::Cursor stolen = ds->First();  // takes the data set's own cursor
    IDataSet::Column col = ds->CreateColumn(0);
    IField &field = col[1];
    ds.reset();
    EXPECT_FALSE(c.IsValid());
    EXPECT_FALSE(stolen.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    EXPECT_EQ(col.dataset(), nullptr);
    EXPECT_EQ(col.GetSize(), 0);
    field = 3;
    EXPECT_EQ(static_cast<int>(col.Get()), 0);
}

TEST(DetachedCursors, ClearDetachesCursorsAndColumns) {
    auto ds = Numbers(3);
    IDataSet::Cursor c = At(*ds, 1);
    IDataSet::Column col = ds->CreateColumn(0);
    ds->Clear();
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(col.dataset(), nullptr);
    EXPECT_EQ(ds->GetFieldCount(), 0u);
    EXPECT_FALSE(ds->First().IsValid());
}

TEST(Columns, ClampEveryMoveToTheRecords) {
    auto ds = Numbers(4);
    IDataSet::Column col = ds->CreateColumn(0);
    EXPECT_EQ(col.GetIndex(), 0);
    EXPECT_EQ(col.GetSize(), 4);
    EXPECT_TRUE(col.IsBOF());
    EXPECT_EQ(static_cast<int>(col.Get()), 0);
    EXPECT_EQ(static_cast<int>(col[2]), 20);
    EXPECT_EQ(static_cast<int>(col[-5]), 0);
    EXPECT_EQ(static_cast<int>(col[99]), 30);
    EXPECT_TRUE(col.IsEOF());
    EXPECT_EQ(static_cast<int>(col.Next()), 30);
    EXPECT_EQ(static_cast<int>(col.Prev()), 20);
    EXPECT_EQ(static_cast<int>(col.First()), 0);
    EXPECT_EQ(static_cast<int>(col.Prev()), 0);
    EXPECT_EQ(static_cast<int>(col.Last()), 30);
    col[1] = 11;
    EXPECT_EQ(ds->GetNumeric(0, 1), 11.0);
    EXPECT_EQ(col.dataset(), ds.get());
}

TEST(Columns, BadIndicesGiveEmptyHandles) {
    auto ds = Numbers(2);
    IDataSet::Column none = ds->CreateColumn(-1);
    EXPECT_FALSE(none.IsValid());
    EXPECT_THROW(none.Get(), BadCursor);
    EXPECT_THROW(none.GetSize(), BadCursor);
    EXPECT_FALSE(ds->CreateColumn(1).IsValid());
    EXPECT_THROW(ds->CreateColumnByName(u"missing"_w), FieldNotFound);
    EXPECT_TRUE(ds->CreateColumnByName(u"n"_w).IsValid());
}

TEST(Columns, RebindOnEveryAccessAndAfterErase) {
    auto ds = Numbers(3);
    IDataSet::Column col = ds->CreateColumn(0);
    IField &field = col[2];
    IDataSet::Cursor c = At(*ds, 2);
    ds->Erase(c);
    EXPECT_EQ(static_cast<int>(field), 10);  // clamped to the new last record
    EXPECT_EQ(static_cast<int>(col.Get()), 10);
    IDataSet::Column copy(col);
    EXPECT_FALSE(col.IsValid());
    EXPECT_EQ(static_cast<int>(copy.Get()), 10);
    IDataSet::Column empty;
    empty = copy;
    EXPECT_TRUE(empty.IsValid());
    EXPECT_FALSE(copy.IsValid());
}

TEST(Columns, WithNoRecordsTheFieldIsUnbound) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    IDataSet::Column col = ds->CreateColumn(0);
    EXPECT_EQ(col.Get().GetData(), nullptr);
    EXPECT_EQ(col.GetSize(), 0);
    col.Next() = 4;
    EXPECT_EQ(ds->GetRecordCount(), 0u);
}

}  // namespace
}  // namespace quelt
