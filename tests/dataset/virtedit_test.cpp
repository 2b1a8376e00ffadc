#include <gtest/gtest.h>

#include <stdexcept>
#include <typeinfo>

#include "quelt/core/exceptions.h"
#include "virt_test_util.h"

namespace quelt {
namespace {

using testing::DirectionalOver;
using testing::IntStringHost;
using testing::RandomOver;
using testing::Recorder;
using testing::VectorHost;
using testing::ViewInts;
using testing::ViewTexts;
using testing::VirtualPtr;

std::unique_ptr<VectorHost> Numbers(int count) {
    std::vector<std::pair<int, std::string>> values;
    for (int i = 0; i < count; ++i) values.push_back({i, "r" + std::to_string(i)});
    return IntStringHost(values);
}

int Index(const IDataSet::Cursor &c) {
    return static_cast<CVirtualDataSet::CVirtualCursor *>(c.icursor())->GetIterator();
}

VirtualPtr Over(VectorHost &host, bool random) { return random ? RandomOver(host) : DirectionalOver(host); }

class VirtualEditBoth : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Sources, VirtualEditBoth, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "Random" : "Directional";
                         });

TEST_P(VirtualEditBoth, InsertShiftsCursorsAtAndAfterIt) {
    auto host = Numbers(8);
    auto ds = Over(*host, GetParam());
    Recorder recorder(*ds);
    IDataSet::Cursor at = ds->CreateCursor(), before = ds->CreateCursor(), after = ds->CreateCursor();
    at += 3;
    before += 2;
    after += 5;
    ds->Insert(at);
    EXPECT_EQ(Index(at), 3);
    EXPECT_EQ(Index(before), 2);
    EXPECT_EQ(Index(after), 6);
    EXPECT_EQ(host->rows.size(), 9u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 2, 0, 3, 4, 5, 6, 7}));
    EXPECT_EQ(static_cast<int>(after[0]), 5);
    EXPECT_EQ(recorder.Names(), std::vector<std::string>{"InsertRow"});
    EXPECT_EQ(recorder.sources[0], static_cast<IEventSender *>(ds.get()));
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualEditBoth, AppendPlacesTheCursorOnTheNewRecord) {
    auto host = Numbers(2);
    auto ds = Over(*host, GetParam());
    IDataSet::Cursor c = ds->CreateCursor();
    IDataSet::Cursor other = ds->CreateCursor();
    ++other;
    ds->Append(c);
    EXPECT_EQ(Index(c), 2);
    EXPECT_EQ(Index(other), 1);
    EXPECT_EQ(ds->GetRecordCount(), 3u);
    EXPECT_EQ(host->Count("Append"), 1u);
    unsigned record = 2;
    ds->SetFieldValue(0, record, 42);
    EXPECT_EQ(host->rows[2][0].GetInt(), 42);
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualEditBoth, InsertPastTheEndAppends) {
    auto host = Numbers(0);
    auto ds = Over(*host, GetParam());
    IDataSet::Cursor c = ds->CreateCursor();
    ++c;
    ds->Insert(c);
    EXPECT_EQ(Index(c), 0);
    EXPECT_EQ(host->Count("Append"), 1u);
    ds->Insert(c);
    EXPECT_EQ(host->rows.size(), 2u);
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualEditBoth, EraseMovesOthersBackAndRaisesUpdateGeneral) {
    auto host = Numbers(6);
    auto ds = Over(*host, GetParam());
    Recorder recorder(*ds);
    IDataSet::Cursor c = ds->CreateCursor(), later = ds->CreateCursor(), earlier = ds->CreateCursor();
    c += 2;
    later += 4;
    earlier += 1;
    ds->Erase(c);
    EXPECT_EQ(Index(c), 2);
    EXPECT_EQ(static_cast<int>(c[0]), 3);
    EXPECT_EQ(Index(later), 3);
    EXPECT_EQ(static_cast<int>(later[0]), 4);
    EXPECT_EQ(Index(earlier), 1);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 3, 4, 5}));
    EXPECT_EQ(recorder.Names(), std::vector<std::string>{"UpdateGeneral"});
    c.Last();
    ds->Erase(c);
    EXPECT_EQ(Index(c), 3);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(host->faults, 0);
}

