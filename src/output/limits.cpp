#include "output/limits.h"

#include "util/settings.h"
#include "util/str_proc.h"

namespace tagwright {

std::string CheckMaxNumKeywords(std::string& text) {
  FilterNumericText(text, false);
  // An empty box stands: it means no limit.
  if (text.empty()) return {};
  const double value = LeadingNumber(text);
  std::string message;
  if (value > intMaxNumKeywords) {
    message =
        "Maximum number of keywords in the meta tag is " + std::to_string(intMaxNumKeywords) + ".";
  } else if (value < intMinNumKeywords) {
    message =
        "Minimum number of keywords in the meta tag is " + std::to_string(intMinNumKeywords) + ".";
  } else {
    return {};
  }
  text = std::to_string(intDefaultNumKeywords);
  return message;
}

std::string CheckMaxNumBytes(std::string& text) {
  FilterNumericText(text, false);
  if (text.empty()) return {};
  // No lower bound: 0 stands and means no limit.
  if (LeadingNumber(text) <= intMaxNumBytes) return {};
  text = std::to_string(intDefaultNumBytes);
  return "Maximum number of bytes in the meta tag is " + std::to_string(intMaxNumBytes) + ".";
}

}  // namespace tagwright
