// The about window's picture: a filing cabinet with a clock, 120 x 133 RGBA
// on a transparent background, built from pixels that the program draws at
// static initialisation.
#pragma once

class Fl_RGB_Image;

constexpr int kAboutImageWidth = 120;
constexpr int kAboutImageHeight = 133;

extern Fl_RGB_Image aboutImage;
