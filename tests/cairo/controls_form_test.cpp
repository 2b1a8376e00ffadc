#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "controls/control_listener.h"
#include "golden.h"
#include "quelt/cairo/containers.h"
#include "quelt/cairo/controls.h"
#include "quelt/cairo/menu.h"
#include "quelt/controls/border.h"
#include "quelt/testing/containers.h"
#include "quelt/testing/controls.h"
#include "quelt/testing/menu.h"

using namespace quelt;
using namespace quelt::cairo;
using namespace quelt::cairo::test;
using quelt::test::ControlListener;
using Lines = std::vector<std::string>;

namespace {

constexpr _color kRed(255, 0, 0, 255);

wstring W(const char *text) { return Utf8ToWide(text); }

class CairoControlsTest : public ::testing::Test {
  protected:
    CairoControlsTest() : system(new CairoSystem(96)) { SetCurrentSystem(system); }
    ~CairoControlsTest() override { SetCurrentSystem(nullptr); }
    // Paints until every child has reached its parent.
    void Settle() {
        while (system->Pump() > 0) {
        }
    }
    CairoSystem *system;
};

// Fills a window in one colour before anything else draws on it.
class Background : public CDrawingNotify {
  public:
    Background(ISysWindow *window, _color color) : m_color(color) {
        if (auto *sys = dynamic_cast<CSysWindow *>(window))
            sys->Subscribe(AsNotify(), typeid(IDrawingNotify), true);
    }
    void OnDraw(IPainter *painter) override {
        painter->SetBrush(brush(m_color, brush::Solid));
        painter->FillRect(0, 0, 100000, 100000);
    }

  private:
    _color m_color;
};

CairoWindow *Child(ISysWindow *parent) { return dynamic_cast<CairoWindow *>(parent->CreateChildWindow()); }

// One form with every kind: a toolbar over a content pane, which a border
// splits into a status line and a splitter; the splitter's left section holds
// the text controls, its right one a notebook whose first page holds the
// buttons; a context menu is open over it.
struct Form {
    static constexpr _color kFace{240, 240, 240, 255};

    explicit Form(CairoWindow &window)
        : deco(&window),
          bar(&window),
          content(Child(&window)),
          border(static_cast<CBorder *>(content->CreateBorder())),
          status(static_cast<CairoWindow *>(border->AddChild(IBorder::AlignBottom))),
          middle(static_cast<CairoWindow *>(border->AddChild(IBorder::AlignClient))),
          split(middle, ISplitter::Horizontal),
          left(Child(middle)),
          right(Child(middle)),
          book(right, ITabNotebook::Pages),
          page(Child(right)),
          other(Child(right)),
          edit(left),
          memo(left, true),
          combo(left),
          list(left),
          state(status),
          group(page),
          ok(page),
          cancel(page),
          check(page),
          plain(page),
          radios{CairoRadioButton(page), CairoRadioButton(page), CairoRadioButton(page)},
          menu(window.CreatePopupMenu()) {
        bar.AddButton(1, W("N"), IToolbar::PushStyle);
        bar.AddButton(2, W("B"), IToolbar::CheckStyle);
        bar.AddButton(3, W("I"), IToolbar::CheckStyle);
        bar.AddSeparator();
        bar.AddButton(4, W("X"), IToolbar::PushStyle);
        bar.CheckButton(2, true);
        bar.EnableButton(4, false);
        deco.AddElement(&bar);
        deco.SetContentPane(content);
        status->SetBounds({0, 0, 10, 20}, false);
        border->Layout();
        split.SetSections(left, right);
        split.SetPosition(230);
        book.AddPage(W("General"), page);
        book.AddPage(W("Options"), other);

        edit.SetBounds(8, 8, 214, 30);
        edit.SetText(W("Single line"));
        edit.SetSelection(7, 11);
        memo.SetBounds(8, 38, 214, 96);
        memo.SetText(W("First line\nsecond line"));
        memo.SetFocus();
        combo.SetBounds(8, 104, 214, 126);
        for (const char *item : {"Red", "Green", "Blue"}) combo.AddItem(W(item));
        combo.SetCurSel(1);
        list.SetBounds(8, 134, 214, 206);
        for (const char *item : {"January", "February", "March", "April"}) list.AddItem(W(item));
        list.SetCurSel(2);
        state.SetBounds(6, 2, 300, 19);
        state.SetText(W("Ready"));

        ok.SetBounds(150, 12, 230, 38);
        ok.SetText(W("OK"));
        ok.SetDefault(true);
        cancel.SetBounds(150, 46, 230, 72);
        cancel.SetText(W("Cancel"));
        check.SetBounds(10, 12, 140, 32);
        check.SetText(W("Bold"));
        check.SetChecked(true);
        plain.SetBounds(10, 34, 140, 54);
        plain.SetText(W("Italic"));
        group.SetBounds(8, 62, 140, 170);
        group.SetText(W("Align"));
        const char *captions[] = {"Left", "Centre", "Right"};
        for (int i = 0; i < 3; ++i) {
            radios[i].SetBounds(18, 84 + 26 * i, 130, 104 + 26 * i);
            radios[i].SetText(W(captions[i]));
        }
        CHeadlessRadioButton::Group({&radios[0], &radios[1], &radios[2]});
        radios[1].SetChecked(true);

        menu->AppendItem(10, W("Cut"));
        menu->AppendItem(11, W("Copy"));
        menu->AppendItem(12, W("Paste"));
        menu->EnableItem(2, false);
        menu->AppendSeparator();
        menu->AppendItem(13, W("Wrap lines"));
        menu->SetItemStyle(4, IPopupMenu::StyleCheck, IPopupMenu::ByPosition);
        menu->SetItemChecked(4, true, IPopupMenu::ByPosition);
        menu->AppendItem(14, W("Left"));
        menu->AppendItem(15, W("Right"));
        menu->SetItemStyle(5, IPopupMenu::StyleRadio, IPopupMenu::ByPosition);
        menu->SetItemStyle(6, IPopupMenu::StyleRadio, IPopupMenu::ByPosition);
        menu->SetItemChecked(6, true, IPopupMenu::ByPosition);
        menu->Show(380, 140);
    }

