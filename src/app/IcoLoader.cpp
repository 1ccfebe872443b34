// The icon file reader.  Every read goes through bounds-checked helpers, so
// truncated or damaged files end in "no icon", never in a read past the data.
#include "app/IcoLoader.h"

#include <FL/Fl.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr int kMaxSide = 256;            // the largest picture an icon file can describe
constexpr size_t kMaxFileSize = 1 << 22; // far above any real icon file

using Bytes = std::vector<unsigned char>;

// A read-only window on a byte range with checked little-endian reads.
class Reader {
public:
    Reader(const unsigned char* data, size_t size) : data(data), size(size) {}

    bool has(size_t offset, size_t count) const { return offset <= size && count <= size - offset; }
    uint8_t u8(size_t at) const { return data[at]; }
    uint16_t u16(size_t at) const { return static_cast<uint16_t>(data[at] | data[at + 1] << 8); }
    uint32_t u32(size_t at) const {
        return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
               static_cast<uint32_t>(data[at + 2]) << 16 |
               static_cast<uint32_t>(data[at + 3]) << 24;
    }
    int32_t s32(size_t at) const { return static_cast<int32_t>(u32(at)); }

    const unsigned char* data;
    size_t size;
};

struct Entry {
    int width;
    int height;
    size_t offset;
    size_t size;
};

std::optional<std::vector<Entry>> readDirectory(const Reader& file) {
    if (!file.has(0, 6) || file.u16(0) != 0 || file.u16(2) != 1)
        return std::nullopt;
    const int count = file.u16(4);
    if (count == 0 || !file.has(6, 16u * count))
        return std::nullopt;
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        const size_t at = 6 + 16u * i;
        Entry entry{file.u8(at) ? file.u8(at) : 256, file.u8(at + 1) ? file.u8(at + 1) : 256,
                    file.u32(at + 12), file.u32(at + 8)};
        if (!file.has(entry.offset, entry.size) || entry.size < 8)
            return std::nullopt;
        entries.push_back(entry);
    }
    return entries;
}

const Entry& chooseEntry(const std::vector<Entry>& entries, int wanted) {
    const Entry* best = &entries.front();
    for (const Entry& entry : entries) {
        if (entry.width == wanted && entry.height == wanted)
            return entry;
        if (entry.width * entry.height < best->width * best->height)
            best = &entry;
    }
    return *best;
}

bool isPng(const Reader& payload) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return payload.has(0, 8) && std::memcmp(payload.data, signature, 8) == 0;
}

// Silences the toolkit's error and warning printers while it lives: a bad
// icon file is not reported, not even on standard error.
class QuietToolkit {
public:
    QuietToolkit() : error(Fl::error), warning(Fl::warning) {
        Fl::error = ignore;
        Fl::warning = ignore;
    }
    ~QuietToolkit() {
        Fl::error = error;
        Fl::warning = warning;
    }
    QuietToolkit(const QuietToolkit&) = delete;
    QuietToolkit& operator=(const QuietToolkit&) = delete;

private:
    static void ignore(const char*, ...) {}
    void (*error)(const char*, ...);
    void (*warning)(const char*, ...);
};

// Walks the PNG's chunks up to IEND, checking that each lies inside the
// payload and that its checksum holds.  The PNG library prints its own
// complaints about damaged data; data that passes here rarely gives it cause.
bool pngChunksIntact(const Reader& payload) {
    size_t at = 8;
    while (payload.has(at, 12)) {
        const uint32_t length = static_cast<uint32_t>(payload.u8(at)) << 24 |
                                static_cast<uint32_t>(payload.u8(at + 1)) << 16 |
                                static_cast<uint32_t>(payload.u8(at + 2)) << 8 | payload.u8(at + 3);
        if (!payload.has(at + 8, static_cast<size_t>(length) + 4))
            return false;
        const size_t end = at + 8 + length;
        const uint32_t stored = static_cast<uint32_t>(payload.u8(end)) << 24 |
                                static_cast<uint32_t>(payload.u8(end + 1)) << 16 |
                                static_cast<uint32_t>(payload.u8(end + 2)) << 8 |
                                payload.u8(end + 3);
        const uLong computed = crc32(0L, payload.data + at + 4, length + 4);
        if (computed != stored)
            return false;
        if (std::memcmp(payload.data + at + 4, "IEND", 4) == 0)
            return true;
        at = end + 4;
    }
    return false;
}

