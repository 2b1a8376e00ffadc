// The painter's coordinate pipeline against the same arithmetic written by
// hand: LineTo in a metric map mode under a user scale, a 100,000-vertex line
// strip plot, and the plot's cost per vertex from 1,000 to 1,000,000 vertices.
// The recording painter draws with its log switched off, so what is measured
// is the library's work plus one cheap virtual call per device operation.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "common/bench_common.h"
#include "quelt/testing/painter.h"

namespace quelt::bench {
namespace {

constexpr int kLines = 100000;
constexpr int kStrip = 100000;
// 400 x 300 pixels at 4 pixels a millimetre.
constexpr int kWidth = 400, kHeight = 300;

// Logical points of a zig-zag that stays on the canvas: 0.1 mm units under a user scale of 2.
std::vector<point<double>> Path(int n) {
    std::vector<point<double>> path(n);
    for (int i = 0; i < n; ++i) path[i] = {(i * 7) % 480 + 0.3, (i * 13) % 360 + 0.6};
    return path;
}

void Prepare(testing::RecordingPainter &painter) {
    painter.SetPaintRect({0, 0, kWidth, kHeight});
    painter.SetMetric(4, kWidth);
    painter.SetMetric(5, kHeight);
    painter.SetMetric(6, kWidth / 4);
    painter.SetMetric(7, kHeight / 4);
    painter.SetLogging(false);
    painter.BeginPaint(IPainter::SettingsPreview);
    painter.SetCoordSystem(IPainter::MapMetric, nullptr);
    painter.Scale(2, 2, false);
}

// The hand-written painter's device, reached through virtual calls as a platform's is.
class HandDevice {
  public:
    virtual ~HandDevice() = default;
    [[gnu::noinline]] virtual point<int> Pos() const { return m_pos; }
    [[gnu::noinline]] virtual void MoveTo(int x, int y) { m_pos = {x, y}; }
    [[gnu::noinline]] virtual void LineTo(int x, int y) {
        m_sum += x ^ y;
        m_pos = {x, y};
    }
    [[gnu::noinline]] virtual bool ExcludesLastPixel() const { return false; }
    long long Sum() const { return m_sum; }

