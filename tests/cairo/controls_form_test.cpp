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
