#pragma once

// Pictures of the recording platform. Each draws through its own recording
// painter (TakeDefPainter; CreatePainter answers null, a picture takes one
// painter) whose paint rectangle is the picture's size, and answers metrics
// 4 and 5 with its size and 6 and 7 with those at 96 pixels an inch.

#include <memory>
#include <string>
#include <vector>

#include "quelt/paint/picture.h"
#include "quelt/testing/painter.h"

namespace quelt::testing {

// A recorded drawing: the lines its painter logged, after those a copy took
// over from its source.
class RecordingVectorPicture : public IVectorPicture {
  public:
    explicit RecordingVectorPicture(size<int> extent = size<int>());
    ~RecordingVectorPicture() override;

    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override { return m_painter.get(); }
    int GetCanvasMetrics(CanvasMetrics index) const override;
    // The drawing goes, size and painter stay.
    void Clear() override;
    // The log, one line each; false when the file cannot be written.
    bool Save(const char *path) override;
    void SetSize(size<int> extent) override;
    quelt_ptr<IVectorPicture> Copy() const override;

    std::vector<std::string> Log() const;
    RecordingPainter &Painter() { return *m_painter; }

  private:
    std::vector<std::string> m_taken;
    std::unique_ptr<RecordingPainter> m_painter;
};

// A bitmap over an array of colours, row by row. Its painter's pixel reads
// and writes reach the array (and are logged as any painter's are); pixels
// outside it read as the undefined colour and ignore writes.
class RasterPicture : public IRasterPicture {
  public:
    explicit RasterPicture(size<int> extent = size<int>());
    ~RasterPicture() override;

    quelt_ptr<IPainter> CreatePainter() override;
    IPainter *TakeDefPainter() override;
    int GetCanvasMetrics(CanvasMetrics index) const override;
    // Every pixel becomes the undefined colour.
    void Clear() override;
    // A binary PPM (P6), alpha left out; false when the file cannot be written.
    bool Save(const char *path) override;
    // Keeps the pixels that still fit; new ones are undefined.
    void SetSize(size<int> extent) override;

    _color GetPixel(int x, int y) const;
    void SetPixel(int x, int y, _color color);
    const std::vector<_color> &Pixels() const { return m_pixels; }
    RecordingPainter &Painter();

  private:
    class PixelPainter;
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_size.cx && y < m_size.cy; }

    std::vector<_color> m_pixels;
    std::unique_ptr<RecordingPainter> m_painter;
};

}  // namespace quelt::testing
