// SPDX-License-Identifier: MIT
#include "core/contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(unsigned char c) {
    const double v = c / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double Luminance(const Rgb& c) {
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

} // namespace

bool operator==(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

double ContrastRatio(const Rgb& a, const Rgb& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableOn(const Rgb& text, const Rgb& face, double dMinimum) {
    // A face lighter than mid-grey is a light theme: the colour stays as it is.
    if (Luminance(face) >= Luminance({118, 118, 118}))
        return text;
    const int nSteps = 64;
    Rgb tint = text;
    for (int i = 0; i <= nSteps && ContrastRatio(tint, face) < dMinimum; ++i) {
        auto mix = [&](unsigned char c) {
            return static_cast<unsigned char>(c + (255 - c) * i / nSteps);
        };
        tint = {mix(text.r), mix(text.g), mix(text.b)};
    }
    return tint;
}
