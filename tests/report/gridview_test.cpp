#include "gridview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quelt/testing/printer.h"
#include "quelt/testing/system.h"
#include "quelt/testing/window.h"

namespace report {
namespace {

using namespace quelt;
using quelt::testing::InstalledSystem;
using quelt::testing::ScriptedPrinter;
using quelt::testing::ScriptedWindow;

// A data set of records "id" 0, 1, 2 ... and "name" r0, r1, r2 ...
class Records {
  public:
    explicit Records(int count) : m_owner(CreateMemDataSet()), m_data(dynamic_cast<CMemDataSet &>(*m_owner)) {
        m_data.AddField(u"id"_w, IField::Int);
        m_data.AddField(u"name"_w, IField::String);
        for (int i = 0; i < count; ++i) Append(i);
    }
    ~Records() { DeleteMemDataSet(m_owner); }
    Records(const Records &) = delete;
    Records &operator=(const Records &) = delete;

    void Append(int id) {
        IDataSet::Cursor cursor = m_data.CreateCursor();
        m_data.Append(cursor);
        cursor[0] = id;
        cursor[1] = Utf8ToWide("r" + std::to_string(id));
    }
    CMemDataSet &Data() { return m_data; }
    // The data set goes before the test ends.
    void Destroy() {
        DeleteMemDataSet(m_owner);
        m_owner = nullptr;
    }

  private:
    IMemDataSet *m_owner;
    CMemDataSet &m_data;
};

class GridViewTest : public ::testing::Test {
  protected:
    InstalledSystem system;
    ScriptedWindow window{"grid", 300, 200};
};

struct KeyCase {
    const char *name;
    int start;
    int key;
    int expected;
};

class GridViewKeys : public GridViewTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridViewKeys, MoveTheCurrentRecordWithinTheData) {
    Records records(40);
    GridView grid(&window, records.Data());
    grid.SetCurrentRecord(GetParam().start);
    window.KeyDown(GetParam().key);
    const int page = grid.GetVisibleRows();
    EXPECT_EQ(grid.GetCurrentRecord(), GetParam().expected < 0 ? page : GetParam().expected);
}

// expected -1: one page of rows further.
INSTANTIATE_TEST_SUITE_P(Keys, GridViewKeys,
                         ::testing::Values(KeyCase{"down", 0, vk::Down, 1}, KeyCase{"up", 5, vk::Up, 4},
                                           KeyCase{"up_at_first", 0, vk::Up, 0},
                                           KeyCase{"down_at_last", 39, vk::Down, 39},
                                           KeyCase{"end", 3, vk::End, 39}, KeyCase{"home", 30, vk::Home, 0},
                                           KeyCase{"page_down", 0, vk::PageDown, -1},
                                           KeyCase{"page_up_at_start", 2, vk::PageUp, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridViewTest, KeepsTheCurrentRecordInView) {
    Records records(100);
    GridView grid(&window, records.Data());
    window.KeyDown(vk::End);
    EXPECT_EQ(grid.GetTopRecord(), 100 - grid.GetVisibleRows());
    window.KeyDown(vk::Home);
    EXPECT_EQ(grid.GetTopRecord(), 0);
}

TEST_F(GridViewTest, ScrollsByRecordsWithTheScrollBar) {
    Records records(100);
    GridView grid(&window, records.Data());
    ScrollInfo info;
    window.GetScrollInfo(ISysWindow::VertScroll, info);
    EXPECT_EQ(info.max, 100);
    EXPECT_EQ(info.page, grid.GetVisibleRows());
    window.VertBar().Scroll(CScrollEvent::ThumbPosition, 37);
    EXPECT_EQ(grid.GetTopRecord(), 37);
    // Scrolling leaves the current record where it was.
    EXPECT_EQ(grid.GetCurrentRecord(), 0);
}

TEST_F(GridViewTest, CopyKeysHandTheCurrentCellToTheHost) {
    Records records(10);
    GridView grid(&window, records.Data());
    std::vector<wstring> copied;
    grid.SetCopyHandler([&copied](const wstring &text) { copied.push_back(text); });
    grid.SetCurrentRecord(4);
    window.KeyDown(vk::Letter('C'), keystate::Control);
    window.KeyDown(vk::Right);
    window.KeyDown(vk::Right);
    window.KeyDown(vk::Insert, keystate::Control);
    window.KeyDown(vk::Letter('C'));
    EXPECT_EQ(copied, (std::vector<wstring>{u"4"_w, u"r4"_w}));
}

TEST_F(GridViewTest, CellsShowTheFieldsUnderTheirFormats) {
    Records records(3);
    records.Append(1234);
    GridView grid(&window, records.Data());
    EXPECT_EQ(grid.CellText(3, 1), u"1234"_w);
    records.Data().SetFieldFormat(0, u"d,"_w);
    EXPECT_EQ(grid.CellText(3, 0), u"3"_w);
    EXPECT_EQ(grid.CellText(3, 1), u"1,234"_w);
    EXPECT_EQ(grid.CellText(3, 2), u"r1234"_w);
    EXPECT_EQ(grid.CellText(4, 1), wstring());
    EXPECT_EQ(grid.CellText(0, 3), wstring());
}

TEST_F(GridViewTest, TheHostMayShowCellsItsOwnWay) {
    Records records(3);
    GridView grid(&window, records.Data());
    grid.SetCellText([](IField &field, int index) {
        return Utf8ToWide(std::to_string(index) + ":") + static_cast<wstring>(field);
    });
    EXPECT_EQ(grid.CellText(1, 2), u"1:r1"_w);
}

TEST_F(GridViewTest, RedrawsWhenTheDataChanges) {
    Records records(5);
    GridView grid(&window, records.Data());
    window.Draw();
    window.Log().Take();
    records.Append(5);
    const std::vector<std::string> lines = window.Log().Take();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string &line) {
        return line.find("DoInvalidate") != std::string::npos;
    }));
    EXPECT_EQ(grid.CellText(5, 2), u"r5"_w);
}

