#include <gtest/gtest.h>

#include "core/wtext_p.h"
#include "dataset_test_util.h"
#include "quelt/core/exceptions.h"
#include "quelt/dataset/providers.h"

namespace quelt {
namespace {

using testing::AppendRecords;
using testing::DataSetPtr;
using testing::IntColumn;
using testing::MakeDataSet;
using testing::Mem;
using testing::Recorder;
using Names = std::vector<std::string>;

TEST(FieldDefinition, AddInsertAndLookUpByNameAndIndex) {
    auto ds = MakeDataSet();
    EXPECT_EQ(ds->AddField(u"a"_w, IField::Int), 1);
    EXPECT_EQ(ds->AddField(u"c"_w, IField::Double), 2);
    EXPECT_EQ(ds->InsertField(1, u"b"_w, IField::String), 3);
    EXPECT_EQ(ds->InsertField(99, u"d"_w, IField::Bool), 4);
    EXPECT_EQ(ds->GetFieldIndex(u"b"_w), 1);
    EXPECT_EQ(ds->GetFieldName(3), u"d"_w);
    EXPECT_EQ(ds->GetField(u"c"_w)->GetType(), IField::Double);
    EXPECT_EQ(ds->GetField(2), ds->GetField(u"c"_w));
    EXPECT_EQ(ds->GetField(u"zz"_w), nullptr);
    EXPECT_THROW(ds->GetFieldIndex(u"zz"_w), FieldNotFound);
    EXPECT_THROW(ds->GetFieldName(4), FieldNotFound);
    EXPECT_THROW(ds->GetFieldName(-1), FieldNotFound);
    EXPECT_THROW(ds->GetField(4), FieldNotFound);
    EXPECT_THROW(ds->AddField(u"a"_w, IField::Int), FieldAlreadyExists);
    EXPECT_THROW(ds->InsertField(0, u"c"_w, IField::Int), FieldAlreadyExists);
    EXPECT_EQ(ds->GetFieldCount(), 4u);
}

TEST(FieldDefinition, DeleteIgnoresUnknownFields) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->AddField(u"b"_w, IField::Int);
    EXPECT_EQ(ds->DeleteField(u"zz"_w), 2);
    EXPECT_EQ(ds->DeleteField(5u), 2);
    EXPECT_EQ(ds->DeleteField(u"a"_w), 1);
    EXPECT_EQ(ds->GetFieldName(0), u"b"_w);
    EXPECT_EQ(ds->DeleteField(0u), 0);
}

TEST(FieldDefinition, FormatsByIndex) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    Recorder rec(*ds);
    ds->SetFieldFormat(0, u"h"_w);
    EXPECT_EQ(ds->GetFieldFormat(0), u"h"_w);
    ds->SetFieldFormat(0, u"h"_w);  // unchanged: no notification
    ds->SetFieldFormat(0, u"x"_w);  // refused by the field, reported all the same
    EXPECT_EQ(ds->GetFieldFormat(0), u"h"_w);
    ds->SetFieldFormat(3, u"d"_w);
    EXPECT_EQ(ds->GetFieldFormat(3), u""_w);
    ASSERT_EQ(rec.Names(), (Names{"SetFormat", "SetFormat"}));
    EXPECT_EQ(rec.notices[0].index, 0);
    EXPECT_EQ(rec.notices[0].field, ds->GetField(0));
}

TEST(FieldDefinition, FormatChangesReachExistingCursorsAndColumns) {
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    AppendRecords(*ds, 1, [](unsigned) { return 255; });
    IDataSet::Cursor c = ds->CreateCursor();
    IDataSet::Column col = ds->CreateColumn(0);
    ds->SetFieldFormat(0, u"h"_w);
    EXPECT_EQ(static_cast<wstring>(c[0]), u"0xFF"_w);
    EXPECT_EQ(static_cast<wstring>(col.Get()), u"0xFF"_w);
    EXPECT_EQ(ds->GetString(0, 0), u"0xFF"_w);
}

