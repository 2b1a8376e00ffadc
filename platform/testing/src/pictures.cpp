#include "quelt/testing/pictures.h"

#include <cmath>
#include <fstream>

namespace quelt::testing {

namespace {

screen_rectangle<int> PaintRect(size<int> extent) { return {0, 0, extent.cx, extent.cy}; }

int Millimetres(int pixels) { return static_cast<int>(std::lround(pixels * 25.4 / 96)); }

int PictureMetric(size<int> extent, ICanvas::CanvasMetrics index) {
    switch (index) {
        case ICanvas::WidthPixels:
            return extent.cx;
        case ICanvas::HeightPixels:
            return extent.cy;
        case ICanvas::WidthMillimetres:
            return Millimetres(extent.cx);
        case ICanvas::HeightMillimetres:
            return Millimetres(extent.cy);
    }
    return 0;
}

}  // namespace

RecordingVectorPicture::RecordingVectorPicture(size<int> extent)
    : m_painter(std::make_unique<RecordingPainter>(this)) {
    SetSize(extent);
}

RecordingVectorPicture::~RecordingVectorPicture() = default;

quelt_ptr<IPainter> RecordingVectorPicture::CreatePainter() { return nullptr; }

int RecordingVectorPicture::GetCanvasMetrics(CanvasMetrics index) const {
    return PictureMetric(m_size, index);
}

void RecordingVectorPicture::Clear() {
    m_taken.clear();
    m_painter->Clear();
}

bool RecordingVectorPicture::Save(const char *path) {
    std::ofstream out(path ? path : "");
    for (const std::string &line : Log()) out << line << '\n';
    return static_cast<bool>(out);
}

void RecordingVectorPicture::SetSize(size<int> extent) {
    IVectorPicture::SetSize(extent);
    m_painter->SetPaintRect(PaintRect(extent));
}

quelt_ptr<IVectorPicture> RecordingVectorPicture::Copy() const {
    auto *copy = new RecordingVectorPicture(m_size);
    copy->m_taken = Log();
    return quelt_ptr<IVectorPicture>(copy);
}

std::vector<std::string> RecordingVectorPicture::Log() const {
    std::vector<std::string> lines = m_taken;
    lines.insert(lines.end(), m_painter->Log().begin(), m_painter->Log().end());
    return lines;
}

// Sends pixel reads and writes to the picture's array after logging them.
class RasterPicture::PixelPainter : public RecordingPainter {
  public:
    explicit PixelPainter(RasterPicture &picture) : RecordingPainter(&picture), m_picture(picture) {}

  protected:
    _color internalSetPixel(int x, int y, _color color) override {
        const _color old = RecordingPainter::internalSetPixel(x, y, color);
        m_picture.SetPixel(x, y, color);
        return old;
    }
    _color internalGetPixel(int x, int y) override {
        RecordingPainter::internalGetPixel(x, y);
        return m_picture.GetPixel(x, y);
    }

  private:
    RasterPicture &m_picture;
};

RasterPicture::RasterPicture(size<int> extent) : m_painter(std::make_unique<PixelPainter>(*this)) {
    SetSize(extent);
}

RasterPicture::~RasterPicture() = default;

quelt_ptr<IPainter> RasterPicture::CreatePainter() { return nullptr; }

IPainter *RasterPicture::TakeDefPainter() { return m_painter.get(); }

RecordingPainter &RasterPicture::Painter() { return *m_painter; }

int RasterPicture::GetCanvasMetrics(CanvasMetrics index) const { return PictureMetric(m_size, index); }

void RasterPicture::Clear() { std::fill(m_pixels.begin(), m_pixels.end(), _color()); }

bool RasterPicture::Save(const char *path) {
    std::ofstream out(path ? path : "", std::ios::binary);
    out << "P6\n" << m_size.cx << ' ' << m_size.cy << "\n255\n";
    for (const _color &c : m_pixels) out << c.GetRed() << c.GetGreen() << c.GetBlue();
    return static_cast<bool>(out);
}

void RasterPicture::SetSize(size<int> extent) {
    extent = {std::max(extent.cx, 0), std::max(extent.cy, 0)};
    std::vector<_color> pixels(static_cast<std::size_t>(extent.cx) * extent.cy);
    for (int y = 0; y < std::min(extent.cy, m_size.cy); ++y) {
        for (int x = 0; x < std::min(extent.cx, m_size.cx); ++x) {
            pixels[static_cast<std::size_t>(y) * extent.cx + x] = GetPixel(x, y);
        }
    }
    m_pixels = std::move(pixels);
    IRasterPicture::SetSize(extent);
    m_painter->SetPaintRect(PaintRect(extent));
}

_color RasterPicture::GetPixel(int x, int y) const {
    return Inside(x, y) ? m_pixels[static_cast<std::size_t>(y) * m_size.cx + x] : _color();
}

void RasterPicture::SetPixel(int x, int y, _color color) {
    if (Inside(x, y)) m_pixels[static_cast<std::size_t>(y) * m_size.cx + x] = color;
}

}  // namespace quelt::testing
