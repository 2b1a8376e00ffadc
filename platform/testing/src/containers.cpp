#include "quelt/testing/containers.h"

#include <algorithm>
#include <typeinfo>

#include "quelt/testing/window.h"

namespace quelt::testing {

using logtext::Call;

std::string WindowName(const ISysWindow *window) {
    if (!window) return "-";
    const auto *scripted = dynamic_cast<const ScriptedWindow *>(window);
    return scripted ? scripted->GetName() : "?";
}

namespace {

screen_rectangle<int> ClientOf(CSysWindow *window) {
    if (!window) return {};
    const rectangle<int> r = window->GetBoundsRect();
    return {r.left, r.top, r.right, r.bottom};
}

void Link(CBaseContainer *container, CSysWindow *parent) {
    container->SetParent(parent);
    if (parent) parent->SetChildContainer(container);
}

// Shows the current page over the parent's client area and hides the others.
void ShowOnly(CSysWindow *parent, const std::vector<ISysWindow *> &pages, ISysWindow *current) {
    for (ISysWindow *page : pages) {
        if (page && page != current) page->SetVisible(false);
    }
    if (!current) return;
    current->SetBounds(ClientOf(parent), true);
    current->SetVisible(true);
}

}  // namespace

// --- notebook --------------------------------------------------------------------

ScriptedNotebook::ScriptedNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent)
    : m_pLog(std::move(log)), m_name(std::move(name)) {
    Link(this, parent);
}

int ScriptedNotebook::AddPage(ISysWindow *page) {
    m_pLog->Add(Call(m_name, "AddPage", WindowName(page)));
    const int index = InsertPageAt(GetPagesCount(), page);
    if (CurrentIndex() < 0) SelectPageAt(index);
    ShowPages();
    return index;
}

void ScriptedNotebook::RemovePage(int index) {
    m_pLog->Add(Call(m_name, "RemovePage", index));
    if (ErasePageAt(index)) ShowPages();
}

void ScriptedNotebook::SetCurrentPage(int index) {
    m_pLog->Add(Call(m_name, "SetCurrentPage", index));
    if (SelectPageAt(index)) ShowPages();
}

int ScriptedNotebook::GetCurrentPage() {
    m_pLog->Add(Call(m_name, "GetCurrentPage"));
    return CurrentIndex();
}

void ScriptedNotebook::ShowPages() {
    std::vector<ISysWindow *> pages;
    for (int i = 0; i < GetPagesCount(); ++i) pages.push_back(GetPage(i));
    ShowOnly(GetParent(), pages, GetPage(CurrentIndex()));
}

// --- tab notebook ----------------------------------------------------------------

ScriptedTabNotebook::ScriptedTabNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent,
                                         WorkMode mode)
    : CTabNotebook(mode), m_pLog(std::move(log)), m_name(std::move(name)) {
    Link(this, parent);
    m_pStrip = parent ? parent->CreateChildWindow() : nullptr;
    Watch(m_pStrip);
}

bool ScriptedTabNotebook::IsTabControlFocused() { return m_pStrip && m_pStrip->IsFocused(); }

void ScriptedTabNotebook::OnWindowGone(ISysWindow *window) {
    if (window == m_pStrip) m_pStrip = nullptr;
    CTabNotebook::OnWindowGone(window);
}

int ScriptedTabNotebook::AddPage(const wstring &caption, ISysWindow *page) {
    m_pLog->Add(Call(m_name, "AddPage", WindowName(page), caption));
    const int index = InsertPageAt(GetPagesCount(), page);
    m_captions.insert(m_captions.begin() + index, caption);
    if (CurrentIndex() < 0) SelectPageAt(index);
    ShowPages();
    return index;
}

void ScriptedTabNotebook::RemovePage(int index) {
    m_pLog->Add(Call(m_name, "RemovePage", index));
    if (index < 0 || index >= GetPagesCount()) return;
    m_captions.erase(m_captions.begin() + index);
    ErasePageAt(index);
    ShowPages();
}

void ScriptedTabNotebook::SetCurrentPage(int index) {
    m_pLog->Add(Call(m_name, "SetCurrentPage", index));
    ClickTab(index);
}

int ScriptedTabNotebook::GetCurrentPage() {
    m_pLog->Add(Call(m_name, "GetCurrentPage"));
    return CurrentIndex();
}

