#include "file_attributes.h"

#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tagwright::cli {

namespace {

std::string Because(const std::string& what) {
  return what + " (" + std::strerror(errno) + "); it is left alone.";
}

bool Unsupported(int error) { return error == ENOTSUP || error == ENOSYS; }

// Calls `get(buffer, size)` (a list or get call of the xattr family) until the buffer is big
// enough for what it returns. False with errno set on failure.
template <typename Get>
bool GetGrowing(Get get, std::string& value) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const ssize_t size = get(nullptr, 0);
    if (size < 0) return false;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t got = get(value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;  // ERANGE: it grew in between, so ask again
  }
  return false;
}

bool GetAttribute(int fd, const std::string& name, std::string& value) {
  return GetGrowing(
      [&](char* buffer, std::size_t size) { return ::fgetxattr(fd, name.c_str(), buffer, size); },
      value);
}

}  // namespace

FileAttributes::FileAttributes() : acl_(nullptr, &acl_free) {}

FileAttributes::~FileAttributes() = default;

bool FileAttributes::Read(int fd, std::string& error) {
  if (::fstat(fd, &info_) != 0) {
    error = std::string("cannot read its attributes: ") + std::strerror(errno);
    return false;
  }
  if (::acl_extended_fd(fd) == 1) {
    acl_.reset(::acl_get_fd(fd));
    if (!acl_) {
      error = std::string("cannot read its ACL: ") + std::strerror(errno);
      return false;
    }
  }
  std::string names;
  if (!GetGrowing([fd](char* buffer, std::size_t size) { return ::flistxattr(fd, buffer, size); },
                  names)) {
    if (Unsupported(errno)) return true;
    error = std::string("cannot read its extended attributes: ") + std::strerror(errno);
    return false;
  }
  for (std::size_t begin = 0; begin < names.size();) {
    std::size_t end = names.find('\0', begin);
    if (end == std::string::npos) end = names.size();
    std::string name = names.substr(begin, end - begin);
    begin = end + 1;
    // The ACLs are kept through libacl, which knows how they relate to the mode.
    if (name.empty() || name.starts_with("system.posix_acl_")) continue;
    std::string value;
    if (!GetAttribute(fd, name, value)) {
      if (errno == ENODATA) continue;  // removed in between
      error = "cannot read its extended attribute " + name + ": " + std::strerror(errno);
      return false;
    }
    attributes_.emplace_back(std::move(name), std::move(value));
  }
  return true;
}

bool FileAttributes::CopyTo(int fd, PageProblem& problem) const {
  struct stat now {};
  if (::fstat(fd, &now) != 0) {
    problem = {Because("cannot read the new file's attributes"), reason::kWriteFailed};
    return false;
  }
  // The owner first: changing it clears the set-user-ID bits and file capabilities, which
  // the mode and the attributes then give back.
  if ((now.st_uid != info_.st_uid || now.st_gid != info_.st_gid) &&
      ::fchown(fd, info_.st_uid, info_.st_gid) != 0) {
    problem = now.st_uid != info_.st_uid
                  ? PageProblem{Because("its owner cannot be kept"), reason::kOwner}
                  : PageProblem{Because("its group cannot be kept"), reason::kGroup};
    return false;
  }
  if (::fchmod(fd, info_.st_mode & 07777) != 0) {
    problem = {Because("its mode cannot be kept"), reason::kMode};
    return false;
  }
  if (acl_) {
    if (::acl_set_fd(fd, static_cast<acl_t>(acl_.get())) != 0) {
      problem = {Because("its ACL cannot be kept"), reason::kAcl};
      return false;
    }
  } else if (::acl_extended_fd(fd) == 1) {
    // The new file took entries from the folder's default ACL that the page did not have.
    const std::unique_ptr<void, int (*)(void*)> plain(::acl_from_mode(info_.st_mode), &acl_free);
    if (!plain || ::acl_set_fd(fd, static_cast<acl_t>(plain.get())) != 0) {
      problem = {Because("its ACL cannot be kept"), reason::kAcl};
      return false;
    }
  }
  for (const auto& [name, value] : attributes_) {
    std::string current;
    if (GetAttribute(fd, name, current) && current == value) continue;
    if (::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0) {
      problem = {Because("its extended attribute " + name + " cannot be kept"),
                 reason::kAttributes};
      return false;
    }
  }
  return true;
}

}  // namespace tagwright::cli