  private:
    point<int> m_pos;
    long long m_sum = 0;
};

// The mapping's numbers, kept opaque so the baseline computes the general formula as the painter does.
struct Mapping {
    double userScale = 2, userOffset = 0, logicalOrigin = 0, scale = 4.0 / 10, deviceOrigin = 0;
};

int Code(double x, double y, double l, double t, double r, double b) {
    return (x < l ? 1 : x > r ? 4 : 0) | (y < t ? 2 : y > b ? 8 : 0);
}
double Bias(double v) { return v > 0 ? v + 0.25 : v < 0 ? v - 0.25 : v; }
double Map(const Mapping &m, double v) {
    return Bias(((m.userScale * v + m.userOffset) - m.logicalOrigin) * m.scale + m.deviceOrigin);
}
double Unmap(const Mapping &m, double v) {
    return ((v - m.deviceOrigin) / m.scale + m.logicalOrigin - m.userOffset) / m.userScale;
}

void LineToOurs(benchmark::State &state) {
    const std::vector<point<double>> path = Path(Scaled(kLines));
    testing::RecordingPainter painter;
    Prepare(painter);
    for (auto _ : state) {
        painter.MoveTo(path[0]);
        for (const point<double> &p : path) painter.LineTo(p);
        benchmark::DoNotOptimize(painter.DevicePos());
    }
}

// What LineTo computes: the target tested against the visible area (the
// current position mapped back only when the target lies outside), mapped with
// bias and truncated, both tested against the canvas, then the device line.
void LineToBaseline(benchmark::State &state) {
    const std::vector<point<double>> path = Path(Scaled(kLines));
    Mapping m;
    HandDevice *device = new HandDevice;
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(device);
    const double vr = kWidth / m.scale / m.userScale, vb = kHeight / m.scale / m.userScale;
    for (auto _ : state) {
        device->MoveTo(static_cast<int>(Map(m, path[0].x)), static_cast<int>(Map(m, path[0].y)));
        for (const point<double> &p : path) {
            const point<int> c = device->Pos();
            const int target = Code(p.x, p.y, 0, 0, vr, vb);
            if (target && (Code(Unmap(m, c.x), Unmap(m, c.y), 0, 0, vr, vb) & target)) continue;
            const double x = Map(m, p.x), y = Map(m, p.y);
            if (!std::isfinite(x) || !std::isfinite(y)) continue;
            if (Code(c.x, c.y, 0, 0, kWidth, kHeight) | Code(x, y, 0, 0, kWidth, kHeight)) continue;
            device->LineTo(static_cast<int>(x), static_cast<int>(y));
            if (device->ExcludesLastPixel()) device->MoveTo(0, 0);
        }
        benchmark::DoNotOptimize(device->Sum());
    }
    delete device;
}

void Strip(testing::RecordingPainter &painter, const std::vector<point<double>> &path, int perPlot) {
    for (size_t start = 0; start < path.size(); start += perPlot) {
        painter.BeginPlot(IPainter::PlotLineStrip);
        const size_t end = std::min(path.size(), start + perPlot);
        for (size_t i = start; i < end; ++i) painter.Vertex(path[i]);
        painter.EndPlot();
    }
}

void StripOurs(benchmark::State &state) {
    const std::vector<point<double>> path = Path(Scaled(kStrip));
    testing::RecordingPainter painter;
    Prepare(painter);
    for (auto _ : state) {
        Strip(painter, path, static_cast<int>(path.size()));
        benchmark::DoNotOptimize(painter.DevicePos());
    }
}

// The plot's conversion (user transform, then the map, no bias) and a device
// line per vertex, each segment tested against the canvas.
void StripBaseline(benchmark::State &state) {
    const std::vector<point<double>> path = Path(Scaled(kStrip));
    Mapping m;
    HandDevice *device = new HandDevice;
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(device);
    for (auto _ : state) {
        double px = 0, py = 0;
        bool first = true;
        for (const point<double> &p : path) {
            const double x =
                ((m.userScale * p.x + m.userOffset) - m.logicalOrigin) * m.scale + m.deviceOrigin;
            const double y =
                ((m.userScale * p.y + m.userOffset) - m.logicalOrigin) * m.scale + m.deviceOrigin;
            if (!first && !(Code(px, py, 0, 0, kWidth, kHeight) | Code(x, y, 0, 0, kWidth, kHeight))) {
                device->LineTo(static_cast<int>(x), static_cast<int>(y));
            } else {
                device->MoveTo(static_cast<int>(x), static_cast<int>(y));
            }
            first = false;
            px = x;
            py = y;
        }
        benchmark::DoNotOptimize(device->Sum());
    }
    delete device;
}

// One million vertices (quick: ten thousand) in plots of the given size: the
// same time for every size means a flat cost per vertex.
void StripPerPlot(benchmark::State &state) {
    const std::vector<point<double>> path = Path(Scaled(1000000));
    const int perPlot =
        static_cast<int>(std::min<long long>(state.range(0), static_cast<long long>(path.size())));
    testing::RecordingPainter painter;
    Prepare(painter);
    for (auto _ : state) {
        Strip(painter, path, perPlot);
        benchmark::DoNotOptimize(painter.DevicePos());
    }
}

void Register() {
    const int iterations = Quick() ? 20 : 10;
    auto add = [iterations](const char *name, void (*fn)(benchmark::State &)) {
        return benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Iterations(iterations);
    };
    add("paint_lineto/ours", LineToOurs);
    add("paint_lineto/baseline", LineToBaseline);
    add("paint_linestrip/ours", StripOurs);
    add("paint_linestrip/baseline", StripBaseline);
    benchmark::RegisterBenchmark("paint_strip_1m_vertices_per_plot", StripPerPlot)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations)
        ->Arg(1000)
        ->Arg(10000)
        ->Arg(100000)
        ->Arg(1000000);
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace quelt::bench