    CairoDecoration deco;
    CairoToolbar bar;
    CairoWindow *content;
    std::unique_ptr<CBorder> border;
    CairoWindow *status;
    CairoWindow *middle;
    CairoSplitter split;
    CairoWindow *left;
    CairoWindow *right;
    CairoTabNotebook book;
    CairoWindow *page;
    CairoWindow *other;
    Background faces[4]{{content, kFace}, {status, kFace}, {left, kFace}, {page, kFace}};
    CairoEdit edit;
    CairoEdit memo;
    CairoComboBox combo;
    CairoListBox list;
    CairoLabel state;
    CairoGroupBox group;
    CairoButton ok;
    CairoButton cancel;
    CairoCheckBox check;
    CairoCheckBox plain;
    CairoRadioButton radios[3];
    quelt_ptr<IPopupMenu> menu;
};

}  // namespace

// The form as a saved PNG: every kind drawn plainly where it was placed.
TEST_F(CairoControlsTest, OneFormWithEveryKindMatchesItsGoldenImage) {
    auto *window = new CairoWindow(480, 300);
    {
        Form form(*window);
        Settle();
        const auto path = std::filesystem::path(QUELT_ACTUAL_DIR) / "form.png";
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(window->SavePng(path.c_str()));
        EXPECT_TRUE(MatchesGolden(window->GetSurface(), "form", {64, 0.01}));
    }
    window->Release();
}

// A resized form lays its containers out again: the toolbar band spans the
// new width, the splitter keeps its proportion, the notebook page fills the
// right section below the tabs.
TEST_F(CairoControlsTest, ContainersFollowTheResizedForm) {
    auto *window = new CairoWindow(480, 300);
    {
        Form form(*window);
        window->Resize(600, 360);
        Settle();
        EXPECT_EQ(form.bar.GetBandWindow()->GetBounds(), screen_rectangle<int>(0, 0, 599, 23));
        EXPECT_EQ(form.content->GetBounds(), screen_rectangle<int>(0, 24, 599, 359));
        EXPECT_EQ(form.split.GetPosition(), 288);  // 230 of 477 is 288 of 597
        EXPECT_EQ(form.page->GetBounds(), screen_rectangle<int>(0, CairoTabNotebook::TabHeight, 308, 314));
        EXPECT_FALSE(form.other->GetVisible());
    }
    window->Release();
}

