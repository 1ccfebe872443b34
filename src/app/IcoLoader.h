// A small reader for Windows icon files (.ico): picks one of the images the
// file holds and decodes it to RGBA pixels.  Images stored as PNG are
// decoded by the toolkit's PNG reader; images stored as device-independent
// bitmaps are decoded here (1, 4, 8, 24 and 32 bits per pixel, with the AND
// mask for transparency where the colours carry no alpha).
#pragma once

#include <optional>
#include <string>
#include <vector>

class Fl_Window;

struct IcoPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // width * height * 4 bytes, top row first
};

// Decodes the image of `bytes` that is `wanted` pixels square, or else the
// smallest one.  Returns nothing for data that is not a readable icon file
// (wrong header, entries or pictures reaching past the end, unknown formats).
std::optional<IcoPicture> decodeIco(const std::vector<unsigned char>& bytes, int wanted = 16);

// Reads and decodes the file at `path`; nothing when it is missing or bad.
std::optional<IcoPicture> readIcoFile(const std::string& path, int wanted = 16);

// Gives `window` the small (16 pixel) image of the icon file at `path`.  A
// missing or unreadable file leaves the window's icon as it was and is not
// reported.  Returns whether an icon was set.
bool setWindowIconFromFile(Fl_Window* window, const std::string& path);
