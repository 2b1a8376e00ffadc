#include "quelt/visual/overview.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "quelt/core/base.h"
#include "quelt/testing/calllog.h"

namespace quelt {
namespace {

using quelt::testing::CallLog;
using Lines = std::vector<std::string>;

std::string Rect(const rectangle<double> &r) {
    using quelt::testing::logtext::Arg;
    return Arg(r.left) + " " + Arg(r.top) + " " + Arg(r.right) + " " + Arg(r.bottom);
}

// A concrete overview: keeps a viewport and raises the three notifications.
class Overview : public COverview {
  public:
    Overview(CallLog &log, std::string name) : m_log(log), m_name(std::move(name)) {
        AddEventType(typeid(IOverviewNotify));
    }
    void SetViewport(const rectangle<double> &v) override {
        m_log.Add(m_name + ".SetViewport " + Rect(v));
        m_viewport = v;
    }
    rectangle<double> GetViewport() override { return m_viewport; }
    void OnChangeViewport(COverviewEvent *e) override { m_log.Add(m_name + ".heard " + Rect(e->GetRect())); }
    void Raise(const rectangle<double> &r) {
        COverviewEvent event(this, r);
        Fire<&IOverviewNotify::OnChangeViewport>(&event, true);
    }

  private:
    CallLog &m_log;
    std::string m_name;
    rectangle<double> m_viewport;
};

// The overviewed side, also a sender of overview notifications (as a visual control would be).
class View : public CBase, public CImplEventSender<IEventSender>, public COverviewSupport {
  public:
    View(CallLog &log, std::string name) : m_log(log), m_name(std::move(name)) {
        AddEventType(typeid(IOverviewNotify));
    }
    void SetOverview(IOverview *o) override {
        m_log.Add(m_name + ".SetOverview " + (o ? "overview" : "null"));
        COverviewSupport::SetOverview(o);
    }
    void OnChangeViewport(COverviewEvent *e) override { m_log.Add(m_name + ".heard " + Rect(e->GetRect())); }
    void Raise(const rectangle<double> &r) {
        COverviewEvent event(this, r);
        Fire<&IOverviewNotify::OnChangeViewport>(&event, true);
    }