namespace {

// What a listener hears while the gesture runs on the control.
template <class Control, class Gesture>
Lines Heard(Control &control, Gesture gesture) {
    quelt::testing::CallLog log;
    ControlListener heard(log, "heard");
    heard.Listen(&control);
    gesture(control);
    return log.Lines();
}

// The same preparation and gesture on a scripted and a Cairo control raise the
// same notifications, and some.
template <class Scripted, class Cairo, class Prepare, class Gesture>
void ExpectSameAsScripted(const char *name, Scripted &scripted, Cairo &cairo, Prepare prepare,
                          Gesture gesture) {
    SCOPED_TRACE(name);
    prepare(scripted);
    prepare(cairo);
    const Lines expected = Heard(scripted, gesture);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Heard(cairo, gesture), expected);
}

}  // namespace

TEST_F(CairoControlsTest, GesturesRaiseWhatTheScriptedControlsRaise) {
    using namespace quelt::testing;
    auto log = std::make_shared<CallLog>();
    auto *window = new CairoWindow(200, 100);
    const auto none = [](auto &) {};
    const auto items = [](auto &c) {
        for (const char *item : {"apple", "banana", "cherry"}) c.AddItem(W(item));
    };
    {
        ScriptedEdit se(log, "edit");
        CairoEdit ce(window);
        ExpectSameAsScripted(
            "edit", se, ce, [](auto &c) { c.SetText(W("hello")); },
            [](auto &c) {
                c.TypeText(W("!"));
                c.PressKey(vk::Back);
                c.PressKey(vk::Home);
                c.PressKey(vk::Return);
                c.Wheel(120);
                c.SetFocus();
            });
        ScriptedComboBox sc(log, "combo");
        CairoComboBox cc(window);
        ExpectSameAsScripted("combo", sc, cc, items, [](auto &c) {
            c.Select(1);
            c.Choose(2);
            c.Choose(7);
        });
        ScriptedListBox sl(log, "list");
        CairoListBox cl(window);
        ExpectSameAsScripted("list", sl, cl, items, [](auto &c) {
            c.Select(1);
            c.PressKey(vk::Down);
            c.TypeChar('a');
            c.DoubleClickItem(0);
            c.SetFocus();
        });
        ScriptedButton sb(log, "button");
        CairoButton cb(window);
        ExpectSameAsScripted("button", sb, cb, none, [](auto &c) { c.DoublePress(); });
        ScriptedCheckBox sk(log, "check");
        CairoCheckBox ck(window);
        ExpectSameAsScripted("check", sk, ck, none, [](auto &c) {
            c.Press();
            c.SetFocus();
            c.Blur();
        });
        ScriptedRadioButton sr(log, "radio");
        CairoRadioButton cr(window);
        ExpectSameAsScripted("radio", sr, cr, none, [](auto &c) { c.Press(); });
        ScriptedToolbar st(log, "bar");
        CairoToolbar ct(window);
        ExpectSameAsScripted(
            "toolbar", st, ct,
            [](auto &c) {
                c.AddButton(1, W("A"), IToolbar::CheckStyle);
                c.AddSeparator();
                c.AddButton(2, W("B"), IToolbar::DropDownStyle);
            },
            [](auto &c) {
                c.Press(1);
                c.Press(2);
            });
        ScriptedMenu sm(log, "menu", nullptr);
        CairoMenu cm(window);
        ExpectSameAsScripted(
            "menu", sm, cm,
            [](auto &c) {
                c.AppendItem(1, W("One"));
                c.AppendItem(2, W("Two"));
                c.SetItemStyle(2, IPopupMenu::StyleRadio, IPopupMenu::ByCommand);
                c.Show(10, 10);
            },
            [](auto &c) {
                c.HighlightMenuItem(1);
                c.ChooseMenuItem(2);
            });
        ScriptedTabNotebook sn(log, "book", nullptr, ITabNotebook::TabsOnly);
        CairoTabNotebook cn(window, ITabNotebook::TabsOnly);
        ExpectSameAsScripted(
            "tabs", sn, cn,
            [](auto &c) {
                c.AddPage(W("One"), nullptr);
                c.AddPage(W("Two"), nullptr);
            },
            [](auto &c) {
                c.ClickTab(1);
                c.ClickTab(5);
            });
    }
    window->Release();
}

