#include "quelt/testing/containers.h"

#include "quelt/testing/window.h"

namespace quelt::testing {

std::string WindowName(const ISysWindow *window) {
    if (!window) return "-";
    const auto *scripted = dynamic_cast<const ScriptedWindow *>(window);
    return scripted ? scripted->GetName() : "?";
}

// --- notebook --------------------------------------------------------------------

ScriptedNotebook::ScriptedNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent)
    : CHeadlessNotebook(parent), ScriptedTrace(std::move(log), std::move(name)) {}

int ScriptedNotebook::AddPage(ISysWindow *page) {
    Trace("AddPage", WindowName(page));
    return CHeadlessNotebook::AddPage(page);
}

void ScriptedNotebook::RemovePage(int index) {
    Trace("RemovePage", index);
    CHeadlessNotebook::RemovePage(index);
}

void ScriptedNotebook::SetCurrentPage(int index) {
    Trace("SetCurrentPage", index);
    CHeadlessNotebook::SetCurrentPage(index);
}

int ScriptedNotebook::GetCurrentPage() {
    Trace("GetCurrentPage");
    return CHeadlessNotebook::GetCurrentPage();
}

// --- tab notebook ----------------------------------------------------------------

ScriptedTabNotebook::ScriptedTabNotebook(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent,
                                         WorkMode mode)
    : CHeadlessTabNotebook(parent, mode), ScriptedTrace(std::move(log), std::move(name)) {}

int ScriptedTabNotebook::AddPage(const wstring &caption, ISysWindow *page) {
    Trace("AddPage", WindowName(page), caption);
    return CHeadlessTabNotebook::AddPage(caption, page);
}

void ScriptedTabNotebook::RemovePage(int index) {
    Trace("RemovePage", index);
    CHeadlessTabNotebook::RemovePage(index);
}

void ScriptedTabNotebook::SetCurrentPage(int index) {
    Trace("SetCurrentPage", index);
    CHeadlessTabNotebook::SetCurrentPage(index);
}

int ScriptedTabNotebook::GetCurrentPage() {
    Trace("GetCurrentPage");
    return CHeadlessTabNotebook::GetCurrentPage();
}

void ScriptedTabNotebook::SetPageCaption(int index, const wstring &caption) {
    Trace("SetPageCaption", index, caption);
    CHeadlessTabNotebook::SetPageCaption(index, caption);
}

wstring ScriptedTabNotebook::GetPageCaption(int index) {
    Trace("GetPageCaption", index);
    return CHeadlessTabNotebook::GetPageCaption(index);
}

void ScriptedTabNotebook::FocusTabControl() {
    Trace("FocusTabControl");
    CHeadlessTabNotebook::FocusTabControl();
}

// --- splitter ----------------------------------------------------------------------

ScriptedSplitter::ScriptedSplitter(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent,
                                   OrientationType orientation)
    : CHeadlessSplitter(parent, orientation), ScriptedTrace(std::move(log), std::move(name)) {}

void ScriptedSplitter::SetSections(ISysWindow *first, ISysWindow *second) {
    Trace("SetSections", WindowName(first), WindowName(second));
    CHeadlessSplitter::SetSections(first, second);
}

void ScriptedSplitter::SetPosition(int position) {
    Trace("SetPosition", position);
    CHeadlessSplitter::SetPosition(position);
}

int ScriptedSplitter::GetPosition() {
    Trace("GetPosition");
    return CHeadlessSplitter::GetPosition();
}

void ScriptedSplitter::SetResizeMode(ResizeMode mode) {
    Trace("SetResizeMode", static_cast<int>(mode));
    CHeadlessSplitter::SetResizeMode(mode);
}

void ScriptedSplitter::SetMinimalSize(int size) {
    Trace("SetMinimalSize", size);
    CHeadlessSplitter::SetMinimalSize(size);
}

void ScriptedSplitter::Relayout() {
    Trace("Relayout");
    CHeadlessSplitter::Relayout();
}

// --- decoration --------------------------------------------------------------------

ScriptedDecoration::ScriptedDecoration(std::shared_ptr<CallLog> log, std::string name, CSysWindow *parent)
    : CHeadlessDecoration(parent), ScriptedTrace(std::move(log), std::move(name)) {}

namespace {

std::string ElementName(const IDecorationElement *element) {
    const auto *toolbar = dynamic_cast<const ScriptedToolbar *>(element);
    return !element ? "-" : toolbar ? toolbar->GetName() : "?";
}

}  // namespace

void ScriptedDecoration::SetContentPane(ISysWindow *pane) {
    Trace("SetContentPane", WindowName(pane));
    CHeadlessDecoration::SetContentPane(pane);
}

void ScriptedDecoration::AddElement(IDecorationElement *element) {
    Trace("AddElement", ElementName(element));
    CHeadlessDecoration::AddElement(element);
}

void ScriptedDecoration::RemoveElement(IDecorationElement *element) {
    Trace("RemoveElement", ElementName(element));
    CHeadlessDecoration::RemoveElement(element);
}

void ScriptedDecoration::Relayout() {
    Trace("Relayout");
    CHeadlessDecoration::Relayout();
}

// --- toolbar -----------------------------------------------------------------------

void ScriptedToolbar::AddButton(int id, const wstring &text, ButtonStyle style) {
    Trace("AddButton", id, static_cast<int>(style), text);
    CHeadlessToolbar::AddButton(id, text, style);
}

void ScriptedToolbar::AddSeparator() {
    Trace("AddSeparator");
    CHeadlessToolbar::AddSeparator();
}

void ScriptedToolbar::EnableButton(int id, bool enabled) {
    Trace("EnableButton", id, enabled);
    CHeadlessToolbar::EnableButton(id, enabled);
}

bool ScriptedToolbar::IsButtonEnabled(int id) {
    Trace("IsButtonEnabled", id);
    return CHeadlessToolbar::IsButtonEnabled(id);
}

void ScriptedToolbar::CheckButton(int id, bool checked) {
    Trace("CheckButton", id, checked);
    CHeadlessToolbar::CheckButton(id, checked);
}

bool ScriptedToolbar::IsButtonChecked(int id) {
    Trace("IsButtonChecked", id);
    return CHeadlessToolbar::IsButtonChecked(id);
}

screen_rectangle<int> ScriptedToolbar::GetButtonRect(int id) {
    Trace("GetButtonRect", id);
    return CHeadlessToolbar::GetButtonRect(id);
}

}  // namespace quelt::testing
