#include <gtest/gtest.h>

#include <set>

#include "quelt/controls/border.h"
#include "quelt/testing/containers.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedNotebook;
using quelt::testing::ScriptedSplitter;

ScriptedWindow *ChildOf(ScriptedWindow *parent) {
    return static_cast<ScriptedWindow *>(parent->CreateChildWindow());
}

// A form whose border holds a list on the left and a client area split in
// two; the right section is a notebook with one page:
//   form [border]: list (left), client [splitter]: tree, pane [notebook]: page
class NestedFocusTest : public ::testing::Test {
  protected:
    NestedFocusTest() {
        list = static_cast<ScriptedWindow *>(border->AddChild(IBorder::AlignLeft));
        client = static_cast<ScriptedWindow *>(border->AddChild(IBorder::AlignClient));
        list->SetBounds({0, 0, 29, 0}, false);
        form.Resize(300, 200);
        tree = ChildOf(client);
        pane = ChildOf(client);
        splitter =
            std::make_unique<ScriptedSplitter>(system->SharedLog(), "split", client, ISplitter::Horizontal);
        splitter->SetSections(tree, pane);
        page = ChildOf(pane);
        book = std::make_unique<ScriptedNotebook>(system->SharedLog(), "book", pane);
        book->AddPage(page);
    }
    ScriptedWindow *Focused() const { return system->GetFocusedWindow(); }
    bool InForm(ScriptedWindow *window) const {
        return window == list || window == tree || window == page || window == client || window == pane;
    }
    // Where tab after tab goes, starting from the focused window.
    std::vector<ScriptedWindow *> Walk(int presses, VKeyState keys) {
        std::vector<ScriptedWindow *> visited;
        for (int i = 0; i < presses; ++i) {
            Focused()->KeyDown(vk::Tab, keys);
            visited.push_back(Focused());
        }
        return visited;
    }

    InstalledSystem system;
    ScriptedWindow form{"form", 300, 200};
    std::unique_ptr<IBorder> border{form.CreateBorder()};
    ScriptedWindow *list = nullptr;
    ScriptedWindow *client = nullptr;
    ScriptedWindow *tree = nullptr;
    ScriptedWindow *pane = nullptr;
    ScriptedWindow *page = nullptr;
    std::unique_ptr<ScriptedSplitter> splitter;
    std::unique_ptr<ScriptedNotebook> book;
};

TEST_F(NestedFocusTest, TabCyclesThroughEveryLevelAndStaysInTheForm) {
    form.SetFocusChange(true);
    EXPECT_EQ(Focused(), list);
    EXPECT_EQ(Walk(6, 0), (std::vector<ScriptedWindow *>{tree, page, list, tree, page, list}));
    EXPECT_EQ(Walk(6, keystate::Shift), (std::vector<ScriptedWindow *>{page, tree, list, page, tree, list}));
    // Hidden windows are skipped at every level; the focus never leaves the form.
    tree->SetVisible(false);
    EXPECT_EQ(Walk(3, 0), (std::vector<ScriptedWindow *>{page, list, page}));
    pane->SetVisible(false);
    for (ScriptedWindow *window : Walk(4, 0)) EXPECT_TRUE(InForm(window));
    list->SetVisible(false);
    client->SetVisible(true);
    tree->SetVisible(true);
    pane->SetVisible(true);
    page->SetFocus();
    EXPECT_EQ(Walk(3, 0), (std::vector<ScriptedWindow *>{tree, page, tree}));
}

TEST_F(NestedFocusTest, ContainersThatLoopBackOnThemselvesEndTheTab) {
    // The notebook's only page is the very window it lives in, and the
    // splitter's sections are its own parent: entering them comes back round.
    book->AddPage(pane);
    splitter->SetSections(client, pane);
    form.SetFocusChange(true);
    list->SetFocus();
    list->KeyDown(vk::Tab);
    list->KeyDown(vk::Tab, keystate::Shift);
    form.ProcessTab(true);
    client->ProcessTab(false);
    EXPECT_TRUE(InForm(Focused()));
    // A page that is the notebook's own parent hands the focus back to it.
    ScriptedNotebook self(system->SharedLog(), "self", list);
    self.AddPage(list);
    list->SetVisible(true);
    list->SetFocus();
    list->KeyDown(vk::Tab);
    list->KeyDown(vk::Tab, keystate::Shift);
    list->GetFocusChange(true);
    EXPECT_EQ(Focused(), list);
    list->SetVisible(false);
    // With every window hidden a tab finds nothing and returns.
    for (ScriptedWindow *window : {list, client}) window->SetVisible(false);
    form.GetFocusChange(true);
    form.SetFocusChange(false);
    EXPECT_TRUE(InForm(Focused()));
}

TEST_F(NestedFocusTest, ContainersForgetWindowsAndLinksWhenEitherGoes) {
    EXPECT_EQ(tree->GetParentContainer(), splitter.get());
    splitter.reset();
    EXPECT_EQ(client->GetChildContainer(), nullptr);
    EXPECT_EQ(tree->GetParentContainer(), nullptr);
    EXPECT_EQ(pane->GetParentContainer(), nullptr);
    // The notebook's parent window goes first: the notebook keeps working.
    pane->Destroy();
    EXPECT_EQ(book->GetParent(), nullptr);
    book->SetFocusChange(true);
    EXPECT_EQ(Focused(), page);
    page->KeyDown(vk::Tab);
    EXPECT_EQ(Focused(), page);
}

}  // namespace
}  // namespace quelt
