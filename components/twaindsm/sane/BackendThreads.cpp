#include "BackendThreads.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace twainsane {

namespace {

// How often a settling thread is looked at: a reader thread that has its
// buffer is in its write within microseconds.
constexpr auto LookEvery = std::chrono::microseconds(200);

} // namespace

std::set<pid_t> BackendThreads::Threads()
{
    std::set<pid_t> threads;
    DIR *dir = ::opendir("/proc/self/task");
    if (!dir)
        return threads;
    while (const dirent *entry = ::readdir(dir)) {
        char *end = nullptr;
        const long id = std::strtol(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == '\0')
            threads.insert(pid_t(id));
    }
    ::closedir(dir);
    return threads;
}

BackendThreads::State BackendThreads::StateOf(pid_t thread)
{
    // The system call a thread waits in: its number first, or "running".
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/syscall", int(thread));
    std::FILE *file = std::fopen(path, "re");
    if (!file)
        return State::Gone;
    char text[32] = {};
    const bool read = std::fgets(text, sizeof text, file) != nullptr;
    std::fclose(file);
    if (!read)
        return State::Gone; // ended while the file was read
    char *end = nullptr;
    const long call = std::strtol(text, &end, 10);
    // Running, or stopped outside a call: perhaps holding a lock. One
    // waiting for a lock holds none (the allocator takes one at a time), and
    // an idle thread of someone else's waits the same way, so it is not
    // waited for.
    return end == text || call < 0 ? State::Busy : State::Waiting;
}

void BackendThreads::beforeStart()
{
    m_before = Threads();
    m_started.clear();
}

void BackendThreads::afterStart()
{
    m_started.clear();
    for (pid_t thread : Threads())
        if (!m_before.count(thread))
            m_started.insert(thread);
    m_before.clear();
}

bool BackendThreads::settle(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        bool settled = true;
        for (auto it = m_started.begin(); it != m_started.end();) {
            const State state = StateOf(*it);
            if (state == State::Gone) {
                it = m_started.erase(it);
                continue;
            }
            if (state == State::Busy)
                settled = false;
            ++it;
        }
        if (settled)
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(LookEvery);
    }
}

} // namespace twainsane
