#include "app/window_geometry.h"

#include <algorithm>
#include <cmath>

namespace tagwright {

int CopyButtonLeft(int frameWidth, int helpLeft, int helpWidth, int copyWidth, int quitWidth) {
  const double gap = (frameWidth - (copyWidth + helpWidth + quitWidth)) / 2.0;
  return helpLeft + helpWidth + static_cast<int>(std::nearbyint(gap));
}

int LargeWindowHeight(int screenHeight) {
  return static_cast<int>(std::nearbyint(0.9 * screenHeight));
}

ResultArea ResultAreaFor(int windowHeight) {
  // 550 twips of the window's height go to its frame and the margins.
  const int metaTagHeight = std::max(0, windowHeight - kMetaTagTop - kFrameHeight - 550);
  return {metaTagHeight, kMetaTagTop + metaTagHeight + 100};
}

}  // namespace tagwright
