#pragma once

// The painter tests' fixture: a recording painter whose protected state a test
// may read, opened on a 200 x 100 canvas.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quelt/paint/painter.h"
#include "quelt/testing/painter.h"

namespace quelt::paint_test {

class TestPainter : public testing::RecordingPainter {
  public:
    using IPainter::cut;
    using IPainter::FixNegRect;
    using IPainter::graycolor;
    using IPainter::initPainter;
    using IPainter::outcode;
    using IPainter::TransformCoord;

    double UserScaleX() const { return m_userScaleX; }
    double UserScaleY() const { return m_userScaleY; }
    double UserTransX() const { return m_userTransX; }
    double UserTransY() const { return m_userTransY; }
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }
    bool UserActive() const { return m_userActive; }
    bool CoordActive() const { return m_coordActive; }
    bool SwapAxes() const { return m_swapAxes; }
    const rectangle<double> &Visible() const { return m_visible; }
    const pen &CachedPen() const { return m_pen; }
    const brush &CachedBrush() const { return m_brush; }
};

class PainterTest : public ::testing::Test {
  protected:
    void SetUp() override { Open(200, 100); }

    // A new pass on a w x h canvas at 4 pixels a millimetre; the log starts empty.
    void Open(int w, int h) {
        p.SetPaintRect({0, 0, w, h});
        p.SetMetric(4, w);
        p.SetMetric(5, h);
        p.SetMetric(6, w / 4);
        p.SetMetric(7, h / 4);
        p.BeginPaint(IPainter::SettingsPreview);
        p.Clear();
    }

    void Custom(double w, double h, IPainter::CoordInfo info = {}) {
        info.width = w;
        info.height = h;
        p.SetCoordSystem(IPainter::MapCustom, &info);
        p.Clear();
    }

    // The log since the last Clear, then cleared.
    std::vector<std::string> Take() {
        std::vector<std::string> log = p.Log();
        p.Clear();
        return log;
    }

    TestPainter p;
};

using Lines = std::vector<std::string>;

}  // namespace quelt::paint_test
