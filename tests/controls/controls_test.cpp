#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "controls/control_listener.h"
#include "quelt/controls/clipboard.h"
#include "quelt/testing/controls.h"

namespace quelt {
namespace {

using namespace quelt::testing;
using test::ControlListener;
using Lines = std::vector<std::string>;

wstring W(const char *text) { return Utf8ToWide(text); }

TEST(ClipboardKeysTest, KnowTheirShortcutsAndIgnoreOtherModifiers) {
    constexpr VKeyState C = keystate::Control, S = keystate::Shift, A = keystate::Alt;
    struct Case {
        int key;
        VKeyState keys;
        bool copy, cut, paste;
    };
    const Case cases[] = {
        {'C', C, true, false, false},
        {vk::Insert, C, true, false, false},
        {'X', C, false, true, false},
        {vk::Delete, S, false, true, false},
        {'V', C, false, false, true},
        {vk::Insert, S, false, false, true},
        {vk::Delete, C, false, false, false},
        {'C', 0, false, false, false},
        {'C', S, false, false, false},
        {'c', C, false, false, false},
        {'C', C | S | A, true, false, false},
        {vk::Insert, C | S, true, false, true},
        {'V', C | A | 0xFF, false, false, true},
        {vk::Delete, 0, false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " " + std::to_string(c.keys));
        const CKeyboardEvent event(nullptr, c.keys, c.key, 0);
        EXPECT_EQ(IsCopyToClipboard(&event), c.copy);
        EXPECT_EQ(IsCutToClipboard(&event), c.cut);
        EXPECT_EQ(IsPasteFromClipboard(&event), c.paste);
    }
    EXPECT_FALSE(IsCopyToClipboard(nullptr));
    EXPECT_FALSE(IsCutToClipboard(nullptr));
    EXPECT_FALSE(IsPasteFromClipboard(nullptr));
}

class ControlsTest : public ::testing::Test {
  protected:
    Lines Take() { return log->Take(); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    ControlListener heard{*log, "heard"};
};

TEST_F(ControlsTest, EachControlRaisesExactlyItsOwnEvents) {
    ScriptedEdit edit(log, "edit");
    ScriptedComboBox combo(log, "combo");
    ScriptedLabel label(log, "label");
    ScriptedGroupBox group(log, "group");
    ScriptedButton button(log, "button");
    ScriptedCheckBox check(log, "check");
    ScriptedRadioButton radio(log, "radio");
    ScriptedListBox list(log, "list");
    const std::type_info *all[] = {
        &typeid(IMouseNotify),    &typeid(IMouseHoverNotify), &typeid(IMouseClickNotify),
        &typeid(IKeyboardNotify), &typeid(IWindowNotify),     &typeid(IFocusNotify),
        &typeid(IEditNotify),     &typeid(IComboBoxNotify),   &typeid(IButtonNotify),
        &typeid(IListBoxNotify),  &typeid(IScrollBarNotify)};
    const std::set<std::string> six = {typeid(IMouseNotify).name(),      typeid(IMouseHoverNotify).name(),
                                       typeid(IMouseClickNotify).name(), typeid(IKeyboardNotify).name(),
                                       typeid(IWindowNotify).name(),     typeid(IFocusNotify).name()};
    auto with = [&](std::set<std::string> base, const std::type_info &extra) {
        base.insert(extra.name());
        return base;
    };
    struct Case {
        const char *name;
        IEventSender *sender;
        std::set<std::string> raises;
    };
    const Case cases[] = {
        {"edit", &edit, {typeid(IEditNotify).name()}},
        {"combo", &combo, {typeid(IEditNotify).name(), typeid(IComboBoxNotify).name()}},
        {"label", &label, six},
        {"group", &group, six},
        {"button", &button, with(six, typeid(IButtonNotify))},
        {"check", &check, with(six, typeid(IButtonNotify))},
        {"radio", &radio, with(six, typeid(IButtonNotify))},
        {"list", &list, with(six, typeid(IListBoxNotify))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::type_info *type : all)
            EXPECT_EQ(c.sender->CausesEvent(*type), c.raises.count(type->name()) == 1) << type->name();
    }
    CButtonNotify buttons;
    EXPECT_FALSE(label.Subscribe(buttons.AsNotify(), typeid(IButtonNotify), true));
    EXPECT_TRUE(button.Subscribe(buttons.AsNotify(), typeid(IButtonNotify), true));
}

TEST_F(ControlsTest, ResizesAcrossTheWholeIntRangeSaturate) {
    constexpr int lo = std::numeric_limits<int>::min();
    constexpr int hi = std::numeric_limits<int>::max();
    struct Sizes : CWindowNotify {
        void OnResize(CWindowEvent *event) override { heard.emplace_back(event->GetX(), event->GetY()); }
        std::vector<std::pair<int, int>> heard;
    } sizes;
    ScriptedLabel label(log, "label");
    label.Subscribe(sizes.AsNotify(), typeid(IWindowNotify), true);
    label.SetBounds(0, 0, 9, 9);
    label.SetBounds(lo, 0, hi, 9);
    label.SetBounds(lo, lo, hi, hi);
    label.SetBounds(hi, 0, hi, 9);
    EXPECT_EQ(sizes.heard, (std::vector<std::pair<int, int>>{{10, 10}, {hi, 10}, {hi, hi}, {1, 10}}));
}

TEST_F(ControlsTest, TypingEditsTheTextUnlessForbiddenOrReadOnly) {
    ScriptedEdit edit(log, "edit");
    heard.Listen(&edit);
    edit.TypeText(W("ab"));
    EXPECT_EQ(Take(), (Lines{"heard.EditOnChar 97", "heard.EditOnChangeText a", "heard.EditOnChar 98",
                             "heard.EditOnChangeText ab"}));
    heard.forbid = true;
    edit.TypeText(W("c"));
    heard.forbid = false;
    edit.SetReadOnly(true);
    edit.TypeText(W("d"));
    EXPECT_EQ(Take(), (Lines{"heard.EditOnChar 99", "edit.SetReadOnly 1", "heard.EditOnChar 100"}));
    EXPECT_EQ(edit.GetText(), W("ab"));
    edit.SetReadOnly(false);
    edit.SetEnabled(false);
    edit.TypeText(W("e"));
    edit.SetEnabled(true);
    EXPECT_EQ(edit.GetText(), W("ab"));
    edit.PressKey(vk::Return);
    edit.Wheel(-120);
    EXPECT_EQ(Take(), (Lines{"edit.GetText", "edit.SetReadOnly 0", "edit.SetEnabled 0", "edit.SetEnabled 1",
                             "edit.GetText", "heard.EditOnKeyDown 13", "heard.EditOnReturnPress",
                             "heard.EditOnMouseWheel -120"}));
}

TEST_F(ControlsTest, EditKeysMoveEraseAndUseTheClipboard) {
    ScriptedEdit edit(log, "edit");
    edit.SetText(W("hello"));
    struct Step {
        int key;
        VKeyState keys;
        const char *text;
    };
    edit.SetSelection(0, 2);
    const Step steps[] = {
        {'C', keystate::Control, "hello"},         // copies "he"
        {vk::End, 0, "hello"},                     //
        {vk::Insert, keystate::Shift, "hellohe"},  // pastes
        {vk::Back, 0, "helloh"},                   //
        {vk::Home, 0, "helloh"},                   //
        {vk::Delete, 0, "elloh"},                  //
        {vk::Right, 0, "elloh"},                   //
        {vk::Back, 0, "lloh"},                     //
        {vk::Delete, keystate::Control, "loh"},    // not a cut: a plain delete
    };
    for (const Step &s : steps) {
        edit.PressKey(s.key, s.keys);
        EXPECT_EQ(WideToUtf8(edit.GetText()), s.text) << s.key;
    }
    edit.SetSelection(5, 1);
    int start = 0, end = 0;
    edit.GetSelection(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    edit.PressKey(vk::Delete, keystate::Shift);
    EXPECT_EQ(edit.GetText(), W("l"));
    EXPECT_EQ(ScriptedClipboard(), W("oh"));
    // A forbidden key does nothing of its own.
    heard.Listen(&edit);
    heard.forbid = true;
    edit.PressKey('V', keystate::Control);
    EXPECT_EQ(edit.GetText(), W("l"));
}

TEST_F(ControlsTest, ComboBoxSelectsAndChoosesItems) {
    ScriptedComboBox combo(log, "combo");
    EXPECT_EQ(combo.AddItem(W("red")), 0);
    EXPECT_EQ(combo.AddItem(W("green")), 1);
    heard.Listen(&combo);
    Take();
    combo.Select(1);
    combo.Choose(0);
    combo.Select(2);
    EXPECT_EQ(Take(),
              (Lines{"heard.CBOnSelectItem 1", "heard.EditOnChangeText green", "heard.CBOnSelectItem 0",
                     "heard.EditOnChangeText red", "heard.CBOnChoicItem 0"}));
    EXPECT_EQ(combo.GetCurSel(), 0);
    combo.DeleteItem(0);
    EXPECT_EQ(combo.GetCurSel(), -1);
    combo.SetCurSel(7);
    EXPECT_EQ(combo.GetCurSel(), -1);
}

TEST_F(ControlsTest, ButtonsClickToggleAndKeepOneRadioChecked) {
    ScriptedButton button(log, "button");
    ScriptedCheckBox check(log, "check");
    ScriptedRadioButton radios[] = {{log, "r0"}, {log, "r1"}, {log, "r2"}};
    ScriptedRadioButton::Group({&radios[0], &radios[1], &radios[2]});
    heard.Listen(&button);
    button.Press();
    EXPECT_EQ(Take(), (Lines{"heard.OnClick", "heard.ButtonOnClick"}));
    button.SetFocus();
    button.Blur();
    EXPECT_EQ(Take(), (Lines{"button.SetFocus", "heard.OnGetFocus", "heard.ButtonOnGetFocus",
                             "heard.OnLostFocus", "heard.ButtonOnLostFocus"}));
    button.SetEnabled(false);
    button.Press();
    EXPECT_EQ(Take(), (Lines{"button.SetEnabled 0"}));

    check.Press();
    EXPECT_TRUE(check.IsChecked());
    check.Press();
    EXPECT_FALSE(check.IsChecked());

    radios[0].SetChecked(true);
    radios[2].Press();
    radios[1].SetChecked(true);
    int checked = 0;
    for (const auto &radio : radios) checked += radio.IsChecked();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(radios[1].IsChecked());
}

TEST_F(ControlsTest, ListBoxSelectsByClickKeyAndCharacter) {
    ScriptedListBox list(log, "list");
    for (const char *item : {"apple", "banana", "blueberry", "cherry"}) list.AddItem(W(item));
    heard.Listen(&list);
    Take();
    list.Select(1);
    list.Select(1);
    list.Select(9);
    list.TypeChar('b');
    list.TypeChar('B');
    list.PressKey(vk::End);
    list.DoubleClickItem(0);
    EXPECT_EQ(Take(), (Lines{"heard.ListBoxOnSelectionChanged", "heard.ListBoxOnChar 98",
                             "heard.ListBoxOnSelectionChanged", "heard.ListBoxOnChar 66",
                             "heard.ListBoxOnSelectionChanged", "heard.ListBoxOnKeyDown 35",
                             "heard.ListBoxOnSelectionChanged", "heard.ListBoxOnSelectionChanged",
                             "heard.ListBoxOnDoubleClick"}));
    heard.forbid = true;
    list.PressKey(vk::Down);
    EXPECT_EQ(list.GetCurSel(), 0);
    list.DeleteItem(0);
    EXPECT_EQ(list.GetCurSel(), -1);
}

}  // namespace
}  // namespace quelt