TEST_P(VirtualEditBoth, EraseNeedsAValidCursorOfThisDataSet) {
    auto host = Numbers(1);
    auto ds = Over(*host, GetParam());
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Erase(c);
    EXPECT_THROW(ds->Erase(c), std::bad_cast);
    IDataSet::Cursor memory = testing::MakeDataSet()->CreateCursor();
    EXPECT_THROW(ds->Insert(memory), std::bad_cast);
    EXPECT_THROW(ds->Append(memory), std::bad_cast);
    EXPECT_THROW(ds->SetConstCur(memory), std::bad_cast);
}

TEST_P(VirtualEditBoth, SetFieldValueWritesTheHostAndReportsOnce) {
    auto host = Numbers(3);
    auto ds = Over(*host, GetParam());
    Recorder recorder(*ds);
    unsigned record = 1;
    ds->SetFieldValue(1, record, u"new"_w);
    ds->SetFieldValue(0, record, 2.75);
    EXPECT_EQ(record, 1u);
    EXPECT_EQ(host->rows[1][1].GetString(), u"new"_w);
    EXPECT_EQ(host->rows[1][0].GetType(), CQueltVariant::Double);
    EXPECT_EQ(ds->GetNumeric(0, 1), 2.0);
    ASSERT_EQ(recorder.Names(), (std::vector<std::string>{"UpdateField", "UpdateField"}));
    EXPECT_EQ(recorder.notices[0].field, ds->GetField(1));
    record = 3;
    EXPECT_THROW(ds->SetFieldValue(0, record, 1), std::out_of_range);
    EXPECT_THROW(ds->SetFieldValue(5, record, 1), FieldNotFound);
}

TEST_P(VirtualEditBoth, EraseAllDetachesHeldCursors) {
    auto host = Numbers(4);
    auto ds = Over(*host, GetParam());
    IDataSet::Cursor held = ds->CreateCursor();
    held += 2;
    const IDataSet::Cursor &first = ds->First();
    ds->EraseAll();
    EXPECT_FALSE(held.IsValid());
    EXPECT_EQ(held.dataset(), nullptr);
    ++held;
    EXPECT_EQ(&ds->First(), &first);
    EXPECT_EQ(ds->GetRecordCount(), 0u);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    EXPECT_EQ(Index(c), 0);
    EXPECT_EQ(host->rows.size(), 1u);
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualEdit, WithoutAnEditorNothingChanges) {
    auto host = Numbers(3);
    auto ds = RandomOver(*host, false);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Insert(c);
    ds->Append(c);
    ds->Erase(c);
    ds->EraseAll();
    unsigned record = 0;
    ds->SetFieldValue(0, record, 9);
    EXPECT_EQ(ds->Move(0, 2), 2u);
    EXPECT_TRUE(c.IsValid());
    EXPECT_EQ(host->rows.size(), 3u);
    EXPECT_EQ(host->rows[0][0].GetInt(), 0);
}

TEST(VirtualEdit, MoveThroughTheHost) {
    auto host = Numbers(4);
    auto ds = RandomOver(*host);
    EXPECT_EQ(ds->Move(0, 3), 3u);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{1, 2, 3, 0}));
    EXPECT_THROW(ds->Move(4, 0), std::out_of_range);
}

TEST(VirtualEdit, DirectionalHostKeepsItsPositionAcrossEdits) {
    auto host = Numbers(5);
    auto ds = DirectionalOver(*host);
    IDataSet::Cursor c = ds->CreateCursor();
    c += 3;
    ds->Erase(c);
    EXPECT_EQ(host->position, 3);
    EXPECT_EQ(static_cast<int>(c[0]), 4);
    c.First();
    ds->Insert(c);
    EXPECT_EQ(host->position, 0);
    unsigned record = 0;
    ds->SetFieldValue(0, record, 100);
    EXPECT_EQ(ViewInts(*ds), (std::vector<int>{100, 0, 1, 2, 4}));
    EXPECT_EQ(host->faults, 0);
}

TEST(VirtualEdit, ClearErasesTheHostAndDropsTheFields) {
    auto host = Numbers(2);
    auto ds = RandomOver(*host);
    ds->Clear();
    EXPECT_TRUE(host->rows.empty());
    EXPECT_EQ(ds->GetFieldCount(), 0u);
    ds->SetMetaData(host.get());
    EXPECT_EQ(ds->GetFieldCount(), 2u);
}

}  // namespace
}  // namespace quelt