// The splitter's position follows the same rules on both platforms.
TEST_F(CairoControlsTest, SplitterDragRaisesTheSizeChangeAndMovesTheBar) {
    auto *window = new CairoWindow(200, 100);
    Background red(window, kRed);
    {
        CairoSplitter split(window, ISplitter::Horizontal);
        CairoWindow *first = Child(window);
        CairoWindow *second = Child(window);
        split.SetSections(first, second);
        quelt::testing::CallLog log;
        ControlListener heard(log, "heard");
        heard.Listen(&split);
        split.Drag(80);
        split.Drag(500);
        EXPECT_EQ(log.Lines(),
                  (Lines{"heard.SplitterOnChangeSize 80 98", "heard.SplitterOnChangeSize 137 80"}));
        EXPECT_EQ(first->GetBounds(), screen_rectangle<int>(0, 0, 136, 99));
        EXPECT_EQ(second->GetBounds(), screen_rectangle<int>(140, 0, 199, 99));
        Settle();
        for (int x = 137; x <= 139; ++x) EXPECT_NE(window->GetPixel(x, 50), kRed) << x;  // the bar
        EXPECT_EQ(window->GetPixel(81, 50), _color(255, 255, 255, 255));  // the first section where it was
    }
    window->Release();
}

// Each kind, overfilled and focused, paints inside its bounds only:
// columns 20..119 and rows 10..39 for the bounds (20, 10, 120, 40).
TEST_F(CairoControlsTest, DrawingNeverLeavesTheControlsBounds) {
    using Make = std::function<std::unique_ptr<CBase>(CairoWindow *)>;
    const wstring longText = W("A text far too long for the control it is in, and more");
    const auto edit = [&](bool multi) {
        return [&, multi](CairoWindow *w) {
            auto c = std::make_unique<CairoEdit>(w, multi);
            c->SetText(multi ? W("1\n2\n3\n4\n5\n6 ") + longText : longText);
            c->SetSelection(3, 30);
            c->SetFocus();
            return std::unique_ptr<CBase>(std::move(c));
        };
    };
    const auto captioned = [&](auto make) {
        return [&, make](CairoWindow *w) {
            auto c = make(w);
            c->SetText(longText);
            c->SetFocus();
            return std::unique_ptr<CBase>(std::move(c));
        };
    };
    const auto listed = [&](auto make) {
        return [&, make](CairoWindow *w) {
            auto c = make(w);
            for (int i = 0; i < 12; ++i) c->AddItem(longText);
            c->SetCurSel(11);
            c->SetFocus();
            return std::unique_ptr<CBase>(std::move(c));
        };
    };
    const struct {
        const char *name;
        Make make;
    } cases[] = {
        {"edit", edit(false)},
        {"multi-line edit", edit(true)},
        {"combo", listed([](CairoWindow *w) { return std::make_unique<CairoComboBox>(w); })},
        {"list", listed([](CairoWindow *w) { return std::make_unique<CairoListBox>(w); })},
        {"label", captioned([](CairoWindow *w) { return std::make_unique<CairoLabel>(w); })},
        {"group", captioned([](CairoWindow *w) { return std::make_unique<CairoGroupBox>(w); })},
        {"button", captioned([](CairoWindow *w) { return std::make_unique<CairoButton>(w); })},
        {"check", captioned([](CairoWindow *w) { return std::make_unique<CairoCheckBox>(w); })},
        {"radio", captioned([](CairoWindow *w) { return std::make_unique<CairoRadioButton>(w); })},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto *window = new CairoWindow(140, 60);
        Background red(window, kRed);
        {
            std::unique_ptr<CBase> control = c.make(window);
            dynamic_cast<ICustomControl &>(*control).SetBounds(20, 10, 120, 40);
            Settle();
            int outside = 0;
            int inside = 0;
            for (int y = 0; y < 60; ++y) {
                for (int x = 0; x < 140; ++x) {
                    const bool in = x >= 20 && x < 120 && y >= 10 && y < 40;
                    const bool painted = window->GetPixel(x, y) != kRed;
                    outside += !in && painted;
                    inside += in && painted;
                }
            }
            EXPECT_EQ(outside, 0);
            EXPECT_EQ(inside, 100 * 30);
        }
        window->Release();
    }
}

// A menu shown near the corner opens moved to fit its owner; choosing an item
// closes it and the owner shows what was under it again.
TEST_F(CairoControlsTest, MenuFitsItsOwnerAndGoesWhenChosen) {
    auto *window = new CairoWindow(200, 100);
    Background red(window, kRed);
    {
        quelt_ptr<IPopupMenu> owned = window->CreatePopupMenu();
        auto *menu = dynamic_cast<CairoMenu *>(owned.get());
        ASSERT_NE(menu, nullptr);
        menu->AppendItem(1, W("Open"));
        menu->AppendItem(2, W("Close"));
        menu->Show(190, 95);
        Settle();
        const screen_rectangle<int> at = menu->GetPopupWindow()->GetBounds();
        EXPECT_EQ(at.right, 199);
        EXPECT_EQ(at.bottom, 99);
        EXPECT_EQ(at.bottom - at.top + 1, 2 * CairoMenu::ItemHeight + 4);
        EXPECT_NE(window->GetPixel(at.left + 2, at.top + 2), kRed);
        menu->ChooseMenuItem(2);
        Settle();
        EXPECT_FALSE(menu->IsShown());
        EXPECT_EQ(window->GetPixel(at.left + 2, at.top + 2), kRed);
    }
    window->Release();
}

