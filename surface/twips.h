// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

namespace surface {

// Window geometry is designed in twips; one twip is 1/15 of a device-independent pixel.
class Twips {
  public:
    static constexpr double perPixel = 15.0;
    // The one conversion to widget pixels: to the nearest pixel, halves away from zero.
    static int toPixels(double twips) { return static_cast<int>(std::lround(twips / perPixel)); }
    static double fromPixels(double pixels) { return pixels * perPixel; }
};

} // namespace surface
