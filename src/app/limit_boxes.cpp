#include "app/limit_boxes.h"

#include "util/settings.h"
#include "util/str_proc.h"

namespace tagwright {

std::string CheckMaxNumKeywords(std::string& text) {
  FilterNumericText(text, false);
  // An empty box stands: it means no limit.
  if (text.empty()) return {};
  const double value = LeadingNumber(text);
  std::string message;
  if (value > kMaxNumKeywords) {
    message =
        "Maximum number of keywords in the meta tag is " + std::to_string(kMaxNumKeywords) + ".";
  } else if (value < kMinNumKeywords) {
    message =
        "Minimum number of keywords in the meta tag is " + std::to_string(kMinNumKeywords) + ".";
  } else {
    return {};
  }
  text = std::to_string(kDefaultNumKeywords);
  return message;
}

std::string CheckMaxNumBytes(std::string& text) {
  FilterNumericText(text, false);
  if (text.empty()) return {};
  // No lower bound: 0 stands and means no limit.
  if (LeadingNumber(text) <= kMaxNumBytes) return {};
  text = std::to_string(kDefaultNumBytes);
  return "Maximum number of bytes in the meta tag is " + std::to_string(kMaxNumBytes) + ".";
}

}  // namespace tagwright