// A system gives back the palette it replaced, so that a test or host that
// installed one keeps it after a system came and went.
TEST(CairoSystemPaletteTest, GoesBackToThePaletteItReplaced) {
    ISysPalette *before = GetSysPallete();
    CairoSysPalette host;
    SetSysPallete(&host);
    {
        CairoSystem system(96);
        EXPECT_EQ(GetSysPallete(), &system.Palette());
    }
    EXPECT_EQ(GetSysPallete(), &host);
    SetSysPallete(before);
}

namespace {

std::vector<_color> Pixels(CairoWindow &window, const screen_rectangle<int> &r) {
    std::vector<_color> pixels;
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) pixels.push_back(window.GetPixel(x, y));
    return pixels;
}

}  // namespace

// A gesture that changes a control's state repaints it on the next pump.
TEST_F(CairoControlsTest, GesturesRepaintTheControl) {
    const screen_rectangle<int> area(10, 10, 129, 39);
    const struct {
        const char *name;
        std::function<void(CairoWindow *, const std::function<void(std::function<void()>)> &)> run;
    } cases[] = {
        {"edit typing",
         [](CairoWindow *w, const auto &check) {
             CairoEdit c(w);
             c.SetBounds(10, 10, 130, 40);
             check([&] { c.TypeText(W("abc")); });
         }},
        {"check box press",
         [](CairoWindow *w, const auto &check) {
             CairoCheckBox c(w);
             c.SetBounds(10, 10, 130, 40);
             check([&] { c.Press(); });
         }},
        {"radio press",
         [](CairoWindow *w, const auto &check) {
             CairoRadioButton c(w);
             c.SetBounds(10, 10, 130, 40);
             check([&] { c.Press(); });
         }},
        {"list select",
         [](CairoWindow *w, const auto &check) {
             CairoListBox c(w);
             c.SetBounds(10, 10, 130, 40);
             c.AddItem(W("one"));
             check([&] { c.Select(0); });
         }},
        {"combo choose",
         [](CairoWindow *w, const auto &check) {
             CairoComboBox c(w);
             c.SetBounds(10, 10, 130, 40);
             c.AddItem(W("one"));
             check([&] { c.Choose(0); });
         }},
        {"toolbar check",
         [](CairoWindow *w, const auto &check) {
             CairoToolbar c(w);
             c.Place({10, 10, 129, 39});
             c.AddButton(1, W("B"), IToolbar::CheckStyle);
             check([&] { c.Press(1); });
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto *window = new CairoWindow(140, 120);
        c.run(window, [&](const std::function<void()> &gesture) {
            Settle();
            const std::vector<_color> before = Pixels(*window, area);
            gesture();
            Settle();
            EXPECT_NE(Pixels(*window, area), before);
        });
        window->Release();
    }
}

// Dropped down, a combo box opens its list below itself, the current item
// highlighted; choosing an item closes it.
TEST_F(CairoControlsTest, ComboListOpensBelowAndClosesOnChoosing) {
    auto *window = new CairoWindow(140, 120);
    {
        CairoComboBox combo(window);
        combo.SetBounds(10, 10, 130, 32);
        for (const char *item : {"one", "two", "three"}) combo.AddItem(W(item));
        combo.SetCurSel(1);
        combo.ShowDropDown(true);
        Settle();
        CairoWindow *list = combo.GetListWindow();
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->GetVisible());
        EXPECT_EQ(list->GetBounds(),
                  screen_rectangle<int>(10, 32, 129, 32 + 3 * CairoComboBox::ItemHeight + 1));
        EXPECT_EQ(window->GetPixel(12, 32 + 1 + CairoComboBox::ItemHeight + 1), _color(0, 120, 215, 255));
        combo.Choose(2);
        EXPECT_FALSE(list->GetVisible());
        EXPECT_EQ(combo.GetText(), W("three"));
    }
    window->Release();
}
