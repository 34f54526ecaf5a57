#pragma once

#include <QRect>

#include <cmath>

// The windows' measures are kept in twips, as their layouts are designed; 15 twips make one
// logical pixel, so Qt's high-DPI scaling keeps the windows right on any screen.

namespace tagwright {

inline constexpr int kTwipsPerPixel = 15;

/// Twips as logical pixels, to the nearest pixel.
inline int Px(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
/// Logical pixels as twips.
constexpr int Twips(int pixels) { return pixels * kTwipsPerPixel; }
/// A rectangle given in twips (left, top, width, height) in logical pixels.
inline QRect PxRect(int left, int top, int width, int height) {
  return QRect(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace tagwright
