#pragma once

#include <string>
#include <string_view>

namespace tagwright {

/// True only when `path` names an existing regular file (after following links): directories,
/// FIFOs and devices are not files, so nothing ever blocks on opening one.
bool FileExists(const std::string& path);

/// True when the user may write `path` (a file, or a folder to create files in): the system
/// allows it and the file's mode has a write bit. A file or folder marked read-only is
/// respected even by a user whom the system would let write anyway.
bool MayWrite(const std::string& path);

enum class FileSpecCheck { Valid, BadForm, BadExtension, NotFound };

/// The checks of a typed or chosen input path, in order: form (a "." after the last "/"),
/// extension (containing "htm", any case), existence.
FileSpecCheck CheckInputFileSpec(const std::string& path);

/// What a run says when the input box is empty, or names no existing file.
inline constexpr const char* kInputFileNotSpecified = "Input file not specified.";
inline constexpr const char* kInputFileNotFound = "Input file not found.";

/// The message a failed check shows ("" for Valid).
std::string FileSpecMessage(FileSpecCheck check);

}  // namespace tagwright
