#pragma once

#include <filesystem>
#include <string>

#include <sched.h>
#include <sys/mount.h>

// A small file system of its own for the disk-full and read-only cases, in a mount namespace
// of this process so that nothing outlives the test. Needs the right to mount (root).
class Tmpfs {
public:
    explicit Tmpfs(const std::string& path, const std::string& size)
        : path_(path)
    {
        static const bool privateNamespace = ::unshare(CLONE_NEWNS) == 0
            && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        (void)privateNamespace;
        std::filesystem::create_directories(path_);
        mounted_ = ::mount("tessna-test", path_.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~Tmpfs()
    {
        if (mounted_)
            ::umount2(path_.c_str(), MNT_DETACH);
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;

    bool Mounted() const { return mounted_; }
    bool MakeReadOnly() const
    {
        return ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string path_;
    bool mounted_ = false;
};