  private:
    CallLog &m_log;
    std::string m_name;
};

class OverviewTest : public ::testing::Test {
  protected:
    CallLog log;
};

TEST_F(OverviewTest, ViewportPositionMovesTheViewportKeepingItsSize) {
    Overview overview(log, "o");
    overview.SetViewport({1, 2, 11, 22});
    EXPECT_EQ(overview.GetViewportPos(), point<double>(1, 2));
    overview.SetViewportPos({5, 7});
    EXPECT_EQ(overview.GetViewport(), rectangle<double>(5, 7, 15, 27));
    overview.SetViewportPos({-0.5, 0});
    EXPECT_EQ(overview.GetViewport(), rectangle<double>(-0.5, 0, 9.5, 20));
}

TEST_F(OverviewTest, ALinkedPairHearsEachOther) {
    Overview overview(log, "o");
    View view(log, "v");
    overview.SetOverview(&view);
    EXPECT_EQ(overview.GetSupport(), &view);
    EXPECT_EQ(view.GetOverview(), &overview);
    EXPECT_FALSE(view.DrawOverview(nullptr));
    log.Clear();
    overview.Raise({0, 0, 1, 1});
    view.Raise({2, 2, 3, 3});
    EXPECT_EQ(log.Lines(), (Lines{"v.heard 0 0 1 1", "o.heard 2 2 3 3"}));

    // Unlinking tells the support and leaves neither side listening.
    log.Clear();
    overview.SetOverview(nullptr);
    EXPECT_EQ(log.Lines(), Lines{"v.SetOverview null"});
    EXPECT_EQ(overview.GetSupport(), nullptr);
    EXPECT_EQ(view.GetOverview(), nullptr);
    EXPECT_EQ(overview.GetReceiverCount(typeid(IOverviewNotify)), 0);
    EXPECT_EQ(view.GetReceiverCount(typeid(IOverviewNotify)), 0);
}

TEST_F(OverviewTest, ASupportLinkedToASecondOverviewLeavesTheFirst) {
    Overview a(log, "a"), b(log, "b");
    View view(log, "v");
    a.SetOverview(&view);
    b.SetOverview(&view);
    EXPECT_EQ(a.GetSupport(), nullptr);
    EXPECT_EQ(b.GetSupport(), &view);
    EXPECT_EQ(view.GetOverview(), &b);
    EXPECT_EQ(a.GetReceiverCount(typeid(IOverviewNotify)), 0);
    EXPECT_EQ(b.GetReceiverCount(typeid(IOverviewNotify)), 1);
    EXPECT_EQ(view.GetReceiverCount(typeid(IOverviewNotify)), 1);
    log.Clear();
    a.Raise({1, 1, 1, 1});
    b.Raise({2, 2, 2, 2});
    view.Raise({3, 3, 3, 3});
    EXPECT_EQ(log.Lines(), (Lines{"v.heard 2 2 2 2", "b.heard 3 3 3 3"}));
    // Relinking A to another view leaves B's pair alone.
    View other(log, "w");
    a.SetOverview(&other);
    EXPECT_EQ(view.GetOverview(), &b);
    EXPECT_EQ(b.GetSupport(), &view);
}

TEST_F(OverviewTest, EitherSideMayDieFirst) {
    {
        auto overview = std::make_unique<Overview>(log, "o");
        View view(log, "v");
        overview->SetOverview(&view);
        overview.reset();
        EXPECT_EQ(view.GetOverview(), nullptr);
        EXPECT_EQ(view.GetReceiverCount(typeid(IOverviewNotify)), 0);
        log.Clear();
        view.Raise({1, 1, 1, 1});
        EXPECT_TRUE(log.Lines().empty());
    }
    {
        Overview overview(log, "o");
        auto view = std::make_unique<View>(log, "v");
        overview.SetOverview(view.get());
        view.reset();
        EXPECT_EQ(overview.GetSupport(), nullptr);
        EXPECT_EQ(overview.GetReceiverCount(typeid(IOverviewNotify)), 0);
        log.Clear();
        overview.Raise({1, 1, 1, 1});
        overview.SetOverview(nullptr);
        EXPECT_TRUE(log.Lines().empty());
    }
}

// An overview outside the library that only pairs from the support's side.
class BareOverview : public CImplEventSender<IOverview> {
  public:
    BareOverview() { AddEventType(typeid(IOverviewNotify)); }
    void SetViewport(const rectangle<double> &) override {}
    rectangle<double> GetViewport() override { return {}; }
    void SetOverview(IOverviewSupport *s) override { s->SetOverview(this); }
};

TEST_F(OverviewTest, ASupportForgetsAnOverviewThatGoesWithoutUnlinking) {
    View view(log, "v");
    auto bare = std::make_unique<BareOverview>();
    bare->SetOverview(&view);
    EXPECT_EQ(view.GetOverview(), bare.get());
    bare.reset();
    EXPECT_EQ(view.GetOverview(), nullptr);
    Overview overview(log, "o");
    overview.SetOverview(&view);
    EXPECT_EQ(view.GetOverview(), &overview);
}

TEST_F(OverviewTest, WithoutTheNotificationTypeTheSubscriptionIsSilentlyRefused) {
    // An overview that never added IOverviewNotify.
    class Mute : public COverview {
      public:
        void SetViewport(const rectangle<double> &) override {}
        rectangle<double> GetViewport() override { return {}; }
    } mute;
    View view(log, "v");
    mute.SetOverview(&view);
    EXPECT_EQ(view.GetOverview(), &mute);
    EXPECT_EQ(view.GetReceiverCount(typeid(IOverviewNotify)), 1);
    mute.SetOverview(nullptr);
    EXPECT_EQ(view.GetReceiverCount(typeid(IOverviewNotify)), 0);
}

}  // namespace
}  // namespace quelt