std::optional<IcoPicture> decodePng(const Reader& payload) {
    if (!pngChunksIntact(payload))
        return std::nullopt;
    const QuietToolkit quiet;
    Fl_PNG_Image png(nullptr, payload.data, static_cast<int>(payload.size));
    const int w = png.w();
    const int h = png.h();
    const int depth = png.d();
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || depth < 1 || depth > 4 ||
        png.count() < 1 || !png.data()[0])
        return std::nullopt;
    const auto* pixels = reinterpret_cast<const unsigned char*>(png.data()[0]);
    const int lineLength = png.ld() ? png.ld() : w * depth;
    IcoPicture picture{w, h, Bytes(static_cast<size_t>(w) * h * 4)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = pixels + y * lineLength + x * depth;
            unsigned char* out = &picture.rgba[(static_cast<size_t>(y) * w + x) * 4];
            const bool grey = depth < 3;
            out[0] = p[0];
            out[1] = grey ? p[0] : p[1];
            out[2] = grey ? p[0] : p[2];
            out[3] = depth == 2 ? p[1] : depth == 4 ? p[3] : 255;
        }
    }
    return picture;
}

std::optional<IcoPicture> decodeBitmap(const Reader& payload) {
    if (!payload.has(0, 40))
        return std::nullopt;
    const uint32_t headerSize = payload.u32(0);
    const int32_t width = payload.s32(4);
    const int32_t doubledHeight = payload.s32(8); // colour rows plus mask rows
    const int bits = payload.u16(14);
    const uint32_t compression = payload.u32(16);
    const uint32_t coloursUsed = payload.u32(32);
    const int32_t height = doubledHeight / 2;
    if (headerSize < 40 || width <= 0 || width > kMaxSide || height <= 0 || height > kMaxSide ||
        compression != 0)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::nullopt;
    const uint32_t paletteSize = bits <= 8 ? (coloursUsed ? coloursUsed : 1u << bits) : 0;
    if (paletteSize > 256)
        return std::nullopt;
    const size_t palette = headerSize;
    const size_t colourRows = palette + paletteSize * 4;
    const size_t colourStride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t maskRows = colourRows + colourStride * height;
    const size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    if (!payload.has(colourRows, colourStride * height))
        return std::nullopt;
    // A 32-bit picture carries its own alpha; its mask may be left out.
    const bool hasMask = payload.has(maskRows, maskStride * height);
    if (!hasMask && bits != 32)
        return std::nullopt;

    IcoPicture picture{width, height, Bytes(static_cast<size_t>(width) * height * 4)};
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const size_t row = colourRows + colourStride * (height - 1 - y); // rows run bottom-up
        for (int x = 0; x < width; ++x) {
            unsigned char* out = &picture.rgba[(static_cast<size_t>(y) * width + x) * 4];
            if (bits >= 24) {
                const size_t at = row + static_cast<size_t>(x) * (bits / 8);
                out[0] = payload.u8(at + 2);
                out[1] = payload.u8(at + 1);
                out[2] = payload.u8(at);
                out[3] = bits == 32 ? payload.u8(at + 3) : 255;
                anyAlpha = anyAlpha || (bits == 32 && out[3] != 0);
            } else {
                const size_t bit = static_cast<size_t>(x) * bits;
                const int shift = 8 - bits - static_cast<int>(bit % 8);
                const unsigned index = (payload.u8(row + bit / 8) >> shift) & ((1u << bits) - 1);
                if (index >= paletteSize)
                    return std::nullopt;
                const size_t at = palette + index * 4;
                out[0] = payload.u8(at + 2);
                out[1] = payload.u8(at + 1);
                out[2] = payload.u8(at);
                out[3] = 255;
            }
        }
    }
    // The mask decides transparency unless the colours carry real alpha.
    if (hasMask && !anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const size_t row = maskRows + maskStride * (height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const bool transparent = (payload.u8(row + x / 8) >> (7 - x % 8)) & 1;
                picture.rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = transparent ? 0 : 255;
            }
        }
    }
    return picture;
}

} // namespace

std::optional<IcoPicture> decodeIco(const std::vector<unsigned char>& bytes, int wanted) {
    const Reader file(bytes.data(), bytes.size());
    const std::optional<std::vector<Entry>> entries = readDirectory(file);
    if (!entries)
        return std::nullopt;
    const Entry& entry = chooseEntry(*entries, wanted);
    const Reader payload(bytes.data() + entry.offset, entry.size);
    return isPng(payload) ? decodePng(payload) : decodeBitmap(payload);
}

std::optional<IcoPicture> readIcoFile(const std::string& path, int wanted) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Bytes bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > kMaxFileSize)
            return std::nullopt;
    }
    return decodeIco(bytes, wanted);
}

bool setWindowIconFromFile(Fl_Window* window, const std::string& path) {
    const std::optional<IcoPicture> picture = readIcoFile(path, 16);
    if (!picture)
        return false;
    const Fl_RGB_Image image(picture->rgba.data(), picture->width, picture->height, 4);
    window->icon(&image); // the window keeps its own copy
    return true;
}
