#include <gtest/gtest.h>

#include "quelt/controls/border.h"
#include "quelt/testing/containers.h"
#include "sys/window_fixture.h"

namespace quelt {
namespace {

using namespace test;
using quelt::testing::ScriptedSplitter;
using Rect = screen_rectangle<int>;

// Children whose own bounds are inverted or huge, in parents down to one
// pixel: every rectangle the layouts hand out is normalised.
TEST(LayoutTest, NoChildIsEverLaidOutWithANegativeSize) {
    InstalledSystem system;
    const Rect odd[] = {
        {10, 10, 0, 0}, {0, 0, 2147483647, 2147483647}, {-2147483647 - 1, 0, 2147483647, 5}, {}};
    for (const auto &[width, height] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{100, 50}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        ScriptedWindow parent("form", width, height);
        std::unique_ptr<IBorder> border(parent.CreateBorder());
        std::vector<ScriptedWindow *> children;
        for (int alignment = 0; alignment <= 4; ++alignment) {
            for (const Rect &r : odd) {
                auto *child = static_cast<ScriptedWindow *>(
                    border->AddChild(static_cast<IBorder::Alignment>(alignment)));
                child->SetBounds(r, false);
                children.push_back(child);
            }
        }
        dynamic_cast<CBorder *>(border.get())->Layout();
        // Only the last client child is placed; the others keep their own bounds.
        children.erase(children.end() - static_cast<long>(std::size(odd)), children.end() - 1);
        for (ScriptedWindow *child : children) {
            const Rect b = child->GetBounds();
            EXPECT_LE(b.left, b.right) << child->GetName();
            EXPECT_LE(b.top, b.bottom) << child->GetName();
            // Within the parent, give or take the one column or row the
            // client child gets when the edges have taken everything.
            EXPECT_GE(b.left, 0) << child->GetName();
            EXPECT_GE(b.top, 0) << child->GetName();
            EXPECT_LE(b.right, width) << child->GetName();
            EXPECT_LE(b.bottom, height) << child->GetName();
        }
        ScriptedWindow *first = static_cast<ScriptedWindow *>(parent.CreateChildWindow());
        ScriptedWindow *second = static_cast<ScriptedWindow *>(parent.CreateChildWindow());
        ScriptedSplitter splitter(system->SharedLog(), "split", &parent, ISplitter::Vertical);
        splitter.SetSections(first, second);
        for (int pos : {-5, 0, 1, height, 1 << 30}) {
            splitter.Drag(pos);
            EXPECT_GE(splitter.GetPosition(), 0);
            for (ScriptedWindow *section : {first, second}) {
                const Rect b = section->GetBounds();
                EXPECT_GE(b.bottom - b.top, -1) << pos;
                EXPECT_LE(b.bottom, height - 1) << pos;
                EXPECT_GE(b.top, 0) << pos;
            }
        }
    }
}

}  // namespace
}  // namespace quelt
