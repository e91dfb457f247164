#include "support/core/FileIdentity.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>

namespace {

using Attributes = std::map<std::string, std::string>;

// Calls read(buffer, size) until the buffer is large enough for the answer; nothing, with
// errno set, when it fails otherwise.
std::optional<std::string> ReadSized(const std::function<ssize_t(char*, std::size_t)>& read)
{
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string buffer(static_cast<std::size_t>(size), '\0');
        const ssize_t got = read(buffer.data(), buffer.size());
        if (got >= 0) {
            buffer.resize(static_cast<std::size_t>(got));
            return buffer;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
}

// The extended attributes of a file by path (fd < 0) or by descriptor. A file system
// without them has none.
std::optional<Attributes> ReadAttributes(const std::string& hostPath, int fd)
{
    const auto names = ReadSized([&](char* buffer, std::size_t size) {
        return fd < 0 ? ::listxattr(hostPath.c_str(), buffer, size) : ::flistxattr(fd, buffer, size);
    });
    if (!names)
        return errno == ENOTSUP ? std::optional<Attributes>(Attributes{}) : std::nullopt;
    Attributes attributes;
    for (std::size_t at = 0; at < names->size();) {
        const std::string name = names->c_str() + at;
        at += name.size() + 1;
        const auto value = ReadSized([&](char* buffer, std::size_t size) {
            return fd < 0 ? ::getxattr(hostPath.c_str(), name.c_str(), buffer, size)
                          : ::fgetxattr(fd, name.c_str(), buffer, size);
        });
        if (!value)
            return std::nullopt;
        attributes[name] = *value;
    }
    return attributes;
}

std::optional<IdentityLoss> CarryAttributes(int fd, const std::string& hostPath)
{
    const auto wanted = ReadAttributes(hostPath, -1);
    if (!wanted)
        return IdentityLoss{IdentityLoss::Part::Attribute, {}, errno};
    const auto present = ReadAttributes({}, fd);
    if (!present)
        return IdentityLoss{IdentityLoss::Part::Attribute, {}, errno};
    for (const auto& [name, value] : *present) {
        if (!wanted->contains(name) && ::fremovexattr(fd, name.c_str()) != 0)
            return IdentityLoss{IdentityLoss::Part::Attribute, name, errno};
    }
    for (const auto& [name, value] : *wanted) {
        const auto found = present->find(name);
        if (found != present->end() && found->second == value)
            continue;
        if (::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0)
            return IdentityLoss{IdentityLoss::Part::Attribute, name, errno};
    }
    return std::nullopt;
}

// Sets the mode when it differs; an access ACL set before keeps its entries, as chmod
// changes only its mask, which equals the old file's group bits.
std::optional<IdentityLoss> CarryMode(int fd, mode_t mode)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return IdentityLoss{IdentityLoss::Part::Mode, {}, errno};
    if ((now.st_mode & 07777) != (mode & 07777) && ::fchmod(fd, mode & 07777) != 0)
        return IdentityLoss{IdentityLoss::Part::Mode, {}, errno};
    return std::nullopt;
}

}  // namespace

std::optional<IdentityLoss> CarryIdentity(int fd, const std::string& hostPath, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return IdentityLoss{IdentityLoss::Part::Owner, {}, errno};
    // The owner first: a change of owner clears the set-id bits the mode then restores.
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return IdentityLoss{IdentityLoss::Part::Owner, {}, errno};
    if (auto loss = CarryMode(fd, old.st_mode))
        return loss;
    if (auto loss = CarryAttributes(fd, hostPath))
        return loss;
    return CarryMode(fd, old.st_mode);
}
