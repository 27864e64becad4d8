// The projects opened or saved last, latest first, as the "Файлы" menu offers them. Only the
// list's rules live here; where it is kept is the desktop program's business.
#pragma once

#include <string>
#include <vector>

namespace coldroom {

class RecentProjects {
public:
    static constexpr size_t kMaxEntries = 8;

    RecentProjects() = default;
    // A stored list: empty entries and repeats are dropped, the rest trimmed to the limit.
    explicit RecentProjects(const std::vector<std::string>& stored);

    // `path` was opened or saved: it comes first, once.
    void use(const std::string& path);
    void remove(const std::string& path);
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

// What the program tells when a recent project's file is gone (it leaves the list).
std::string MissingRecentProjectText(const std::string& path);

}  // namespace coldroom
