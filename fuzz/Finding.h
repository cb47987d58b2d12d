#pragma once

// Shared by the fuzz targets: their own checks end the run as a finding, and each
// process works in a directory of its own.

#include "core/DataTables.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace velnor::fuzz {

// Ends the run so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Finding(const std::string& what)
{
    std::fprintf(stderr, "\n==velnor-fuzz== FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void Require(bool condition, const std::string& what)
{
    if (!condition)
        Finding(what);
}

// A directory for this process's files, removed when it ends normally.
class WorkDir {
public:
    WorkDir()
        : path_(std::filesystem::temp_directory_path() / ("velnor-fuzz-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~WorkDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    std::string file(const char* name) const { return (path_ / name).string(); }

    // The names of the files in it, sorted, separated by blanks.
    std::string listing() const
    {
        std::string names;
        std::vector<std::string> sorted;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            sorted.push_back(entry.path().filename().string());
        std::sort(sorted.begin(), sorted.end());
        for (const std::string& name : sorted)
            names += (names.empty() ? "" : " ") + name;
        return names;
    }

private:
    std::filesystem::path path_;
};

// Readies a target's process once: the working reference tables and its directory.
inline WorkDir& Started()
{
    static WorkDir dir = [] {
        StaticToDynamic();
        return WorkDir();
    }();
    return dir;
}

} // namespace velnor::fuzz
