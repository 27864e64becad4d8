#include "ui/project_document.h"

namespace coldroom {

void ProjectDocument::reset(Snapshot now, std::string path) {
    saved_ = std::move(now);
    path_ = std::move(path);
    modified_ = false;
    tracking_ = true;
}

void ProjectDocument::accept(const Snapshot& now, const std::vector<bool>& which) {
    if (!tracking_) return;
    for (size_t i = 0; i < now.size() && i < saved_.size() && i < which.size(); ++i)
        if (which[i]) saved_[i] = now[i];
    update(now);
}

void ProjectDocument::update(const Snapshot& now) {
    if (tracking_) modified_ = now != saved_;
}

std::string ProjectDocument::displayName() const {
    if (path_.empty()) return kNewProjectName;
    const auto slash = path_.find_last_of("/\\");
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

}  // namespace coldroom