TEST(FieldDefinition, ChangingFieldsReLaysExistingRecords) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    ds->AddField(u"s"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 300; ++i) {
        ds->Append(c);
        c[0] = i;
        c[1] = u"text"_w;
    }
    IDataSet::Column col = ds->CreateColumn(0);
    col[5];
    ds->InsertField(0, u"d"_w, IField::DateTime);
    ds->AddField(u"b"_w, IField::Double);
    EXPECT_EQ(ds->GetNumeric(1, 299), 299.0);
    EXPECT_EQ(ds->GetString(2, 150), u"text"_w);
    EXPECT_EQ(ds->GetNumeric(0, 7), 1.0);  // a new record's DateTime cell
    EXPECT_EQ(ds->GetNumeric(3, 7), 0.0);
    EXPECT_EQ(static_cast<int>(c[1]), 299);
    EXPECT_EQ(col.GetIndex(), 1);
    EXPECT_EQ(static_cast<int>(col.Get()), 5);
    ds->DeleteField(u"s"_w);
    EXPECT_EQ(ds->GetFieldCount(), 3u);
    EXPECT_EQ(ds->GetNumeric(1, 42), 42.0);
    EXPECT_EQ(Mem(ds).GetDataStorage().GetRecordSize(), 24u);
    ds->DeleteField(u"n"_w);
    EXPECT_EQ(col.dataset(), nullptr);
    EXPECT_EQ(ds->GetRecordCount(), 300u);
}

TEST(FieldDefinition, AddFieldsAppendsAListInOneStep) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    ds->AddField(u"s"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    for (int i = 0; i < 300; ++i) {
        ds->Append(c);
        c[0] = i;
        c[1] = wrt::format("t%d", i);
    }
    Recorder rec(*ds);
    EXPECT_EQ(
        Mem(ds).AddFields({{u"a"_w, IField::Int64}, {u"b"_w, IField::DateTime}, {u"c"_w, IField::String}}),
        5);
    EXPECT_EQ(rec.Names(), (Names{"AddColumn", "AddColumn", "AddColumn"}));
    EXPECT_EQ(ds->GetFieldName(3), u"b"_w);
    EXPECT_EQ(ds->GetField(4)->GetType(), IField::String);
    EXPECT_EQ(IntColumn(*ds)[299], 299);
    EXPECT_EQ(ds->GetString(1, 150), u"t150"_w);
    EXPECT_EQ(ds->GetNumeric(2, 7), 0.0);
    EXPECT_EQ(ds->GetNumeric(3, 7), 1.0);  // a new record's DateTime cell
    EXPECT_EQ(ds->GetString(4, 7), wstring());
    // The cursor took the new fields and stayed on its record.
    c[2] = int64{1} << 40;
    EXPECT_EQ(ds->GetNumeric(2, 299), 1099511627776.0);
}

TEST(FieldDefinition, AddFieldsRefusesTakenOrRepeatedNamesWhole) {
    auto ds = MakeDataSet();
    ds->AddField(u"n"_w, IField::Int);
    EXPECT_THROW(Mem(ds).AddFields({{u"a"_w, IField::Int}, {u"n"_w, IField::Int}}), FieldAlreadyExists);
    EXPECT_THROW(Mem(ds).AddFields({{u"a"_w, IField::Int}, {u"a"_w, IField::Bool}}), FieldAlreadyExists);
    EXPECT_EQ(ds->GetFieldCount(), 1u);
    EXPECT_EQ(Mem(ds).AddFields({}), 1);
}

