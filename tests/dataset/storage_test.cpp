#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "dataset_test_util.h"
#include "quelt/core/exceptions.h"

namespace quelt {
namespace {

using testing::DataSetPtr;
using testing::MakeDataSet;
using testing::Mem;
using Storage = CMemDataSet::CVecDataStorage;

TEST(RecordLayout, PlacesEachCellAtAMultipleOfItsOwnSize) {
    auto ds = MakeDataSet();
    ds->AddField(u"b"_w, IField::Bool);
    ds->AddField(u"d"_w, IField::Double);
    ds->AddField(u"s"_w, IField::Short);
    EXPECT_EQ(Mem(ds).GetFieldShift(0), 0);
    EXPECT_EQ(Mem(ds).GetFieldShift(1), 8);
    EXPECT_EQ(Mem(ds).GetFieldShift(2), 16);
    EXPECT_EQ(Mem(ds).GetDataStorage().GetRecordSize(), 18u);
    EXPECT_EQ(Mem(ds).GetDataStorage().GetStride(), 24u);
}

TEST(RecordLayout, PointerAndIntervalCellsAlignToTheirSize) {
    auto ds = MakeDataSet();
    ds->AddField(u"b"_w, IField::Bool);
    ds->AddField(u"s"_w, IField::String);
    ds->AddField(u"i"_w, IField::Int);
    ds->AddField(u"span"_w, IField::DateTimeInterval);
    ds->AddField(u"blob"_w, IField::BLOB);
    const int ptr = static_cast<int>(sizeof(void *));
    EXPECT_EQ(Mem(ds).GetFieldShift(1), ptr);
    EXPECT_EQ(Mem(ds).GetFieldShift(2), 2 * ptr);
    EXPECT_EQ(Mem(ds).GetFieldShift(3), 32);
    EXPECT_EQ(Mem(ds).GetFieldShift(4), 48);
    EXPECT_EQ(Mem(ds).GetDataStorage().GetRecordSize(), 48u + sizeof(void *));
    EXPECT_THROW(Mem(ds).GetFieldShift(5), FieldNotFound);
}

TEST(RecordLayout, EveryCellOfEveryRecordIsAligned) {
    auto ds = MakeDataSet();
    ds->AddField(u"b"_w, IField::Bool);
    ds->AddField(u"s"_w, IField::Short);
    ds->AddField(u"b2"_w, IField::Bool);
    ds->AddField(u"d"_w, IField::Double);
    ds->AddField(u"b3"_w, IField::Bool);  // record size 25, stride 32
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 300; ++i) {
        ds->Append(c);
        for (int f = 0; f < 5; ++f) {
            const auto address = reinterpret_cast<std::uintptr_t>(c[f].GetData());
            EXPECT_EQ(address % static_cast<unsigned>(c[f].GetSize()), 0u);
        }
    }
}

TEST(RecordLayout, ADataSetWithoutFieldsHasRecordSizeZero) {
    auto ds = MakeDataSet();
    EXPECT_EQ(Mem(ds).GetDataStorage().GetRecordSize(), 0u);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    ds->Append(c);
    EXPECT_EQ(ds->GetRecordCount(), 2u);
    EXPECT_NE(Mem(ds).GetDataStorage().GetAddress(0), Mem(ds).GetDataStorage().GetAddress(1));
}

TEST(Pages, The257thRecordComesFromASecondPage) {
    Storage storage;
    storage.SetRecordSize(4);
    for (int i = 0; i < 256; ++i) storage.Append();
    EXPECT_EQ(storage.GetPageCount(), 1u);
    const unsigned char *first = storage.GetAddress(0);
    EXPECT_EQ(storage.GetAddress(255), first + 255 * storage.GetStride());
    storage.Append();
    EXPECT_EQ(storage.GetPageCount(), 2u);
    const unsigned char *extra = storage.GetAddress(256);
    EXPECT_TRUE(extra < first || extra >= first + 256 * storage.GetStride());
}

TEST(Pages, AFullyErasedPageIsReleasedAndSlotsAreNotReused) {
    Storage storage;
    storage.SetRecordSize(8);
    for (int i = 0; i < 300; ++i) storage.Append();
    EXPECT_EQ(storage.GetPageCount(), 2u);
    for (int i = 0; i < 256; ++i) storage.Erase(0);
    EXPECT_EQ(storage.GetPageCount(), 1u);
    EXPECT_EQ(storage.Size(), 44u);
    const unsigned char *before = storage.GetAddress(43);
    storage.Erase(43);
    storage.Append();
    EXPECT_EQ(storage.GetAddress(43), before + storage.GetStride());
    storage.EraseAll();
    EXPECT_EQ(storage.GetPageCount(), 0u);
    EXPECT_EQ(storage.Size(), 0u);
}

TEST(Pages, RecordPagesHandOutSlotsOnceAndIgnoreForeignRecords) {
    CRecordPages pages;
    pages.SetRecordSize(3);
    pages.SetRecordInPage(2);
    EXPECT_EQ(pages.GetStride(), 8u);
    unsigned char *a = pages.Take();
    unsigned char *b = pages.Take();
    EXPECT_EQ(b, a + 8);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % 8, 0u);
    unsigned char foreign[8] = {};
    pages.Free(foreign);
    pages.Free(nullptr);
    EXPECT_EQ(pages.GetPageCount(), 1u);
    pages.Free(a);
    unsigned char *c = pages.Take();  // a's slot is not handed out again
    EXPECT_NE(c, a);
    EXPECT_EQ(pages.GetPageCount(), 2u);
    pages.Free(b);
    EXPECT_EQ(pages.GetPageCount(), 1u);
    pages.Free(c);
    EXPECT_EQ(pages.GetPageCount(), 0u);
}