TEST_F(GridViewTest, ACurrentRecordPastTheEndFollowsTheDataBack) {
    Records records(10);
    GridView grid(&window, records.Data());
    grid.SetCurrentRecord(9);
    IDataSet::Cursor last = records.Data().CreateCursor();
    last += 9;
    records.Data().Erase(last);
    EXPECT_EQ(grid.GetCurrentRecord(), 8);
}

TEST_F(GridViewTest, ForgetsADataSetThatGoes) {
    Records records(10);
    GridView grid(&window, records.Data());
    records.Destroy();
    EXPECT_EQ(grid.CellText(0, 1), wstring());
    window.Draw();
    window.KeyDown(vk::Down);
    EXPECT_EQ(grid.GetCurrentRecord(), 0);
}

class GridViewPrint : public GridViewTest {
  protected:
    GridViewPrint() {
        system->SetPrinter(&printer);
        printer.SetPainterOpensJob(true);
    }
    ~GridViewPrint() override { system->SetPrinter(nullptr); }

    // Every text drawn on page (0-based) of the first job.
    std::string PageText(std::size_t page) const {
        std::string text;
        for (const std::string &line : printer.Jobs().at(0).pages.at(page).drawing) {
            if (line.find("internalTextOut") != std::string::npos) text += line + '\n';
        }
        return text;
    }

    ScriptedPrinter printer;
};

struct PaperCase {
    const char *name;
    IPrinter::PaperSize paper;
    int rows;
};

class GridViewPaper : public GridViewPrint, public ::testing::WithParamInterface<PaperCase> {};

// 9-point rows are 5.08 mm; the paper less 15 mm margins holds a header and a page number besides.
TEST_P(GridViewPaper, RowsPerPageFollowThePaperHeight) {
    Records records(1);
    GridView grid(&window, records.Data());
    printer.SetPaperSize(GetParam().paper);
    EXPECT_EQ(grid.GetRowsPerPage(&printer), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Papers, GridViewPaper,
                         ::testing::Values(PaperCase{"a4", IPrinter::PaperA4, 50},
                                           PaperCase{"a5", IPrinter::PaperSize(6), 33},
                                           PaperCase{"a3", IPrinter::PaperSize(5), 74}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridViewPrint, PrintsEveryPageWithTheHeaderAndItsNumber) {
    Records records(120);
    GridView grid(&window, records.Data());
    ASSERT_EQ(grid.GetPageCount(&printer), 3);
    grid.Print();
    ASSERT_EQ(printer.Jobs().size(), 1u);
    ASSERT_EQ(printer.Jobs()[0].pages.size(), 3u);
    for (std::size_t page = 0; page < 3; ++page) {
        const std::string text = PageText(page);
        EXPECT_NE(text.find("name"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("Page " + std::to_string(page + 1) + " of 3"), std::string::npos) << text;
    }
    EXPECT_NE(PageText(1).find("r50"), std::string::npos);
    EXPECT_EQ(PageText(1).find("r49"), std::string::npos);
    EXPECT_NE(PageText(2).find("r119"), std::string::npos);
}

TEST_F(GridViewPrint, APageLimitPrintsTheFirstPagesNumberedAmongAll) {
    Records records(400);
    GridView grid(&window, records.Data());
    grid.SetMaxPrintPages(2);
    EXPECT_EQ(grid.GetTotalPages(&printer), 8);
    grid.Print();
    ASSERT_EQ(printer.Jobs().at(0).pages.size(), 2u);
    EXPECT_NE(PageText(1).find("Page 2 of 8"), std::string::npos);
}

TEST_F(GridViewPrint, AnEmptyDataSetPrintsOneHeaderPage) {
    Records records(0);
    GridView grid(&window, records.Data());
    grid.Print();
    ASSERT_EQ(printer.Jobs().at(0).pages.size(), 1u);
    EXPECT_NE(PageText(0).find("id"), std::string::npos);
    EXPECT_NE(PageText(0).find("Page 1 of 1"), std::string::npos);
}

}  // namespace
}  // namespace report
