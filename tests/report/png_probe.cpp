// Where a colour lies in a PNG, for the report's end-to-end tests: for each
// column that has pixels within 40 (per channel) of the colour, one line
// "x y" with the lowest such pixel's row.
//   report_png_probe FILE.png R G B

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool Near(int a, int b) { return std::abs(a - b) <= 40; }

}  // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: report_png_probe FILE.png R G B\n");
        return 2;
    }
    cairo_surface_t *image = cairo_image_surface_create_from_png(argv[1]);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "report_png_probe: cannot read %s\n", argv[1]);
        cairo_surface_destroy(image);
        return 1;
    }
    const int r = std::atoi(argv[2]), g = std::atoi(argv[3]), b = std::atoi(argv[4]);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char *data = cairo_image_surface_get_data(image);
    for (int x = 0; x < width; ++x) {
        for (int y = height - 1; y >= 0; --y) {
            std::uint32_t pixel;
            std::memcpy(&pixel, data + y * stride + x * 4, 4);
            if (Near((pixel >> 16) & 0xFF, r) && Near((pixel >> 8) & 0xFF, g) && Near(pixel & 0xFF, b)) {
                std::printf("%d %d\n", x, y);
                break;
            }
        }
    }
    cairo_surface_destroy(image);
    return 0;
}