TEST(FieldDefinition, RemovedStringCellsReturnTheirText) {
    auto ds = MakeDataSet();
    ds->AddField(u"s"_w, IField::String);
    ds->AddField(u"k"_w, IField::String);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[1] = u"keep"_w;
    c[0] = u"goes"_w;
    const wchar *gone = *static_cast<wchar *const *>(c[0].GetData());
    ds->DeleteField(0u);
    c[0] = u"next"_w;  // the freed text was the newest piece, so the pool rewinds over it
    const wchar *reused = *static_cast<wchar *const *>(c[0].GetData());
    EXPECT_EQ(reused, gone);
}

TEST(Notifications, WhichAndWhen) {
    auto ds = MakeDataSet();
    Recorder rec(*ds);
    ds->AddField(u"a"_w, IField::Int);
    ds->InsertField(0, u"b"_w, IField::Int);
    ds->DeleteField(u"none"_w);
    ds->DeleteField(u"b"_w);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    ds->Insert(c);
    c[0] = 4;
    unsigned r = 0;
    ds->SetFieldValue(0, r, 5);
    ds->Move(0, 1);
    ds->Erase(c);
    const IField *prototype = ds->GetField(0);
    const IField *cursorField = &c[0];
    ds->EraseAll();
    ds->Clear();
    EXPECT_EQ(rec.Names(), (Names{"AddColumn", "AddColumn", "DelColumn", "InsertRow", "InsertRow",
                                  "UpdateField", "UpdateField", "UpdateGeneral"}));
    for (IEventSender *source : rec.sources) EXPECT_EQ(source, static_cast<IEventSender *>(ds.get()));
    EXPECT_EQ(rec.notices[0].field, nullptr);
    EXPECT_EQ(rec.notices[5].field, cursorField);
    EXPECT_EQ(rec.notices[6].field, prototype);
}

TEST(Notifications, AReceiverCanStopTheDispatch) {
    struct Stopper : CDataSetNotify {
        void OnInsertRow(CDataSetEvent *e) override {
            ++calls;
            e->StopProcessing();
        }
        int calls = 0;
    };
    auto ds = MakeDataSet();
    Stopper first;
    ds->Subscribe(first.AsNotify(), typeid(IDataSetNotify), true);
    Recorder second(*ds);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    EXPECT_EQ(first.calls, 1);
    EXPECT_TRUE(second.notices.empty());
}

TEST(Editing, SetAndGetThroughTheDataSet) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    ds->AddField(u"s"_w, IField::String);
    ds->AddField(u"d"_w, IField::DateTime);
    ds->AddField(u"t"_w, IField::TimeInterval);
    ds->AddField(u"span"_w, IField::DateTimeInterval);
    ds->AddField(u"blob"_w, IField::BLOB);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    unsigned r = 0;
    ds->SetFieldValue(0, r, int64(7));
    ds->SetFieldValue(1, r, u"abc"_w);
    ds->SetFieldValue(2, r, tdatetime(1, 1, 2000));
    ttimeinterval interval;
    interval.SetTime(0.5);
    ds->SetFieldValue(3, r, interval);
    ds->SetFieldValue(4, r, tdatetimeinterval(2, 1, 0));
    int block = 99;
    ds->SetFieldValue(5, r, static_cast<void *>(&block));
    EXPECT_EQ(ds->GetNumeric(0, 0), 7.0);
    EXPECT_EQ(ds->GetString(1, 0), u"abc"_w);
    EXPECT_EQ(ds->GetDateTime(2, 0), tdatetime(1, 1, 2000));
    EXPECT_EQ(ds->GetTimeInterval(3, 0), interval);
    EXPECT_EQ(ds->GetDateTimeInterval(4, 0), tdatetimeinterval(2, 1, 0));
    EXPECT_EQ(ds->GetVoid(5, 0), &block);
    EXPECT_EQ(static_cast<int>(c[5]), 99);
    EXPECT_EQ(ds->GetVoid(0, 0), c[0].GetData());
    ds->SetFieldValue(0, r, 2.5f);
    ds->SetFieldValue(0, r, short(3));
    ds->SetFieldValue(0, r, true);
    EXPECT_EQ(ds->GetNumeric(0, 0), 1.0);
}

