#include "ui/project_io.h"

#include "core/numtext.h"
#include "ui/user_interface.h"
#include "files/project_codec.h"
#include "files/project_file.h"
#include "model/field_catalogue.h"
#include "model/room_edit.h"
#include "ui/program.h"

namespace coldroom {

bool SaveProject(Program& program, UserInterface& ui, const std::string& path) {
    // A dialog closed without a choice is the person's own wish, no failure.
    if (path.empty()) {
        ui.message(kNoFileChosen, kAppTitle, MsgIcon::Information);
        return false;
    }
    std::string error;
    if (!WriteConfigFile(path, ProjectItems(program.project()), error)) {
        ui.message(error, kAppTitle, MsgIcon::Critical);
        return false;
    }
    return true;
}

bool OpenProject(Program& program, UserInterface& ui, const std::string& path, std::string* detail) {
    std::string why;
    // What is wrong comes first, then that nothing changed.
    auto fail = [&] {
        if (detail) *detail = why;
        ui.message("«" + path + "»: " + why + "\r\n" + kOpenFailedProjectKept, kAppTitle, MsgIcon::Critical);
        return false;
    };
    if (path.empty()) {
        why = kNoFileChosen;
        if (detail) *detail = why;
        ui.message(kNoFileChosen, kAppTitle, MsgIcon::Information);
        return false;
    }
    std::vector<ConfigItem> items;
    if (!ReadConfigFile(path, items, why)) return fail();
    if (!program.main.loaded() && !program.EnsureMainLoaded(why)) return fail();
    RoomSession& session = program.session;
    if (!ApplyProjectItems(items, *session.data, session.project, session.dialog, why)) return fail();
    if (detail) detail->clear();

    // The window shows the task's room temperature once it is activated: a heated floor is
    // judged against that, once, so that saving what was opened gives the same file again.
    if (SettleFloorHeating(session.project)) ui.message(kFloorHeatNotice, kAppTitle, MsgIcon::None);
    // Values no typing check would let in are kept as stored (nothing in the file is lost)
    // but named, all at once.
    const std::vector<std::string> outside = FieldsOutOfRange(session.project);
    if (!outside.empty()) {
        std::string text = "Значения вне допустимых пределов (оставлены как в файле):";
        for (const std::string& line : outside) text += "\r\n" + line;
        ui.message(text, kAppTitle, MsgIcon::Warning);
    }
    program.task.Show();
    program.main.Show();
    return true;
}

}  // namespace coldroom
