// The icon file reader on good, missing, truncated and corrupt data.
#include "app/IcoLoader.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, unsigned v) {
    b.push_back(v & 255);
    b.push_back((v >> 8) & 255);
}
void put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 255);
}

struct Image {
    int size; // square side as written in the directory
    Bytes payload;
};

// An icon file holding `images` in this order.
Bytes icoFile(const std::vector<Image>& images) {
    Bytes out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const Image& image : images) {
        out.push_back(image.size == 256 ? 0 : image.size);
        out.push_back(image.size == 256 ? 0 : image.size);
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(image.payload.size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(image.payload.size());
    }
    for (const Image& image : images)
        out.insert(out.end(), image.payload.begin(), image.payload.end());
    return out;
}

// A square bitmap payload.  `colour(x, y)` gives the pixel value (palette
// index or 0xAARRGGBB), `masked(x, y)` whether the AND mask hides it; y counts
// from the top.
Bytes bitmap(int side, int bits, const std::function<uint32_t(int, int)>& colour,
             const std::function<bool(int, int)>& masked, const std::vector<uint32_t>& palette = {},
             bool withMask = true) {
    Bytes out;
    put32(out, 40);
    put32(out, side);
    put32(out, side * 2);
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);
    for (int i = 0; i < 5; ++i)
        put32(out, i == 3 ? static_cast<uint32_t>(palette.size()) : 0);
    for (uint32_t p : palette)
        put32(out, p);
    const size_t stride = ((side * bits + 31) / 32) * 4;
    for (int y = side - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < side; ++x) {
            const uint32_t v = colour(x, y);
            if (bits == 32 || bits == 24)
                for (int k = 0; k < bits / 8; ++k)
                    row[x * (bits / 8) + k] = (v >> (8 * k)) & 255;
            else
                row[x * bits / 8] |= v << (8 - bits - (x * bits) % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    if (withMask) {
        const size_t maskStride = ((side + 31) / 32) * 4;
        for (int y = side - 1; y >= 0; --y) {
            Bytes row(maskStride, 0);
            for (int x = 0; x < side; ++x)
                if (masked(x, y))
                    row[x / 8] |= 0x80 >> (x % 8);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The PNG payloads of the shipped icon (entries 2 and 3: 32 and 48 px).
Bytes shippedPayload(int index) {
    const Bytes file = readFile(RACKBOOK_SOURCE_DIR "/images/rackbook.ico");
    const size_t at = 6 + 16 * index;
    const uint32_t size =
        file[at + 8] | file[at + 9] << 8 | file[at + 10] << 16 | file[at + 11] << 24;
    const uint32_t offset =
        file[at + 12] | file[at + 13] << 8 | file[at + 14] << 16 | file[at + 15] << 24;
    return Bytes(file.begin() + offset, file.begin() + offset + size);
}

struct Pixel {
    int x, y;
    unsigned r, g, b, a;
};

struct Case {
    const char* name;
    Bytes data;
    bool decodes;
    int side;
    std::vector<Pixel> pixels;
};

bool corner(int x, int y) {
    return x == 0 && y == 0;
}
bool none(int, int) {
    return false;
}

std::vector<Case> cases() {
    const Bytes bmp8 = bitmap(16, 8, [](int x, int) { return x < 8 ? 1u : 2u; }, corner,
                              {0x000000, 0x102030, 0xA0B0C0});
    const Bytes bmp24 = bitmap(
        16, 24, [](int, int y) { return y < 8 ? 0x112233u : 0x445566u; }, corner);
    const Bytes bmp32 = bitmap(
        16, 32, [](int x, int) { return x == 15 ? 0x00FFFFFFu : 0x80AABBCCu; }, none, {}, false);
    const Bytes bmp32NoAlpha = bitmap(
        16, 32, [](int, int) { return 0x00010203u; }, corner);
    const Bytes bmp1 = bitmap(16, 1, [](int x, int) { return x % 2u; }, none, {0x000000, 0xFFFFFF});
    const Bytes bmp4 =
        bitmap(16, 4, [](int x, int) { return x % 3u; }, none, {0x0000FF, 0x00FF00, 0xFF0000});
    const Bytes png32 = shippedPayload(1);
    const Bytes png48 = shippedPayload(2);
    const Bytes bmp8Big = bitmap(32, 8, [](int, int) { return 0u; }, none, {0x123456});
    Bytes badPalette = bitmap(16, 8, [](int, int) { return 7u; }, none, {0x000000, 0x111111});
    Bytes corruptPng = png32;
    for (size_t i = 16; i < corruptPng.size(); ++i)
        corruptPng[i] ^= 0x5a;
    Bytes wrongType = icoFile({{16, bmp8}});
    wrongType[2] = 2;
    Bytes pastEnd = icoFile({{16, bmp8}});
    pastEnd[6 + 12] = 0xff; // offset far beyond the file
    Bytes badBits = bmp24;
    badBits[14] = 16;
    Bytes compressed = bmp24;
    compressed[16] = 1;
    const Bytes full = icoFile({{16, bmp24}});

    return {
        {"8-bit with mask",
         icoFile({{16, bmp8}}),
         true,
         16,
         {{0, 0, 0x10, 0x20, 0x30, 0},
          {1, 0, 0x10, 0x20, 0x30, 255},
          {9, 5, 0xA0, 0xB0, 0xC0, 255}}},
        {"24-bit with mask",
         icoFile({{16, bmp24}}),
         true,
         16,
         {{0, 0, 0x11, 0x22, 0x33, 0},
          {3, 2, 0x11, 0x22, 0x33, 255},
          {3, 12, 0x44, 0x55, 0x66, 255}}},
        {"32-bit alpha, no mask",
         icoFile({{16, bmp32}}),
         true,
         16,
         {{0, 0, 0xAA, 0xBB, 0xCC, 0x80}, {15, 3, 0xFF, 0xFF, 0xFF, 0}}},
        {"32-bit without alpha uses the mask",
         icoFile({{16, bmp32NoAlpha}}),
         true,
         16,
         {{0, 0, 1, 2, 3, 0}, {5, 5, 1, 2, 3, 255}}},
        {"1-bit",
         icoFile({{16, bmp1}}),
         true,
         16,
         {{0, 0, 0, 0, 0, 255}, {1, 0, 255, 255, 255, 255}}},
        {"4-bit",
         icoFile({{16, bmp4}}),
         true,
         16,
         {{0, 4, 0, 0, 255, 255}, {1, 4, 0, 255, 0, 255}, {2, 4, 255, 0, 0, 255}}},
        {"the 16 px image is chosen",
         icoFile({{32, png32}, {16, bmp24}, {48, png48}}),
         true,
         16,
         {{3, 12, 0x44, 0x55, 0x66, 255}}},
        {"no 16 px: the smallest",
         icoFile({{48, png48}, {32, png32}, {32, bmp8Big}}),
         true,
         32,
         {}},
        {"PNG payload", icoFile({{32, png32}}), true, 32, {{0, 0, 0, 0, 0, 0}}},
        {"empty", Bytes{}, false, 0, {}},
        {"header only", Bytes(full.begin(), full.begin() + 6), false, 0, {}},
        {"truncated directory", Bytes(full.begin(), full.begin() + 14), false, 0, {}},
        {"truncated picture", Bytes(full.begin(), full.end() - 40), false, 0, {}},
        {"no images", Bytes{0, 0, 1, 0, 0, 0}, false, 0, {}},
        {"cursor file", wrongType, false, 0, {}},
        {"entry past the end", pastEnd, false, 0, {}},
        {"16 bits per pixel", icoFile({{16, badBits}}), false, 0, {}},
        {"compressed bitmap", icoFile({{16, compressed}}), false, 0, {}},
        {"index beyond the palette", icoFile({{16, badPalette}}), false, 0, {}},
        {"corrupt PNG", icoFile({{32, corruptPng}}), false, 0, {}},
        {"text file", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, false, 0, {}},
    };
}

TEST(IcoLoader, DecodesGoodDataAndRefusesBadData) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const std::optional<IcoPicture> picture = decodeIco(c.data);
        ASSERT_EQ(picture.has_value(), c.decodes);
        if (!picture)
            continue;
        EXPECT_EQ(picture->width, c.side);
        EXPECT_EQ(picture->height, c.side);
        ASSERT_EQ(picture->rgba.size(), static_cast<size_t>(c.side * c.side * 4));
        for (const Pixel& p : c.pixels) {
            const unsigned char* px = &picture->rgba[(p.y * c.side + p.x) * 4];
            EXPECT_EQ((std::vector<unsigned>{px[0], px[1], px[2], px[3]}),
                      (std::vector<unsigned>{p.r, p.g, p.b, p.a}))
                << "pixel " << p.x << "," << p.y;
        }
    }
}

TEST(IcoLoader, EveryTruncationOfTheShippedIconIsRefusedOrDecoded) {
    const Bytes file = readFile(RACKBOOK_SOURCE_DIR "/images/rackbook.ico");
    ASSERT_GT(file.size(), 100u);
    for (size_t length = 0; length < file.size(); length += 7) {
        const Bytes part(file.begin(), file.begin() + length);
        const std::optional<IcoPicture> picture = decodeIco(part);
        if (picture) { // only a cut after the chosen picture can still decode
            EXPECT_EQ(picture->rgba.size(), 16u * 16 * 4);
        }
    }
}

TEST(IcoLoader, ShippedIconHasASmallImage) {
    const std::optional<IcoPicture> picture =
        readIcoFile(RACKBOOK_SOURCE_DIR "/images/rackbook.ico");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 16);
    EXPECT_EQ(picture->rgba[3], 0);                      // a transparent corner
    EXPECT_EQ(picture->rgba[(8 * 16 + 8) * 4 + 3], 255); // the cabinet
    EXPECT_FALSE(readIcoFile("/nonexistent/rackbook.ico"));
    EXPECT_FALSE(readIcoFile(RACKBOOK_SOURCE_DIR "/images/README.md"));
}

TEST(IcoLoaderGui, WindowGetsTheIconOnlyFromAGoodFile) {
    Fl_Window window(100, 100);
    window.end();
    EXPECT_FALSE(setWindowIconFromFile(&window, "/nonexistent/rackbook.ico"));
    EXPECT_FALSE(setWindowIconFromFile(&window, RACKBOOK_SOURCE_DIR "/images/README.md"));
    EXPECT_TRUE(setWindowIconFromFile(&window, RACKBOOK_SOURCE_DIR "/images/rackbook.ico"));
}

} // namespace
