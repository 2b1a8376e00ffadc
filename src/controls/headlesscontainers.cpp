#include "quelt/controls/headlesscontainers.h"

#include <algorithm>
#include <typeinfo>

#include "core/numeric_p.h"

namespace quelt {

namespace {

screen_rectangle<int> ClientOf(CSysWindow *window) {
    if (!window) return {};
    const rectangle<int> r = window->GetBoundsRect();
    return {r.left, r.top, r.right, r.bottom};
}

// Makes the container the parent's child container; its receiver hears the parent's resizes.
void Link(CBaseContainer *container, CSysWindow *parent, CWindowNotify *receiver) {
    container->SetParent(parent);
    if (!parent) return;
    parent->SetChildContainer(container);
    parent->Subscribe(receiver->AsNotify(), typeid(IWindowNotify), true);
}

bool FromParent(const CBaseContainer *container, CWindowEvent *event) {
    return container->GetParent() &&
           event->GetSource() == static_cast<IEventSender *>(container->GetParent());
}

// Shows the current page over the area and hides the others.
void ShowOnly(const screen_rectangle<int> &area, const std::vector<ISysWindow *> &pages,
              ISysWindow *current) {
    for (ISysWindow *page : pages) {
        if (page && page != current) page->SetVisible(false);
    }
    if (!current) return;
    current->SetBounds(area, true);
    current->SetVisible(true);
}

}  // namespace

// --- notebook --------------------------------------------------------------------

CHeadlessNotebook::CHeadlessNotebook(CSysWindow *parent) { Link(this, parent, this); }

void CHeadlessNotebook::OnResize(CWindowEvent *event) {
    if (FromParent(this, event)) ShowPages();
}

int CHeadlessNotebook::AddPage(ISysWindow *page) {
    const int index = InsertPageAt(GetPagesCount(), page);
    if (CurrentIndex() < 0) SelectPageAt(index);
    ShowPages();
    return index;
}

void CHeadlessNotebook::RemovePage(int index) {
    if (ErasePageAt(index)) ShowPages();
}

void CHeadlessNotebook::SetCurrentPage(int index) {
    if (SelectPageAt(index)) ShowPages();
}

void CHeadlessNotebook::ShowPages() {
    std::vector<ISysWindow *> pages;
    for (int i = 0; i < GetPagesCount(); ++i) pages.push_back(GetPage(i));
    ShowOnly(ClientOf(GetParent()), pages, GetPage(CurrentIndex()));
}

// --- tab notebook ----------------------------------------------------------------

CHeadlessTabNotebook::CHeadlessTabNotebook(CSysWindow *parent, WorkMode mode) : CTabNotebook(mode) {
    Link(this, parent, this);
    m_pStrip = parent ? parent->CreateChildWindow() : nullptr;
    Watch(m_pStrip);
}

void CHeadlessTabNotebook::OnResize(CWindowEvent *event) {
    if (FromParent(this, event)) ShowPages();
}

bool CHeadlessTabNotebook::IsTabControlFocused() { return m_pStrip && m_pStrip->IsFocused(); }

void CHeadlessTabNotebook::OnWindowGone(ISysWindow *window) {
    if (window == m_pStrip) m_pStrip = nullptr;
    CTabNotebook::OnWindowGone(window);
}

int CHeadlessTabNotebook::AddPage(const wstring &caption, ISysWindow *page) {
    const int index = InsertPageAt(GetPagesCount(), page);
    m_captions.insert(m_captions.begin() + index, caption);
    if (CurrentIndex() < 0) SelectPageAt(index);
    ShowPages();
    return index;
}

void CHeadlessTabNotebook::RemovePage(int index) {
    if (index < 0 || index >= GetPagesCount()) return;
    m_captions.erase(m_captions.begin() + index);
    ErasePageAt(index);
    ShowPages();
}

void CHeadlessTabNotebook::SetPageCaption(int index, const wstring &caption) {
    if (index < 0 || index >= static_cast<int>(m_captions.size())) return;
    m_captions[static_cast<std::size_t>(index)] = caption;
    Changed();
}

wstring CHeadlessTabNotebook::GetPageCaption(int index) {
    return index >= 0 && index < static_cast<int>(m_captions.size())
               ? m_captions[static_cast<std::size_t>(index)]
               : wstring();
}

void CHeadlessTabNotebook::ClickTab(int index) {
    if (SelectPageAt(index)) ShowPages();
}

void CHeadlessTabNotebook::FocusTabControl() {
    if (m_pStrip) m_pStrip->SetFocus();
}

screen_rectangle<int> CHeadlessTabNotebook::PageArea() { return ClientOf(GetParent()); }

void CHeadlessTabNotebook::ShowPages() {
    Changed();
    if (GetMode() != Pages) return;
    std::vector<ISysWindow *> pages;
    for (int i = 0; i < GetPagesCount(); ++i) pages.push_back(GetPage(i));
    ShowOnly(PageArea(), pages, GetPage());
}

// --- splitter ----------------------------------------------------------------------

CHeadlessSplitter::CHeadlessSplitter(CSysWindow *parent, OrientationType orientation)
    : CSplitter(orientation) {
    Link(this, parent, this);
    ResizeTotal(Extent());
}

screen_rectangle<int> CHeadlessSplitter::Area() { return ClientOf(GetParent()); }

int CHeadlessSplitter::Extent() {
    if (!GetParent()) return 0;
    const screen_rectangle<int> r = Area();
    return GetOrientation() == Vertical ? PixelCount(r.top, r.bottom) : PixelCount(r.left, r.right);
}

void CHeadlessSplitter::SetSections(ISysWindow *first, ISysWindow *second) {
    AssignSections(first, second);
    Place();
}

void CHeadlessSplitter::SetMinimalSize(int size) {
    AssignMinimalSize(size);
    Place();
}

void CHeadlessSplitter::Drag(int pos) {
    MovePosition(pos, Extent());
    Place();
}

void CHeadlessSplitter::OnResize(CWindowEvent *event) {
    if (!FromParent(this, event)) return;
    ResizeTotal(Extent());
    Place();
}

void CHeadlessSplitter::Place() {
    screen_rectangle<int> first, second;
    GetSectionRects(Area(), first, second);
    if (ISysWindow *window = GetFirstSection()) window->SetBounds(first, true);
    if (ISysWindow *window = GetSecondSection()) window->SetBounds(second, true);
}

// --- decoration --------------------------------------------------------------------

CHeadlessDecoration::CHeadlessDecoration(CSysWindow *parent) { Link(this, parent, this); }

void CHeadlessDecoration::OnResize(CWindowEvent *event) {
    if (FromParent(this, event)) Place();
}

void CHeadlessDecoration::SetContentPane(ISysWindow *pane) {
    AssignContentPane(pane);
    Place();
}

void CHeadlessDecoration::AddElement(IDecorationElement *element) {
    if (!element) return;
    m_elements.push_back(element);
    Place();
}

void CHeadlessDecoration::RemoveElement(IDecorationElement *element) {
    m_elements.erase(std::remove(m_elements.begin(), m_elements.end(), element), m_elements.end());
    Place();
}

void CHeadlessDecoration::Place() {
    ISysWindow *pane = GetContentPane();
    if (!pane || !GetParent()) return;
    screen_rectangle<int> r = ClientOf(GetParent());
    r.top = SaturatingNarrow<int>(std::min(r.top + static_cast<long long>(ElementHeight) * GetElementCount(),
                                           static_cast<long long>(r.bottom)));
    pane->SetBounds(r, true);
}

// --- toolbar -----------------------------------------------------------------------

CHeadlessToolbar::Button *CHeadlessToolbar::Find(int id) {
    const auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                                 [id](const Button &b) { return !b.separator && b.id == id; });
    return it == m_buttons.end() ? nullptr : &*it;
}

