#pragma once

#include <string>

namespace tagwright::cli {

/// Why a page is left alone: the sentence for standard error, and the short reason that the
/// summary line counts.
struct PageProblem {
  std::string message;
  std::string reason;
};

/// The summary's reasons, as they follow a count ("2 read-only").
namespace reason {
inline constexpr const char* kNotFound = "not found";
inline constexpr const char* kNotAPage = "not a page";
inline constexpr const char* kUnreadable = "unreadable";
inline constexpr const char* kPathTooLong = "path too long";
inline constexpr const char* kUtf16 = "UTF-16";
inline constexpr const char* kUtf32 = "UTF-32";
inline constexpr const char* kNoHead = "no head";
inline constexpr const char* kHeadTooLong = "head too long";
inline constexpr const char* kCharsetNotWritten = "charset not written";
inline constexpr const char* kNoKeywords = "no keywords";
inline constexpr const char* kCharset = "charset at risk";
inline constexpr const char* kReadOnly = "read-only";
inline constexpr const char* kNotWritable = "not writable";
inline constexpr const char* kHardLinks = "with hard links";
inline constexpr const char* kOwner = "owner not kept";
inline constexpr const char* kGroup = "group not kept";
inline constexpr const char* kMode = "mode not kept";
inline constexpr const char* kAcl = "ACL not kept";
inline constexpr const char* kAttributes = "attributes not kept";
inline constexpr const char* kChanged = "changed meanwhile";
inline constexpr const char* kWriteFailed = "write failed";
inline constexpr const char* kOther = "other";
}  // namespace reason

}  // namespace tagwright::cli
