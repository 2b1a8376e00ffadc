#pragma once

// Golden images: a drawing is compared pixel by pixel with a reference PNG
// under tests/cairo/golden/. On a mismatch the actual image and a difference
// image (mismatches red on a faded copy) are written to the build tree and
// named in the failure. QUELT_UPDATE_GOLDEN=1 in the environment writes
// missing references instead of failing.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace quelt::cairo::test {

struct Tolerance {
    int channel = 0;          // largest difference of one channel
    double mismatches = 0.0;  // fraction of pixels allowed beyond it (text regions)
};

inline std::uint32_t Pixel(cairo_surface_t *s, int x, int y) {
    const unsigned char *row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return reinterpret_cast<const std::uint32_t *>(row)[x];
}

inline int ChannelDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
        if (d > worst) worst = d;
    }
    return worst;
}

inline cairo_surface_t *DiffImage(cairo_surface_t *actual, cairo_surface_t *golden, int channel) {
    const int w = cairo_image_surface_get_width(actual);
    const int h = cairo_image_surface_get_height(actual);
    cairo_surface_t *diff = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(diff);
    for (int y = 0; y < h; ++y) {
        auto *out = reinterpret_cast<std::uint32_t *>(cairo_image_surface_get_data(diff) +
                                                      y * cairo_image_surface_get_stride(diff));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t a = Pixel(actual, x, y);
            const bool bad = ChannelDistance(a, Pixel(golden, x, y)) > channel;
            const unsigned gray = ((a >> 16 & 0xFF) + (a >> 8 & 0xFF) + (a & 0xFF)) / 12 + 191;
            out[x] = bad ? 0xFFFF0000u : 0xFF000000u | gray << 16 | gray << 8 | gray;
        }
    }
    cairo_surface_mark_dirty(diff);
    return diff;
}

inline ::testing::AssertionResult MatchesGolden(cairo_surface_t *actual, const std::string &name,
                                                Tolerance tolerance = {}) {
    namespace fs = std::filesystem;
    cairo_surface_flush(actual);
    const fs::path reference = fs::path(QUELT_GOLDEN_DIR) / (name + ".png");
    const fs::path outDir(QUELT_ACTUAL_DIR);
    fs::create_directories(outDir);
    const fs::path actualPath = outDir / (name + ".actual.png");
    if (!fs::exists(reference)) {
        const char *update = std::getenv("QUELT_UPDATE_GOLDEN");
        if (update && std::string(update) == "1") {
            cairo_surface_write_to_png(actual, reference.c_str());
            return ::testing::AssertionSuccess() << "wrote " << reference;
        }
        cairo_surface_write_to_png(actual, actualPath.c_str());
        return ::testing::AssertionFailure()
               << "no reference " << reference << "; actual image " << actualPath;
    }
    cairo_surface_t *golden = cairo_image_surface_create_from_png(reference.c_str());
    const int w = cairo_image_surface_get_width(actual);
    const int h = cairo_image_surface_get_height(actual);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    if (cairo_surface_status(golden) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_width(golden) != w ||
        cairo_image_surface_get_height(golden) != h) {
        result = ::testing::AssertionFailure()
                 << "reference " << reference << " unreadable or of another size";
    } else {
        long long bad = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bad += ChannelDistance(Pixel(actual, x, y), Pixel(golden, x, y)) > tolerance.channel;
        if (bad > tolerance.mismatches * w * h) {
            const fs::path diffPath = outDir / (name + ".diff.png");
            cairo_surface_t *diff = DiffImage(actual, golden, tolerance.channel);
            cairo_surface_write_to_png(diff, diffPath.c_str());
            cairo_surface_destroy(diff);
            result = ::testing::AssertionFailure()
                     << bad << " of " << w * h << " pixels differ from " << reference << "; actual "
                     << actualPath << ", difference " << diffPath;
        }
    }
    if (!result) cairo_surface_write_to_png(actual, actualPath.c_str());
    cairo_surface_destroy(golden);
    return result;
}

}  // namespace quelt::cairo::test
