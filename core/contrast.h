// SPDX-License-Identifier: MIT
#pragma once

// Text colours that stay readable on whatever face a desktop theme gives a dialog.
struct Rgb {
    unsigned char r, g, b;
};

bool operator==(const Rgb& a, const Rgb& b);
// Contrast of two colours as the web's accessibility guidelines define it, 1 to 21.
double ContrastRatio(const Rgb& a, const Rgb& b);
// On a light face the colour itself; on a dark face the first of its lighter tints,
// stepping toward white, that reaches dMinimum against the face.
Rgb ReadableOn(const Rgb& text, const Rgb& face, double dMinimum = 4.5);
