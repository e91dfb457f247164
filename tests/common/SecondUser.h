#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>

// A second user of the machine, for tests of owners and permissions between users: made with
// useradd when the test runs as root, removed with userdel at the end. When it cannot be
// made, Problem() says why, for the test to skip with.
class SecondUser {
public:
    SecondUser()
    {
        if (::geteuid() != 0) {
            problem_ = "a second user needs root to be made; run the test as root to check owners";
            return;
        }
        name_ = "tessna-t" + std::to_string(::getpid());
        // useradd fails while another process holds the user database's lock.
        const std::string add = "useradd --no-create-home --shell /usr/sbin/nologin " + name_ + " 2>/dev/null";
        for (int attempt = 0; attempt < 50 && std::system(add.c_str()) != 0; ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const passwd* entry = ::getpwnam(name_.c_str());
        if (!entry) {
            problem_ = "useradd could not make the user " + name_;
            name_.clear();
            return;
        }
        uid_ = entry->pw_uid;
        gid_ = entry->pw_gid;
    }
    ~SecondUser()
    {
        if (name_.empty())
            return;
        const std::string remove = "userdel " + name_ + " 2>/dev/null";
        for (int attempt = 0; attempt < 50 && std::system(remove.c_str()) != 0; ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    SecondUser(const SecondUser&) = delete;
    SecondUser& operator=(const SecondUser&) = delete;

    // Empty when the user exists.
    const std::string& Problem() const { return problem_; }
    const std::string& Name() const { return name_; }
    uid_t Uid() const { return uid_; }
    gid_t Gid() const { return gid_; }

    // Runs work in a child process that has only this user's ids and gives back the text the
    // work returned; nothing when the child could not become the user or did not finish.
    std::optional<std::string> RunAs(const std::function<std::string()>& work) const
    {
        int channel[2];
        if (::pipe(channel) != 0)
            return std::nullopt;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0)
                ::_exit(125);
            const std::string text = work();
            const bool written = ::write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
            ::_exit(written ? 0 : 126);
        }
        ::close(channel[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(got));
        ::close(channel[0]);
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return std::nullopt;
        return text;
    }

private:
    std::string problem_;
    std::string name_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};
