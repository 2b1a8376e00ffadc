#include "quelt/sys/system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quelt/testing/system.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using testing::ScriptedSystem;

// A platform system overriding exactly the named operations compiles.
class TracedSystem : public CSystem {
  public:
    explicit TracedSystem(std::vector<std::string> &trace, int units = 8) : m_trace(trace), m_units(units) {}
    ~TracedSystem() override {
        m_trace.push_back(GetCurrentSystem() == this ? "deleted while current" : "deleted");
        // A destructor that uninstalls again finds nothing to delete.
        if (uninstallAgain) SetCurrentSystem(nullptr);
    }
    ISysMouse *GetMouse() override { return nullptr; }
    quelt_ptr<IThread> CreateThread() override { return nullptr; }
    quelt_ptr<IMutex> CreateMutex() override { return nullptr; }
    quelt_ptr<ISysTimer> CreateTimer(int, int) override { return nullptr; }
    IPrinter *GetPrinter() override { return nullptr; }
    quelt_ptr<IVectorPicture> CreateVectorPicture(int, int) override { return nullptr; }
    int GetSystemMetrics(int) override { return 0; }

    bool uninstallAgain = false;

  protected:
    int GetDialogBaseUnits() const override { return m_units; }

  private:
    std::vector<std::string> &m_trace;
    int m_units;
};

TEST(CurrentSystemTest, InstallingKeepsTheOldOneAndNullDestroysTheCurrent) {
    std::vector<std::string> trace;
    SetCurrentSystem(nullptr);
    EXPECT_EQ(GetCurrentSystem(), nullptr);
    TracedSystem a(trace);
    auto *b = new TracedSystem(trace);
    b->uninstallAgain = true;
    SetCurrentSystem(&a);
    SetCurrentSystem(b);
    EXPECT_EQ(GetCurrentSystem(), b);
    EXPECT_TRUE(trace.empty());
    SetCurrentSystem(nullptr);
    EXPECT_EQ(trace, std::vector<std::string>{"deleted"});
    EXPECT_EQ(GetCurrentSystem(), nullptr);
}

TEST(CurrentSystemTest, ASystemDestroyedByItsOwnerLeavesNoDanglingCurrent) {
    std::vector<std::string> trace;
    {
        TracedSystem a(trace);
        SetCurrentSystem(&a);
    }
    EXPECT_EQ(GetCurrentSystem(), nullptr);
    {
        TracedSystem other(trace);
        SetCurrentSystem(&other);
        { TracedSystem bystander(trace); }
        EXPECT_EQ(GetCurrentSystem(), &other);
    }
    EXPECT_EQ(GetCurrentSystem(), nullptr);
    {
        testing::InstalledSystem installed;
        EXPECT_EQ(GetCurrentSystem(), installed.Get());
    }
    EXPECT_EQ(GetCurrentSystem(), nullptr);
}

TEST(CurrentSystemTest, DialogBaseUnitsScaleByEighths) {
    std::vector<std::string> trace;
    for (auto [units, scale] :
         {std::pair{7, 0.0}, {8, 1.0}, {12, 1.0}, {15, 1.0}, {16, 2.0}, {0x00300008, 1.0}}) {
        EXPECT_EQ(TracedSystem(trace, units).GetDBUScale(), scale) << units;
    }
    EXPECT_EQ(ScriptedSystem().GetDBUScale(), 1.0);
    EXPECT_FALSE(ScriptedSystem().LoadDynLibrary("no_such_module_anywhere")->IsLoaded());
}

TEST(ScriptedSystemTest, TimersFireInTimeOrderOnTheFakeClock) {
    ScriptedSystem system;
    quelt_ptr<ISysTimer> a = system.CreateTimer(30, 0);
    quelt_ptr<ISysTimer> b = system.CreateTimer(20, 0);
    quelt_ptr<ISysTimer> idle = system.CreateTimer(5, 0);
    struct Tick : CTimerNotify {
        Tick(testing::CallLog &log, std::string name) : log(log), name(std::move(name)) {}
        void OnTimer(CTimerEvent *) override { log.Add(name + " ticks"); }
        testing::CallLog &log;
        std::string name;
    } ta(system.Log(), "a"), tb(system.Log(), "b");
    a->Subscribe(ta.AsNotify(), typeid(ITimerNotify), true);
    b->Subscribe(tb.AsNotify(), typeid(ITimerNotify), true);
    a->Enable(true);
    b->Enable(true);
    system.Log().Clear();
    system.Advance(59);
    system.Advance(1);
    EXPECT_EQ(system.Log().Lines(), (test::Lines{"b ticks", "a ticks", "b ticks", "a ticks", "b ticks"}));
    EXPECT_EQ(system.Now(), 60);
    // A timer released by its own handler stops firing and is gone.
    tb.name = "b dies";
    struct Killer : CTimerNotify {
        quelt_ptr<ISysTimer> *timer;
        void OnTimer(CTimerEvent *) override { timer->reset(); }
    } killer;
    killer.timer = &b;
    b->Subscribe(killer.AsNotify(), typeid(ITimerNotify), true);
    system.Log().Clear();
    system.Advance(40);
    EXPECT_EQ(system.Log().Lines(), (test::Lines{"b dies ticks", "a ticks"}));
    EXPECT_EQ(system.Timers().size(), 2u);
}

TEST(ScriptedSystemTest, ThreadsRunWhenTheTestSaysAndMutexesLog) {
    ScriptedSystem system;
    quelt_ptr<IThread> thread = system.CreateThread();
    struct Work : IRunnable {
        void Run(IThread *t) override { ran = t; }
        IThread *ran = nullptr;
    } work;
    struct End : CEndThreadNotify {
        void OnEndThread(CEndThreadEvent *) override { ++ends; }
        int ends = 0;
    } end;
    testing::ScriptedThread *scripted = system.Threads().at(0);
    scripted->Subscribe(end.AsNotify(), typeid(IEndThreadNotify), true);
    scripted->Start(&work);
    EXPECT_EQ(work.ran, nullptr);
    scripted->Run();
    EXPECT_EQ(work.ran, thread.get());
    EXPECT_EQ(end.ends, 1);
    thread->Stop();
    thread->Wait(-1);
    EXPECT_TRUE(scripted->IsStopRequested());
    quelt_ptr<IMutex> mutex = system.CreateMutex();
    mutex->Lock();
    mutex->Unlock();
    EXPECT_EQ(system.Log().Lines(), (test::Lines{"system.CreateThread", "thread1.Stop", "thread1.Wait -1",
                                                 "system.CreateMutex", "mutex1.Lock", "mutex1.Unlock"}));
}

}  // namespace
}  // namespace quelt
