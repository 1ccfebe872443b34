// Draws the about picture into a pixel buffer before main runs: a grey-blue
// filing cabinet with three drawers and, leaning on its top right corner, a
// round wall clock.  Every pixel not painted stays fully transparent.
#include "app/AboutImage.h"

#include <FL/Fl_RGB_Image.H>

#include <cmath>
#include <vector>

namespace {

struct Rgba {
    unsigned char r, g, b, a;
};

class Canvas {
public:
    Canvas() : pixels(kAboutImageWidth * kAboutImageHeight * 4, 0) {}

    void put(int x, int y, Rgba c) {
        if (x < 0 || y < 0 || x >= kAboutImageWidth || y >= kAboutImageHeight)
            return;
        unsigned char* p = &pixels[(y * kAboutImageWidth + x) * 4];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
    }
    void rect(int x0, int y0, int x1, int y1, Rgba c) { // inclusive corners
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                put(x, y, c);
    }
    void disc(double cx, double cy, double radius, Rgba c) {
        for (int y = static_cast<int>(cy - radius) - 1; y <= cy + radius + 1; ++y)
            for (int x = static_cast<int>(cx - radius) - 1; x <= cx + radius + 1; ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius)
                    put(x, y, c);
    }
    // A straight stroke of the given half-width from (x0, y0) to (x1, y1).
    void stroke(double x0, double y0, double x1, double y1, double half, Rgba c) {
        const double length = std::hypot(x1 - x0, y1 - y0);
        const int steps = static_cast<int>(length * 2) + 1;
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, half, c);
        }
    }

    std::vector<unsigned char> pixels;
};

void drawCabinet(Canvas& canvas) {
    const Rgba outline{40, 50, 70, 255};
    const Rgba body{110, 130, 160, 255};
    const Rgba side{80, 98, 125, 255};
    const Rgba drawer{160, 180, 205, 255};
    const Rgba drawerShade{125, 145, 172, 255};
    const Rgba handle{60, 60, 60, 255};
    const Rgba card{245, 240, 220, 255};
    canvas.rect(8, 128, 84, 132, Rgba{0, 0, 0, 60}); // a soft floor shadow
    canvas.rect(6, 30, 82, 130, outline);
    canvas.rect(8, 32, 80, 128, body);
    canvas.rect(74, 32, 80, 128, side);
    for (int top : {38, 69, 100}) {
        canvas.rect(12, top, 70, top + 25, outline);
        canvas.rect(13, top + 1, 69, top + 24, drawer);
        canvas.rect(13, top + 20, 69, top + 24, drawerShade);
        canvas.rect(33, top + 5, 49, top + 11, handle);
        canvas.rect(35, top + 6, 47, top + 9, Rgba{150, 150, 150, 255});
        canvas.rect(36, top + 14, 46, top + 18, card);
    }
}

void drawClock(Canvas& canvas) {
    const double cx = 86, cy = 30, radius = 27;
    canvas.disc(cx + 2, cy + 2, radius, Rgba{0, 0, 0, 70});
    canvas.disc(cx, cy, radius, Rgba{150, 30, 30, 255});
    canvas.disc(cx, cy, radius - 4, Rgba{250, 250, 245, 255});
    const double pi = 3.14159265358979;
    for (int hour = 0; hour < 12; ++hour) {
        const double angle = hour * pi / 6;
        const double inner = (hour % 3 == 0) ? radius - 11 : radius - 8;
        canvas.stroke(cx + std::sin(angle) * inner, cy - std::cos(angle) * inner,
                      cx + std::sin(angle) * (radius - 6), cy - std::cos(angle) * (radius - 6), 0.8,
                      Rgba{30, 30, 30, 255});
    }
    // Ten past ten, the hands' customary pose.
    const double hourAngle = (10 + 10 / 60.0) * pi / 6;
    const double minuteAngle = 10 * pi / 30;
    canvas.stroke(cx, cy, cx + std::sin(hourAngle) * 12, cy - std::cos(hourAngle) * 12, 1.6,
                  Rgba{20, 20, 20, 255});
    canvas.stroke(cx, cy, cx + std::sin(minuteAngle) * 18, cy - std::cos(minuteAngle) * 18, 1.1,
                  Rgba{20, 20, 20, 255});
    canvas.disc(cx, cy, 2.5, Rgba{150, 30, 30, 255});
}

const unsigned char* aboutPixels() {
    static const std::vector<unsigned char> pixels = [] {
        Canvas canvas;
        drawCabinet(canvas);
        drawClock(canvas);
        return canvas.pixels;
    }();
    return pixels.data();
}

} // namespace

Fl_RGB_Image aboutImage(aboutPixels(), kAboutImageWidth, kAboutImageHeight, 4, 0);
