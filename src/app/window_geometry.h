#pragma once

#include "help/twips.h"

// The main window's measures, in twips.

namespace tagwright {

// Design measures that the window's own rules compute with, in twips.
inline constexpr int kClientWidth = 9450;
inline constexpr int kClientHeight = 6000;
inline constexpr int kMetaTagTop = 3050;
inline constexpr int kFrameWidth = 9255;
inline constexpr int kFrameHeight = 645;
inline constexpr int kHelpWidth = 855;
inline constexpr int kCopyWidth = 2430;
inline constexpr int kQuitWidth = 855;
inline constexpr int kLargeWindowTop = 300;

/// The left of "Copy to clipboard" inside the bottom row: midway between "Help" at
/// `helpLeft` and "Quit" at the row's right edge (the gap rounded half to even).
int CopyButtonLeft(int frameWidth, int helpLeft, int helpWidth, int copyWidth, int quitWidth);

/// The height of the large window: nine tenths of the screen's height.
int LargeWindowHeight(int screenHeight);

/// Where the result box and the bottom row go for a window of `windowHeight` (outer, twips):
/// the box takes what the rest leaves, the bottom row follows it 100 twips below.
struct ResultArea {
  int metaTagHeight;
  int frameTop;
};
ResultArea ResultAreaFor(int windowHeight);

}  // namespace tagwright