void ScriptedTabNotebook::SetPageCaption(int index, const wstring &caption) {
    m_pLog->Add(Call(m_name, "SetPageCaption", index, caption));
    if (index >= 0 && index < static_cast<int>(m_captions.size()))
        m_captions[static_cast<std::size_t>(index)] = caption;
}

wstring ScriptedTabNotebook::GetPageCaption(int index) {
    m_pLog->Add(Call(m_name, "GetPageCaption", index));
    return index >= 0 && index < static_cast<int>(m_captions.size())
               ? m_captions[static_cast<std::size_t>(index)]
               : wstring();
}

void ScriptedTabNotebook::ClickTab(int index) {
    if (SelectPageAt(index)) ShowPages();
}

void ScriptedTabNotebook::FocusTabControl() {
    m_pLog->Add(Call(m_name, "FocusTabControl"));
    if (m_pStrip) m_pStrip->SetFocus();
}

void ScriptedTabNotebook::ShowPages() {
    if (GetMode() != Pages) return;
    std::vector<ISysWindow *> pages;
    for (int i = 0; i < GetPagesCount(); ++i) pages.push_back(GetPage(i));
    ShowOnly(GetParent(), pages, GetPage());
}

// --- splitter ----------------------------------------------------------------------

ScriptedSplitter::ScriptedSplitter(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent,
                                   OrientationType orientation)
    : CSplitter(orientation), m_pLog(std::move(log)), m_name(std::move(name)) {
    Link(this, parent);
    if (parent) parent->Subscribe(CWindowNotify::AsNotify(), typeid(IWindowNotify), true);
    ResizeTotal(Extent());
}

int ScriptedSplitter::Extent() {
    const screen_rectangle<int> r = ClientOf(GetParent());
    if (!GetParent()) return 0;
    return GetOrientation() == Vertical ? r.bottom - r.top + 1 : r.right - r.left + 1;
}

void ScriptedSplitter::SetSections(ISysWindow *first, ISysWindow *second) {
    m_pLog->Add(Call(m_name, "SetSections", WindowName(first), WindowName(second)));
    AssignSections(first, second);
    Place();
}

void ScriptedSplitter::SetPosition(int position) {
    m_pLog->Add(Call(m_name, "SetPosition", position));
    Drag(position);
}

int ScriptedSplitter::GetPosition() {
    m_pLog->Add(Call(m_name, "GetPosition"));
    return CurrentPosition();
}

void ScriptedSplitter::SetResizeMode(ResizeMode mode) {
    m_pLog->Add(Call(m_name, "SetResizeMode", static_cast<int>(mode)));
    AssignResizeMode(mode);
}

void ScriptedSplitter::SetMinimalSize(int size) {
    m_pLog->Add(Call(m_name, "SetMinimalSize", size));
    AssignMinimalSize(size);
    Place();
}

void ScriptedSplitter::Relayout() {
    m_pLog->Add(Call(m_name, "Relayout"));
    Place();
}

void ScriptedSplitter::Drag(int pos) {
    MovePosition(pos, Extent());
    Place();
}

void ScriptedSplitter::OnResize(CWindowEvent *event) {
    if (!GetParent() || event->GetSource() != static_cast<IEventSender *>(GetParent())) return;
    ResizeTotal(Extent());
    Place();
}

void ScriptedSplitter::Place() {
    screen_rectangle<int> first, second;
    GetSectionRects(ClientOf(GetParent()), first, second);
    if (ISysWindow *window = GetFirstSection()) window->SetBounds(first, true);
    if (ISysWindow *window = GetSecondSection()) window->SetBounds(second, true);
}

// --- decoration --------------------------------------------------------------------

ScriptedDecoration::ScriptedDecoration(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent)
    : m_pLog(std::move(log)), m_name(std::move(name)) {
    Link(this, parent);
}

namespace {

std::string ElementName(const IDecorationElement *element) {
    const auto *toolbar = dynamic_cast<const ScriptedToolbar *>(element);
    return !element ? "-" : toolbar ? toolbar->GetName() : "?";
}

}  // namespace

void ScriptedDecoration::SetContentPane(ISysWindow *pane) {
    m_pLog->Add(Call(m_name, "SetContentPane", WindowName(pane)));
    AssignContentPane(pane);
    Place();
}