TEST(Pages, NewRecordsAreZeroFilled) {
    Storage storage;
    storage.SetRecordSize(16);
    storage.Append();
    unsigned char *record = storage.GetAddress(0);
    for (int i = 0; i < 16; ++i) record[i] = 0xAB;
    storage.Insert(0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(storage.GetAddress(0)[i], 0);
    EXPECT_EQ(storage.GetAddress(1), record);
}

TEST(Pages, LayoutChangesNeedAnEmptyStorage) {
    Storage storage;
    storage.SetRecordInPage(2);
    storage.SetRecordSize(4);
    storage.Append();
    EXPECT_THROW(storage.SetRecordSize(8), std::logic_error);
    storage.Append();
    storage.Append();
    EXPECT_EQ(storage.GetPageCount(), 2u);
}

TEST(RecordVector, InsertEraseAndMoveOnlyMovePointers) {
    Storage storage;
    storage.SetRecordSize(4);
    for (int i = 0; i < 4; ++i) storage.Append();
    std::vector<unsigned char *> before = storage.Records();
    EXPECT_EQ(storage.Move(0, 3), 3u);
    EXPECT_EQ(storage.GetAddress(3), before[0]);
    EXPECT_EQ(storage.GetAddress(0), before[1]);
    unsigned char *taken = storage.TakeRecord(1);
    EXPECT_EQ(taken, before[2]);
    storage.InsertRecord(0, taken);
    EXPECT_EQ(storage.GetAddress(0), before[2]);
    EXPECT_EQ(storage.Insert(2), 2u);
    EXPECT_EQ(storage.Size(), 5u);
    EXPECT_EQ(storage.Erase(2), 2u);
    EXPECT_EQ(storage.Size(), 4u);
    EXPECT_EQ(std::set<unsigned char *>(storage.Records().begin(), storage.Records().end()),
              std::set<unsigned char *>(before.begin(), before.end()));
}

TEST(RecordVector, IndicesOutsideTheVectorAreRefused) {
    Storage storage;
    storage.SetRecordSize(4);
    storage.Append();
    EXPECT_THROW(storage.Erase(1), std::out_of_range);
    EXPECT_THROW(storage.Insert(2), std::out_of_range);
    EXPECT_THROW(storage.Move(0, 1), std::out_of_range);
    EXPECT_EQ(storage.GetAddress(1), nullptr);
    EXPECT_EQ(storage.First(), 0u);
    EXPECT_EQ(storage.Last(), 1u);
}

TEST(RecordVector, TheConstantRecordIsForgottenWhenErased) {
    Storage storage;
    storage.SetRecordSize(4);
    for (int i = 0; i < 3; ++i) storage.Append();
    storage.SetConstCur(1);
    EXPECT_EQ(storage.GetConstRecord(), storage.GetAddress(1));
    storage.Erase(0);
    EXPECT_EQ(storage.GetConstRecord(), storage.GetAddress(0));
    storage.Erase(0);
    EXPECT_EQ(storage.GetConstRecord(), nullptr);
}

TEST(RecordVector, InitCursorBindsFieldsAtTheirOffsetsAndUnbindsPastTheEnd) {
    auto ds = MakeDataSet();
    ds->AddField(u"b"_w, IField::Bool);
    ds->AddField(u"d"_w, IField::Double);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    Storage &storage = Mem(ds).GetDataStorage();
    std::vector<CMemFieldBase *> fields{Mem(ds).GetCloneField(0)->clone(), Mem(ds).GetCloneField(1)->clone()};
    storage.InitCursor(fields, 0);
    EXPECT_EQ(fields[0]->GetData(), storage.GetAddress(0));
    EXPECT_EQ(fields[1]->GetData(), storage.GetAddress(0) + 8);
    storage.InitCursor(fields, 1);
    EXPECT_EQ(fields[0]->GetData(), nullptr);
    EXPECT_EQ(fields[1]->GetData(), nullptr);
    storage.InitField(fields[1], 0, 8);
    EXPECT_EQ(fields[1]->GetData(), storage.GetAddress(0) + 8);
    for (CMemFieldBase *f : fields) delete f;
}

}  // namespace
}  // namespace quelt
