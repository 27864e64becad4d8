#include "ui/project_document.h"

#include "files/project_codec.h"

namespace coldroom {

void ProjectDocument::reset(const RoomProject& now, std::string path) {
    saved_ = now;
    path_ = std::move(path);
    modified_ = false;
    tracking_ = true;
}

void ProjectDocument::acceptRoom(const RoomProject& now) {
    if (!tracking_) return;
    TaskValues task = std::move(saved_.task);
    saved_ = now;
    saved_.task = std::move(task);
    update(now);
}

void ProjectDocument::update(const RoomProject& now) {
    if (tracking_) modified_ = !SameFileContent(now, saved_);
}

std::string ProjectDocument::displayName() const {
    if (path_.empty()) return kNewProjectName;
    const auto slash = path_.find_last_of("/\\");
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

}  // namespace coldroom