void ScriptedDecoration::AddElement(IDecorationElement *element) {
    m_pLog->Add(Call(m_name, "AddElement", ElementName(element)));
    if (!element) return;
    m_elements.push_back(element);
    Place();
}

void ScriptedDecoration::RemoveElement(IDecorationElement *element) {
    m_pLog->Add(Call(m_name, "RemoveElement", ElementName(element)));
    m_elements.erase(std::remove(m_elements.begin(), m_elements.end(), element), m_elements.end());
    Place();
}

void ScriptedDecoration::Relayout() {
    m_pLog->Add(Call(m_name, "Relayout"));
    Place();
}

void ScriptedDecoration::Place() {
    ISysWindow *pane = GetContentPane();
    if (!pane || !GetParent()) return;
    screen_rectangle<int> r = ClientOf(GetParent());
    r.top = std::min(r.top + ElementHeight * GetElementCount(), r.bottom);
    pane->SetBounds(r, true);
}

// --- toolbar -----------------------------------------------------------------------

ScriptedToolbar::ScriptedToolbar(std::shared_ptr<CallLog> log, std::string name)
    : m_pLog(std::move(log)), m_name(std::move(name)) {}

ScriptedToolbar::Button *ScriptedToolbar::Find(int id) {
    const auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                                 [id](const Button &b) { return !b.separator && b.id == id; });
    return it == m_buttons.end() ? nullptr : &*it;
}

void ScriptedToolbar::AddButton(int id, const wstring &text, ButtonStyle style) {
    m_pLog->Add(Call(m_name, "AddButton", id, static_cast<int>(style), text));
    m_buttons.push_back({id, text, style, true, false, false});
}

void ScriptedToolbar::AddSeparator() {
    m_pLog->Add(Call(m_name, "AddSeparator"));
    m_buttons.push_back({-1, wstring(), PushStyle, false, false, true});
}

void ScriptedToolbar::EnableButton(int id, bool enabled) {
    m_pLog->Add(Call(m_name, "EnableButton", id, enabled));
    if (Button *button = Find(id)) button->enabled = enabled;
}

bool ScriptedToolbar::IsButtonEnabled(int id) {
    m_pLog->Add(Call(m_name, "IsButtonEnabled", id));
    const Button *button = Find(id);
    return button && button->enabled;
}

void ScriptedToolbar::CheckButton(int id, bool checked) {
    m_pLog->Add(Call(m_name, "CheckButton", id, checked));
    if (Button *button = Find(id)) button->checked = checked;
}

bool ScriptedToolbar::IsButtonChecked(int id) {
    m_pLog->Add(Call(m_name, "IsButtonChecked", id));
    const Button *button = Find(id);
    return button && button->checked;
}

screen_rectangle<int> ScriptedToolbar::GetButtonRect(int id) {
    m_pLog->Add(Call(m_name, "GetButtonRect", id));
    int x = 0;
    for (const Button &button : m_buttons) {
        const int width = button.separator ? SeparatorWidth : ButtonSize;
        if (!button.separator && button.id == id) return {x, 0, x + width - 1, ButtonSize - 1};
        x += width;
    }
    return {};
}

void ScriptedToolbar::Press(int id) {
    Button *button = Find(id);
    if (!button || !button->enabled) return;
    if (button->style == CheckStyle) button->checked = !button->checked;
    if (button->style == DropDownStyle) {
        CToolbarDropDownEvent event(Self(), id, GetButtonRect(id));
        NotifyToolbarOnDropDown(&event);
        return;
    }
    CToolbarEvent event(Self(), id);
    NotifyToolbarOnCommand(&event);
}

void ScriptedToolbar::Hold(int id, int interval) {
    Press(id);
    const Button *button = Find(id);
    if (!button || !button->enabled) return;
    m_held = id;
    StartAutoRepeat(interval);
}

void ScriptedToolbar::ReleaseButton() {
    m_held = -1;
    StopAutoRepeat();
}

void ScriptedToolbar::OnAutoRepeat() {
    const Button *button = Find(m_held);
    if (!button || !button->enabled) {
        ReleaseButton();
        return;
    }
    CToolbarEvent event(Self(), m_held);
    NotifyToolbarOnCommand(&event);
}

}  // namespace quelt::testing