void CHeadlessToolbar::AddButton(int id, const wstring &text, ButtonStyle style) {
    m_buttons.push_back({id, text, style, true, false, false});
    Changed();
}

void CHeadlessToolbar::AddSeparator() {
    m_buttons.push_back({-1, wstring(), PushStyle, false, false, true});
    Changed();
}

void CHeadlessToolbar::SetFlag(int id, bool Button::*flag, bool value) {
    if (Button *button = Find(id)) button->*flag = value;
    Changed();
}

bool CHeadlessToolbar::Flag(int id, bool Button::*flag) {
    const Button *button = Find(id);
    return button && button->*flag;
}

void CHeadlessToolbar::EnableButton(int id, bool enabled) { SetFlag(id, &Button::enabled, enabled); }

bool CHeadlessToolbar::IsButtonEnabled(int id) { return Flag(id, &Button::enabled); }

void CHeadlessToolbar::CheckButton(int id, bool checked) { SetFlag(id, &Button::checked, checked); }

bool CHeadlessToolbar::IsButtonChecked(int id) { return Flag(id, &Button::checked); }

screen_rectangle<int> CHeadlessToolbar::GetButtonRect(int id) {
    int x = 0;
    for (const Button &button : m_buttons) {
        const int width = button.separator ? SeparatorWidth : ButtonSize;
        if (!button.separator && button.id == id) return {x, 0, x + width - 1, ButtonSize - 1};
        x += width;
    }
    return {};
}

