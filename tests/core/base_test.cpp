#include "quelt/core/base.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "quelt/core/exceptions.h"

namespace quelt {
namespace {

// Logs what happens to the objects of one test.
struct Log {
    int addRefs = 0;
    int releases = 0;
    int destroyed = 0;
};

// Keeps the CBase defaults: Release deletes.
class Plain : public CBase {
  public:
    explicit Plain(Log &log) : m_log(log) {}
    ~Plain() override { ++m_log.destroyed; }

  private:
    Log &m_log;
};

class PlainChild : public Plain {
  public:
    using Plain::Plain;
};

// An outside implementation with a reference count, freed by its last Release.
class Counted : public CBase {
  public:
    explicit Counted(Log &log) : m_log(log) {}
    ~Counted() override { ++m_log.destroyed; }
    void AddRef() override {
        ++m_log.addRefs;
        ++m_refs;
    }
    void Release() override {
        ++m_log.releases;
        if (--m_refs == 0) CBase::Release();
    }
    int Refs() const { return m_refs; }

  private:
    Log &m_log;
    int m_refs = 0;
};

quelt_ptr<CBase> MakeCounted(Log &log) {
    quelt_ptr<CBase> local(new Counted(log));
    return local;
}

TEST(CBaseTest, ReleaseDeletesTheObject) {
    Log log;
    CBase *p = new Plain(log);
    p->AddRef();
    EXPECT_EQ(log.destroyed, 0);
    p->Release();
    EXPECT_EQ(log.destroyed, 1);
}

TEST(CBaseTest, DeleteBaseRunsTheDerivedDestructor) {
    Log log;
    DeleteBase(new PlainChild(log));
    EXPECT_EQ(log.destroyed, 1);
    DeleteBase(nullptr);
    EXPECT_EQ(log.destroyed, 1);
}

TEST(CBaseTest, CopyingCopiesNothingAndReturnsTheTarget) {
    Log a, b;
    Plain x(a);
    Plain y(b);
    CBase &target = y;
    EXPECT_EQ(&(target = x), &target);
    CBase copy(x);
    EXPECT_EQ(a.destroyed + b.destroyed, 0);
}

TEST(QueltPtrTest, AcquiringAddsOneReference) {
    Log log;
    auto *object = new Counted(log);
    {
        quelt_ptr<Counted> p(object);
        EXPECT_EQ(p.get(), object);
        EXPECT_EQ(log.addRefs, 1);
        EXPECT_EQ(object->Refs(), 1);
    }
    EXPECT_EQ(log.releases, 1);
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, NullHolderCallsNothing) {
    quelt_ptr<Plain> empty;
    quelt_ptr<Plain> fromNull(nullptr);
    EXPECT_FALSE(empty);
    EXPECT_TRUE(empty == nullptr);
    EXPECT_TRUE(fromNull == empty);
    quelt_ptr<Plain> copy(empty);
    EXPECT_EQ(copy.get(), nullptr);
}

TEST(QueltPtrTest, DestructionDeletesUnderTheDefaults) {
    Log log;
    { quelt_ptr<Plain> p(new Plain(log)); }
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, CopyMovesOwnershipAndNullsTheSource) {
    Log log;
    auto *object = new Plain(log);
    quelt_ptr<Plain> source(object);
    {
        quelt_ptr<Plain> target(source);
        EXPECT_EQ(target.get(), object);
        EXPECT_EQ(source.get(), nullptr);
    }
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, AssignmentReleasesTheOldObjectAndTakesTheNew) {
    Log oldLog, newLog;
    auto *incoming = new Plain(newLog);
    quelt_ptr<Plain> target(new Plain(oldLog));
    quelt_ptr<Plain> source(incoming);
    target = source;
    EXPECT_EQ(oldLog.destroyed, 1);
    EXPECT_EQ(newLog.destroyed, 0);
    EXPECT_EQ(target.get(), incoming);
    EXPECT_EQ(source.get(), nullptr);
}

TEST(QueltPtrTest, SelfAssignmentChangesNothing) {
    Log log;
    auto *object = new Plain(log);
    quelt_ptr<Plain> p(object);
    quelt_ptr<Plain> &alias = p;
    p = alias;
    p = object;
    EXPECT_EQ(p.get(), object);
    EXPECT_EQ(log.destroyed, 0);
}

TEST(QueltPtrTest, ConvertsToAPointerOfABase) {
    Log log;
    auto *object = new PlainChild(log);
    quelt_ptr<PlainChild> child(object);
    quelt_ptr<CBase> base(child);
    EXPECT_EQ(base.get(), object);
    EXPECT_EQ(child.get(), nullptr);
    quelt_ptr<CBase> other;
    other = quelt_ptr<PlainChild>(new PlainChild(log));
    base = other;
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, TravellingKeepsOneReferenceOfACountedObject) {
    Log log;
    {
        quelt_ptr<CBase> first = MakeCounted(log);
        quelt_ptr<CBase> second(first);
        quelt_ptr<CBase> third;
        third = second;
        std::vector<quelt_ptr<CBase>> holders;
        holders.push_back(std::move(third));
        EXPECT_EQ(static_cast<Counted *>(holders[0].get())->Refs(), 1);
        EXPECT_EQ(log.destroyed, 0);
    }
    EXPECT_EQ(log.addRefs, 1);
    EXPECT_EQ(log.releases, 1);
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, SharingAddsAReferencePerHolder) {
    Log log;
    auto *object = new Counted(log);
    {
        quelt_ptr<Counted> a(object);
        {
            quelt_ptr<Counted> b(a.get());
            EXPECT_EQ(object->Refs(), 2);
        }
        EXPECT_EQ(log.destroyed, 0);
        EXPECT_EQ(object->Refs(), 1);
    }
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, MovingBetweenHoldersOfOneObjectDropsOneReference) {
    Log log;
    auto *object = new Counted(log);
    quelt_ptr<Counted> a(object);
    quelt_ptr<Counted> b(object);
    a = b;
    EXPECT_EQ(object->Refs(), 1);
    EXPECT_EQ(b.get(), nullptr);
    a.reset();
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, ReleaseGivesUpOwnershipAndResetAcquires) {
    Log log;
    auto *object = new Plain(log);
    quelt_ptr<Plain> p(object);
    EXPECT_EQ(p.release(), object);
    EXPECT_EQ(p.get(), nullptr);
    p.reset(object);
    EXPECT_EQ(log.destroyed, 0);
    p.reset();
    EXPECT_EQ(log.destroyed, 1);
}

TEST(QueltPtrTest, AConstHolderCannotBeCopied) {
    static_assert(!std::is_constructible_v<quelt_ptr<CBase>, const quelt_ptr<CBase> &>);
    static_assert(!std::is_assignable_v<quelt_ptr<CBase> &, const quelt_ptr<CBase> &>);
    static_assert(std::is_constructible_v<quelt_ptr<CBase>, quelt_ptr<CBase> &>);
    static_assert(!std::is_constructible_v<quelt_ptr<PlainChild>, quelt_ptr<CBase> &>);
    SUCCEED();
}

// --- exceptions -------------------------------------------------------------

template <class E, class Base>
void ExpectException() {
    static_assert(std::is_base_of_v<Base, E>);
    static_assert(std::is_base_of_v<BaseException, E>);
    static_assert(std::is_base_of_v<std::runtime_error, E>);
    E original;
    EXPECT_STREQ(original.what(), "");
    E copy(original);
    EXPECT_STREQ(copy.what(), "");
    E assigned;
    assigned = original;
    EXPECT_STREQ(assigned.what(), "");
    try {
        throw E();
    } catch (const Base &caught) {
        EXPECT_EQ(typeid(caught), typeid(E));
    }
}

TEST(ExceptionTest, TheTreeHasItsBasesAndEmptyMessages) {
    ExpectException<BaseException, std::runtime_error>();
    ExpectException<DataSetException, BaseException>();
    ExpectException<BadCursor, DataSetException>();
    ExpectException<KeyNotFound, DataSetException>();
    ExpectException<FieldNotFound, DataSetException>();
    ExpectException<FieldAlreadyExists, DataSetException>();
    ExpectException<PaintException, BaseException>();
    ExpectException<BadColorIndex, PaintException>();
    ExpectException<SALException, BaseException>();
    ExpectException<WindowException, SALException>();
    ExpectException<TimerException, SALException>();
    ExpectException<TooManyTimers, TimerException>();
    ExpectException<TimerAlreadyExists, TimerException>();
    ExpectException<WrapperAlreadyExists, SALException>();
    ExpectException<MouseException, SALException>();
    ExpectException<BadCursorImage, MouseException>();
}

TEST(ExceptionTest, SiblingsAreNotCaughtByEachOther) {
    static_assert(!std::is_base_of_v<DataSetException, PaintException>);
    static_assert(!std::is_base_of_v<TimerException, MouseException>);
    bool caughtAsDataSet = false;
    try {
        try {
            throw BadColorIndex();
        } catch (const DataSetException &) {
            caughtAsDataSet = true;
        }
    } catch (const PaintException &) {
    }
    EXPECT_FALSE(caughtAsDataSet);
}

}  // namespace
}  // namespace quelt
