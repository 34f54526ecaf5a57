#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tagwright::test {

/// A fresh folder under the system's temporary folder, removed with everything in it when the
/// object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// Writes `content` as bytes to `name` inside the folder and returns its full path.
  std::string Write(const std::string& name, std::string_view content) const;

 private:
  std::filesystem::path path_;
};

/// Reads a whole file as bytes.
std::string ReadFile(const std::string& path);

}  // namespace tagwright::test
