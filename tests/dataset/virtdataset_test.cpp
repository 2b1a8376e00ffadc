#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <type_traits>
#include <typeinfo>

#include "quelt/core/exceptions.h"
#include "virt_test_util.h"

namespace quelt {
namespace {

using testing::DirectionalOver;
using testing::IntStringHost;
using testing::MakeVirtual;
using testing::RandomOver;
using testing::Recorder;
using testing::VectorHost;
using testing::ViewInts;
using testing::ViewTexts;

std::unique_ptr<VectorHost> Numbers(int count) {
    std::vector<std::pair<int, std::string>> values;
    for (int i = 0; i < count; ++i) values.push_back({i * 10, "r" + std::to_string(i)});
    return IntStringHost(values);
}

static_assert(!std::is_copy_constructible_v<CVirtualDataSet> && !std::is_copy_assignable_v<CVirtualDataSet>,
              "a virtual data set owns its fields and tracks its cursors");

// Schema

TEST(VirtualSchema, FieldsComeFromTheMetaData) {
    auto host = Numbers(0);
    auto ds = MakeVirtual();
    EXPECT_TRUE(ds->IsVirtual());
    ds->SetMetaData(host.get());
    ASSERT_EQ(ds->GetFieldCount(), 2u);
    EXPECT_EQ(ds->GetFieldName(0), u"n"_w);
    EXPECT_EQ(ds->GetField(1)->GetType(), IField::String);
    EXPECT_EQ(ds->GetFieldIndex(u"s"_w), 1);
    EXPECT_THROW(ds->GetFieldIndex(u"x"_w), FieldNotFound);
    EXPECT_THROW(ds->GetFieldName(2), FieldNotFound);
    EXPECT_EQ(ds->GetField(u"x"_w), nullptr);
    EXPECT_EQ(ds->GetCloneField(0), ds->GetField(0));
    EXPECT_EQ(ds->GetFieldShift(0), 0);
    EXPECT_EQ(ds->GetFieldShift(1), 4);
    EXPECT_EQ(ds->GetFieldShift(2), 20);
}

TEST(VirtualSchema, ChangesAreIgnoredWhileMetaDataIsSet) {
    auto host = Numbers(0);
    auto ds = MakeVirtual();
    ds->SetMetaData(host.get());
    Recorder recorder(*ds);
    EXPECT_EQ(ds->AddField(u"extra"_w, IField::Int), 2);
    EXPECT_EQ(ds->InsertField(0, u"extra"_w, IField::Int), 2);
    EXPECT_EQ(ds->DeleteField(0u), 2);
    EXPECT_THROW(ds->AddField(u"n"_w, IField::Int), FieldAlreadyExists);
    EXPECT_TRUE(recorder.notices.empty());
    ds->SetMetaData(host.get());
    EXPECT_EQ(ds->GetFieldCount(), 2u);
}

TEST(VirtualSchema, OwnFieldsWithoutMetaData) {
    auto ds = MakeVirtual();
    Recorder recorder(*ds);
    EXPECT_EQ(ds->AddField(u"a"_w, IField::Int), 1);
    EXPECT_EQ(ds->InsertField(0, u"b"_w, IField::Double), 2);
    EXPECT_EQ(ds->InsertField(9, u"c"_w, IField::Bool), 3);
    EXPECT_EQ(ds->GetFieldName(0), u"b"_w);
    EXPECT_EQ(ds->GetFieldName(2), u"c"_w);
    EXPECT_EQ(ds->DeleteField(u"b"_w), 2);
    EXPECT_EQ(ds->DeleteField(u"zz"_w), 2);
    EXPECT_EQ(recorder.Names(),
              (std::vector<std::string>{"AddColumn", "AddColumn", "AddColumn", "DelColumn"}));
    ds->Clear();
    EXPECT_EQ(ds->GetFieldCount(), 0u);
}

TEST(VirtualSchema, FormatsAreSetOnceAndReported) {
    auto host = Numbers(2);
    auto ds = RandomOver(*host);
    Recorder recorder(*ds);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->SetFieldFormat(0, u"h"_w);
    ds->SetFieldFormat(0, u"h"_w);
    ds->SetFieldFormat(7, u"h"_w);
    ASSERT_EQ(recorder.Names(), std::vector<std::string>{"SetFormat"});
    EXPECT_EQ(recorder.notices[0].index, 0);
    EXPECT_EQ(ds->GetFieldFormat(0), u"h"_w);
    EXPECT_EQ(ds->GetFieldFormat(7), wstring());
    ++c;
    EXPECT_EQ(static_cast<wstring>(c[0]), u"0xA"_w);
    EXPECT_EQ(ds->GetString(0, 1), u"0xA"_w);
}

TEST(VirtualSchema, NewMetaDataReclonesCursorFields) {
    auto host = Numbers(1);
    VectorHost other({"x"}, {IField::Double});
    other.rows.push_back({CQueltVariant(2.5)});
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->SetMetaData(&other);
    ds->SetDataRandom(&other);
    EXPECT_THROW(c[1], FieldNotFound);
    EXPECT_EQ(c[0].GetType(), IField::Double);
    ++c;
    EXPECT_EQ(static_cast<double>(c[0]), 2.5);
}

// Sources and counts

TEST(VirtualSource, NoSourceMeansNoRecords) {
    auto ds = MakeVirtual();
    ds->AddField(u"a"_w, IField::Int);
    EXPECT_FALSE(ds->IsRandom());
    EXPECT_EQ(ds->GetRecordCount(), 0u);
    IDataSet::Cursor c = ds->CreateCursor();
    c += 3;
    --c;
    EXPECT_FALSE(c.IsValid());
    EXPECT_TRUE(c.IsLast());
}

TEST(VirtualSource, CountIsReadAfreshAndCached) {
    auto host = Numbers(3);
    auto ds = RandomOver(*host);
    EXPECT_TRUE(ds->IsRandom());
    EXPECT_EQ(ds->Size(), 3u);
    host->rows.pop_back();
    EXPECT_EQ(ds->Size(), 3u);
    EXPECT_EQ(ds->GetRecordCount(), 2u);
    EXPECT_EQ(ds->Size(), 2u);
}

TEST(VirtualSource, ValuesAreReadThroughTheFields) {
    auto host = Numbers(3);
    auto ds = RandomOver(*host);
    EXPECT_EQ(ds->GetNumeric(0, 2), 20.0);
    EXPECT_EQ(ds->GetString(1, 1), u"r1"_w);
    EXPECT_EQ(ds->GetString(0, 1), u"10"_w);
    EXPECT_EQ(ds->GetVoid(0, 1), nullptr);
    EXPECT_THROW(ds->GetNumeric(0, 3), std::out_of_range);
    EXPECT_THROW(ds->GetNumeric(2, 0), FieldNotFound);
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualSource, StreamsIntoAMemoryDataSet) {
    VectorHost host({"i", "s", "w", "d"}, {IField::Int, IField::String, IField::Int64, IField::DateTime});
    host.rows.push_back({CQueltVariant(7), CQueltVariant(u"two words"_w),
                         CQueltVariant(static_cast<int64>(-5000000000LL)), CQueltVariant(730120.25)});
    host.rows.push_back(
        {CQueltVariant(-1), CQueltVariant(), CQueltVariant(static_cast<int64>(3)), CQueltVariant(2.0)});
    auto ds = RandomOver(host);
    std::stringstream stream;
    stream << *ds;
    auto memory = testing::MakeDataSet();
    stream >> *memory;
    ASSERT_FALSE(stream.fail());
    ASSERT_EQ(memory->GetRecordCount(), 2u);
    EXPECT_EQ(memory->GetNumeric(0, 0), 7.0);
    EXPECT_EQ(memory->GetString(1, 0), u"two words"_w);
    EXPECT_EQ(memory->GetNumeric(2, 0), -5000000000.0);
    EXPECT_EQ(memory->GetNumeric(3, 0), 730120.25);
    EXPECT_EQ(memory->GetString(1, 1), wstring());
    EXPECT_EQ(memory->GetNumeric(0, 1), -1.0);
}

// Cursors

TEST(VirtualCursorMove, ClampsToTheRecords) {
    auto host = Numbers(4);
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    EXPECT_TRUE(c.IsFirst());
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    c += 2;
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    c += 10;
    EXPECT_TRUE(c.IsLast());
    EXPECT_EQ(static_cast<int>(c[u"n"_w]), 30);
    c -= 10;
    EXPECT_TRUE(c.IsFirst());
    c += -1;
    EXPECT_TRUE(c.IsLast());
    c -= -5;
    EXPECT_TRUE(c.IsLast());
    --c;
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    EXPECT_THROW(c[5], FieldNotFound);
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualCursorMove, EmptyDataSetLeavesTheCursorInvalid) {
    auto host = Numbers(0);
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    EXPECT_EQ(static_cast<CVirtualDataSet::CVirtualCursor *>(c.icursor())->GetIterator(), -1);
    EXPECT_FALSE(c.IsValid());
    EXPECT_TRUE(c.IsLast());
    EXPECT_NE(ds->First().icursor(), nullptr);
    EXPECT_FALSE(ds->Last().IsValid());
    EXPECT_EQ(host->Count("GetValue"), 0u);
}

TEST(VirtualCursorMove, CompareCloneAndMoveTo) {
    auto host = Numbers(5);
    auto ds = RandomOver(*host);
    IDataSet::Cursor a = ds->CreateCursor();
    a += 3;
    IDataSet::Cursor b = a.clone();
    EXPECT_TRUE(a == b);
    ++b;
    EXPECT_TRUE(a != b);
    IDataSet::Cursor c = ds->CreateCursor(a, -2);
    EXPECT_EQ(static_cast<int>(c[0]), 10);
    c.MoveTo(b);
    EXPECT_EQ(static_cast<int>(c[0]), 40);
    EXPECT_THROW(ds->CreateCursor(a, 2), std::out_of_range);
    auto other = RandomOver(*host);
    IDataSet::Cursor foreign = other->CreateCursor();
    EXPECT_THROW(ds->CreateCursor(foreign, 0), std::bad_cast);
    EXPECT_THROW(static_cast<void>(a == foreign), std::bad_cast);
    EXPECT_THROW(a.MoveTo(foreign), std::bad_cast);
    IDataSet::Cursor memory = testing::MakeDataSet()->CreateCursor();
    EXPECT_THROW(ds->CreateCursor(memory, 0), std::bad_cast);
}

TEST(VirtualCursorMove, FirstAndLastStandOnTheEnds) {
    auto host = Numbers(3);
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    c.Last();
    EXPECT_TRUE(c.IsValid());
    EXPECT_EQ(static_cast<int>(c[0]), 20);
    c.First();
    EXPECT_EQ(static_cast<int>(c[0]), 0);
    const IDataSet::Cursor &last = ds->Last();
    host->rows.push_back({CQueltVariant(99), CQueltVariant(u"x"_w)});
    EXPECT_EQ(&ds->Last(), &last);
    EXPECT_EQ(static_cast<int>(const_cast<IDataSet::Cursor &>(last)[0]), 99);
}

TEST(VirtualCursorMove, WritesThroughACursorChangeOnlyItsCopy) {
    auto host = Numbers(2);
    auto ds = RandomOver(*host);
    Recorder recorder(*ds);
    IDataSet::Cursor c = ds->CreateCursor();
    c[0] = 77;
    EXPECT_EQ(static_cast<int>(c[0]), 77);
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(host->rows[0][0].GetInt(), 0);
    EXPECT_EQ(host->Count("SetValue"), 0u);
}

TEST(VirtualCursorMove, DirectionalSourceMovesOnlyAsFarAsNeeded) {
    auto host = Numbers(6);
    auto ds = DirectionalOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    c += 4;
    EXPECT_EQ(host->Count("Next"), 0u);
    EXPECT_EQ(static_cast<int>(c[0]), 40);
    EXPECT_EQ(host->Count("Next"), 4u);
    EXPECT_EQ(host->position, 4);
    c -= 1;
    EXPECT_EQ(static_cast<wstring>(c[1]), u"r3"_w);
    EXPECT_EQ(host->Count("Prev"), 1u);
    EXPECT_EQ(static_cast<int>(c[0]), 30);
    EXPECT_EQ(host->Count("Prev"), 1u);
    EXPECT_EQ(host->Count("Next"), 4u);
    EXPECT_EQ(ds->GetNumeric(0, 5), 50.0);
    EXPECT_EQ(host->Count("Next"), 6u);
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualCursorMove, DataSetDestructionDetachesCursors) {
    auto host = Numbers(2);
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    IDataSet::Column col = ds->CreateColumn(0);
    ds.reset();
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    ++c;
    EXPECT_EQ(col.GetSize(), 0);
    col.Next();
}

TEST(VirtualCursorMove, ACursorTheDataSetStopsTrackingIsCutLoose) {
    auto host = Numbers(2);
    auto ds = RandomOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->DeleteCursor(c);
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.dataset(), nullptr);
    ds->DeleteCursor(ds->First());  // First() keeps its cursor
    EXPECT_TRUE(ds->First().IsValid());
    ds.reset();  // c's handle outlives the data set and must not call back
    ++c;
}

// Columns

TEST(VirtualColumnMove, WalksAndClampsOverBothSources) {
    for (bool random : {true, false}) {
        auto host = Numbers(4);
        auto ds = random ? RandomOver(*host) : DirectionalOver(*host);
        IDataSet::Column col = ds->CreateColumn(0);
        EXPECT_EQ(col.GetIndex(), 0);
        EXPECT_EQ(col.GetSize(), 4);
        EXPECT_TRUE(col.IsBOF());
        EXPECT_EQ(static_cast<int>(col.Next()), 10);
        EXPECT_EQ(static_cast<int>(col[9]), 30);
        EXPECT_TRUE(col.IsEOF());
        EXPECT_EQ(static_cast<int>(col.Next()), 30);
        EXPECT_EQ(static_cast<int>(col[-4]), 0);
        EXPECT_EQ(static_cast<int>(col.Prev()), 0);
        EXPECT_EQ(static_cast<int>(col.Last()), 30);
        EXPECT_EQ(static_cast<int>(col.First()), 0);
        host->rows[0][0] = CQueltVariant(5);
        EXPECT_EQ(static_cast<int>(col.Get()), 5);
        EXPECT_FALSE(ds->CreateColumn(2).IsValid());
        EXPECT_FALSE(ds->CreateColumn(-1).IsValid());
        EXPECT_EQ(host->faults, 0);
    }
}

TEST(VirtualColumnMove, SizeAndEndFollowTheHostsCount) {
    auto host = Numbers(3);
    auto ds = RandomOver(*host);
    IDataSet::Column col = ds->CreateColumn(0);
    EXPECT_EQ(static_cast<int>(col.Last()), 20);
    EXPECT_TRUE(col.IsEOF());
    host->rows.push_back(host->rows.back());
    EXPECT_EQ(col.GetSize(), 4);
    EXPECT_FALSE(col.IsEOF());
}

TEST(VirtualColumnMove, ColumnOnAnEmptySourceFetchesNothing) {
    auto host = Numbers(0);
    auto ds = DirectionalOver(*host);
    IDataSet::Column col = ds->CreateColumn(1);
    col.Next();
    col.Last();
    EXPECT_EQ(host->Count("GetValue"), 0u);
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualColumnMove, ShiftIsTheSumOfTheSizesBefore) {
    auto host = Numbers(1);
    auto ds = RandomOver(*host);
    EXPECT_EQ(dynamic_cast<CVirtualDataSet::CVirtualColumn *>(ds->CreateColumn(1).icolumn()) != nullptr,
              true);
    IDataSet::Column col = ds->CreateColumn(1);
    EXPECT_EQ(static_cast<CVirtualDataSet::CVirtualColumn *>(col.icolumn())->GetShift(), 4);
}

}  // namespace
}  // namespace quelt