void CHeadlessToolbar::Press(int id) {
    Button *button = Find(id);
    if (!button || !button->enabled) return;
    if (button->style == CheckStyle) {
        button->checked = !button->checked;
        Changed();
    }
    if (button->style == DropDownStyle) {
        CToolbarDropDownEvent event(Self(), id, GetButtonRect(id));
        NotifyToolbarOnDropDown(&event);
        return;
    }
    CToolbarEvent event(Self(), id);
    NotifyToolbarOnCommand(&event);
}

void CHeadlessToolbar::Hold(int id, int interval) {
    Press(id);
    const Button *button = Find(id);
    if (!button || !button->enabled) return;
    m_held = id;
    Changed();
    StartAutoRepeat(interval);
}

void CHeadlessToolbar::ReleaseButton() {
    m_held = -1;
    Changed();
    StopAutoRepeat();
}

void CHeadlessToolbar::OnAutoRepeat() {
    const Button *button = Find(m_held);
    if (!button || !button->enabled) {
        ReleaseButton();
        return;
    }
    CToolbarEvent event(Self(), m_held);
    NotifyToolbarOnCommand(&event);
}

// --- popup menu --------------------------------------------------------------------

int CHeadlessMenu::Find(int id) const {
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [id](const Item &item) { return !item.separator && item.id == id; });
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void CHeadlessMenu::AppendItem(int id, const wstring &text) {
    m_items.push_back({id, text, false, false, true});
    Changed();
}

void CHeadlessMenu::AppendSeparator() {
    m_items.push_back({0, wstring(), true, false, true});
    Changed();
}

void CHeadlessMenu::Show(int x, int y) {
    m_at = {x, y};
    m_shown = true;
    Changed();
}

int CHeadlessMenu::GetItemPosition(int id) { return Find(id); }

void CHeadlessMenu::CheckItem(int pos, bool checked) {
    if (!Valid(pos)) return;
    m_items[static_cast<std::size_t>(pos)].checked = checked;
    Changed();
}

void CHeadlessMenu::EnableItem(int pos, bool enabled) {
    if (!Valid(pos)) return;
    m_items[static_cast<std::size_t>(pos)].enabled = enabled;
    Changed();
}

void CHeadlessMenu::HighlightMenuItem(int id) {
    CMenuEvent event(Self(), id);
    NotifyOnSelected(&event);
}

void CHeadlessMenu::ChooseMenuItem(int id) {
    const int pos = Find(id);
    if (pos < 0 || !Entry(pos).enabled) return;
    HighlightMenuItem(id);
    ProcessItem(pos, Marked(pos));
    Dismiss();
    CMenuEvent event(Self(), id);
    NotifyOnClicked(&event);
}

void CHeadlessMenu::Dismiss() {
    m_shown = false;
    Changed();
}

}  // namespace quelt