TEST(Editing, ANullPointerWritesNoDateAndReportsNothing) {
    auto ds = MakeDataSet();
    ds->AddField(u"d"_w, IField::DateTime);
    ds->AddField(u"t"_w, IField::TimeInterval);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = 730120.5;
    Recorder rec(*ds);
    unsigned r = 0;
    ds->SetFieldValue(0, r, static_cast<void *>(nullptr));
    ds->SetFieldValue(1, r, static_cast<void *>(nullptr));
    EXPECT_TRUE(rec.notices.empty());
    EXPECT_EQ(ds->GetNumeric(0, 0), 730120.5);
    double days = 2.5;
    ds->SetFieldValue(1, r, static_cast<void *>(&days));
    EXPECT_EQ(rec.Names(), (Names{"UpdateField"}));
    EXPECT_EQ(ds->GetNumeric(1, 0), 2.5);
}

TEST(Editing, BadIndicesAreRefused) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    AppendRecords(*ds, 2, [](unsigned i) { return static_cast<int>(i); });
    unsigned r = 2;
    EXPECT_THROW(ds->SetFieldValue(0, r, 1), std::out_of_range);
    r = 0;
    EXPECT_THROW(ds->SetFieldValue(1, r, 1), FieldNotFound);
    EXPECT_THROW(ds->GetNumeric(0, 2), std::out_of_range);
    EXPECT_THROW(ds->GetString(3, 0), FieldNotFound);
    EXPECT_THROW(ds->Move(0, 2), std::out_of_range);
    EXPECT_THROW(ds->Move(2, 0), std::out_of_range);
}

TEST(Editing, MoveTakesTheRecordOutAndPutsItBack) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    AppendRecords(*ds, 4, [](unsigned i) { return static_cast<int>(i); });
    IDataSet::Cursor c = ds->CreateCursor();
    Recorder rec(*ds);
    EXPECT_EQ(ds->Move(0, 3), 3u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(ds->Move(3, 1), 1u);
    EXPECT_EQ(IntColumn(*ds), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(static_cast<int>(c[0]), 1);  // the cursor keeps its index and shows what is there
    EXPECT_TRUE(rec.notices.empty());
}

TEST(Editing, NewRecordsInitialiseTheirCells) {
    auto ds = MakeDataSet();
    ds->AddField(u"d"_w, IField::DateTime);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    ds->Insert(c);
    EXPECT_EQ(ds->GetNumeric(0, 0), 1.0);
    EXPECT_EQ(ds->GetNumeric(0, 1), 1.0);
}

TEST(EraseAll, FreesPagesAndThePoolAndKeepsFields) {
    auto ds = MakeDataSet();
    ds->AddField(u"s"_w, IField::String);
    AppendRecords(*ds, 300, [](unsigned) { return u"text"_w; });
    const IDataSet::Cursor &first = ds->First();
    ds->EraseAll();
    EXPECT_EQ(ds->GetRecordCount(), 0u);
    EXPECT_EQ(ds->GetFieldCount(), 1u);
    EXPECT_EQ(Mem(ds).GetDataStorage().GetPageCount(), 0u);
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(&ds->First(), &first);
    IDataSet::Cursor c = ds->CreateCursor();
    ds->Append(c);
    c[0] = u"again"_w;
    EXPECT_EQ(ds->GetString(0, 0), u"again"_w);
    EXPECT_TRUE(first.IsValid());
}

TEST(ConstantCursor, IsForgottenWhenItsRecordIsErasedOrItIsDeleted) {
    auto ds = MakeDataSet();
    ds->AddField(u"i"_w, IField::Int);
    AppendRecords(*ds, 3, [](unsigned i) { return static_cast<int>(i); });
    auto &storage = Mem(ds).GetDataStorage();
    {
        IDataSet::Cursor constant = ds->CreateCursor();
        ++constant;
        ds->SetConstCur(constant);
        EXPECT_EQ(storage.GetConstRecord(), storage.GetAddress(1));
    }
    EXPECT_EQ(storage.GetConstRecord(), nullptr);
    IDataSet::Cursor constant = ds->CreateCursor();
    ds->SetConstCur(constant);
    IDataSet::Cursor eraser = ds->CreateCursor();
    ds->Erase(eraser);
    EXPECT_EQ(storage.GetConstRecord(), nullptr);
    IDataSet::Cursor empty;
    EXPECT_THROW(ds->SetConstCur(empty), std::bad_cast);
}

TEST(SortKeys, KeysAreOrderedBySortIndexThenFieldIndex) {
    auto ds = MakeDataSet();
    for (const wstring &name : {u"a"_w, u"b"_w, u"c"_w, u"d"_w}) ds->AddField(name, IField::Int);
    EXPECT_TRUE(Mem(ds).BuildSortKeys().empty());
    ds->GetField(2)->SetSortType(IField::Descending);
    ds->GetField(2)->SetSortIndex(0);
    ds->GetField(0)->SetSortType(IField::Ascending);
    ds->GetField(0)->SetSortIndex(1);
    ds->GetField(3)->SetSortType(IField::Ascending);
    ds->GetField(3)->SetSortIndex(1);
    ds->GetField(3)->SetIsSortCaseSensitive(true);
    const auto keys = Mem(ds).BuildSortKeys();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].field, 2);
    EXPECT_TRUE(keys[0].descending);
    EXPECT_EQ(keys[1].field, 0);
    EXPECT_EQ(keys[2].field, 3);
    EXPECT_TRUE(keys[2].caseSensitive);
    EXPECT_EQ(keys[2].offset, 12);
}

