#pragma once

#include <optional>
#include <string>

#include <sys/stat.h>

// What of a file's identity could not be carried over to the file that replaces it.
struct IdentityLoss {
    enum class Part { Owner, Mode, Attribute };
    Part part;
    std::string attribute;  // the extended attribute's name, for Part::Attribute
    int error;              // errno of the call that failed
};

// Gives the file open as fd (a replacement not yet in place) the identity of the file at
// hostPath, whose facts are old: owner, group, mode and every extended attribute (ACLs are
// the attributes system.posix_acl_*); an attribute the old file lacks is taken off fd.
// Nothing when all of it was carried over.
std::optional<IdentityLoss> CarryIdentity(int fd, const std::string& hostPath, const struct stat& old);
