#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tagwright {

/// The changes from `before` to `after` in the format of `diff -u`: "--- label" and
/// "+++ label" (no dates), then one hunk with three lines of context around the lines from
/// the first to the last that differ. Lines end at LF, as diff sees them; a last line without
/// one is marked "\ No newline at end of file". Empty when the two are the same.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view label);

/// The same with a label of its own for each side: "--- oldLabel" and "+++ newLabel".
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view oldLabel,
                        std::string_view newLabel);

/// A header label as `diff -u` writes it for a file: the name, a tab and the time,
/// "NAME\t2024-05-01 12:30:00.123456789 +0200" (local time). The name stays as it is unless it
/// holds a blank, a control character, a quotation mark, a backslash or a byte beyond ASCII;
/// then it is put in double quotes with C escapes ("my page.html", "caf\303\251 page.html"),
/// which `patch` reads back.
std::string DiffLabel(std::string_view name, const struct timespec& time);

}  // namespace tagwright
