#pragma once

#include <string>
#include <string_view>

namespace tagwright {

/// The changes from `before` to `after` in the format of `diff -u`: "--- label" and
/// "+++ label" (no dates), then one hunk with three lines of context around the lines from
/// the first to the last that differ. Lines end at LF, as diff sees them; a last line without
/// one is marked "\ No newline at end of file". Empty when the two are the same.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view label);

}  // namespace tagwright