TEST(SortKeys, IndicesOutsideTheKeyCountNeverDecide) {
    auto ds = MakeDataSet();
    for (const wstring &name : {u"a"_w, u"b"_w, u"c"_w}) ds->AddField(name, IField::Int);
    ds->GetField(0)->SetSortType(IField::Ascending);
    ds->GetField(0)->SetSortIndex(0);
    ds->GetField(1)->SetSortType(IField::Ascending);
    ds->GetField(1)->SetSortIndex(2);  // two sorted fields: index 2 is outside 0..1
    ds->GetField(2)->SetSortIndex(1);  // not sorted at all
    const auto keys = Mem(ds).BuildSortKeys();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].field, 0);
}

TEST(SortKeys, RulesAttachToTheirKey) {
    struct Rule : ISortRule {
        int Compare(int, int, int, bool) override { return 0; }
    } rule;
    auto ds = MakeDataSet();
    ds->AddField(u"a"_w, IField::Int);
    ds->SetSortRule(0, &rule);
    ds->SetSortRule(5, &rule);
    EXPECT_EQ(ds->GetSortRule(0), &rule);
    EXPECT_EQ(ds->GetSortRule(5), nullptr);
    ds->GetField(0)->SetSortType(IField::Ascending);
    ds->GetField(0)->SetSortIndex(0);
    EXPECT_EQ(Mem(ds).BuildSortKeys()[0].rule, &rule);
}

TEST(MemoryKind, IgnoresProvidersAndIsNotVirtual) {
    auto ds = MakeDataSet();
    EXPECT_FALSE(ds->IsVirtual());
    ds->SetMetaData(nullptr);
    ds->SetDataRandom(nullptr);
    ds->SetEditRandom(nullptr);
    ds->SetDataDirectional(nullptr);
    ds->SetEditDirectional(nullptr);
    ds->SetSort(nullptr);
    ds->SetFind(nullptr);
    EXPECT_EQ(ds->GetFieldCount(), 0u);
    EXPECT_FALSE(ds->IsKeepOrder());
    DeleteMemDataSet(nullptr);
}

}  // namespace
}  // namespace quelt
