#include "ui/recent_projects.h"

#include <algorithm>

namespace coldroom {

RecentProjects::RecentProjects(const std::vector<std::string>& stored) {
    // Oldest first, so that each use puts the newer one before it.
    for (auto it = stored.rbegin(); it != stored.rend(); ++it)
        if (!it->empty()) use(*it);
}

void RecentProjects::use(const std::string& path) {
    if (path.empty()) return;
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxEntries) paths_.resize(kMaxEntries);
}

void RecentProjects::remove(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

std::string MissingRecentProjectText(const std::string& path) {
    return "Файл проекта не найден:\r\n" + path + "\r\nОн удален из списка последних проектов.";
}

}  // namespace coldroom
