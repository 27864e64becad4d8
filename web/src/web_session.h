// The page's one open project: the task dialog as a first step, then the room, every entry
// through the editing layer and every result from ComputeRoom, as the desktop windows do it.
// What the page shows is written as JSON (web_json.cpp); files go through the program's own
// writers into the page's memory file system and come back as bytes.
#pragma once

#include <memory>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/compute_room.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/task_edit.h"

namespace coldroom {

struct FieldSpec;

// What the person is told after an action.
struct WebMessage {
    enum class Kind { Error, Warning, Information } kind;
    std::string title, text;
};

// A file the page hands to the person to download.
struct WebFile {
    std::string name;  // suggested file name
    std::string type;  // MIME type
    std::string bytes;
};

class WebSession {
public:
    explicit WebSession(std::shared_ptr<const ReferenceData> data);

    // ---- The task dialog ----------------------------------------------------------------
    // A text field of the dialog entered; a list position chosen; a product group's button
    // (its position in TaskGroups()); «Далее >>»; «Изменить задачу» and its «Отмена».
    void taskText(const FieldSpec& field, std::string_view typed);
    void taskChoose(const FieldSpec& field, int position);
    void taskGroup(int group);
    void confirmTask();
    void changeTask();
    void cancelTask();
    // A new project: the task dialog comes up with its first task.
    void newProject();

    // ---- The room ---------------------------------------------------------------------
    // An entry by the name --set takes: a typed text (entered and left), a list position, 1 for
    // an option, 0 or 1 for a check box.
    void enter(const FieldSpec& field, const std::string& text);
    // The design margin, %; false with a message when out of range.
    bool setMargin(const std::string& typed);

    // ---- Files ------------------------------------------------------------------------
    // Opens a project file's bytes (`name` for messages); false leaves the project as it was.
    bool open(const std::string& name, std::string_view bytes);
    // The project file as «Сохранить конфигурацию» writes it; nullopt with a message.
    std::optional<WebFile> save();
    // A report: "html", "csv" or "note"; nullopt with a message.
    std::optional<WebFile> report(std::string_view kind);

    // ---- What is shown ----------------------------------------------------------------
    bool taskStep() const { return taskStep_; }
    // The dialog was opened from the room and may be left with «Отмена».
    bool canCancelTask() const { return kept_.has_value(); }
    const RoomProject& project() const { return project_; }
    const TaskDialogState& dialog() const { return dialog_; }
    const ReferenceData& data() const { return *data_; }
    const RoomResult& result() const { return result_; }
    bool computed() const { return computed_; }
    int margin() const { return margin_; }
    // The text a main-window field shows: a refused entry as typed, else the project's value.
    const std::string* refusedText(const std::string& control) const;
    const std::string& statusNote() const { return statusNote_; }
    // Messages of the last action; the page shows them and they are cleared at the next one.
    std::vector<WebMessage>& messages() { return messages_; }

    struct TaskGroup {
        const char* caption;
        const std::vector<double>* tasks;  // null: the special tasks
    };
    static const std::vector<TaskGroup>& TaskGroups();

private:
    void tellTask(const TaskOutcome& outcome);
    void recompute(unsigned recompute);
    void activateRoom();
    std::optional<WebFile> written(const std::string& name, const std::string& type, bool ok,
                                   const std::string& error);

    std::shared_ptr<const ReferenceData> data_;
    RoomProject project_;
    TaskDialogState dialog_;
    RoomResult result_;
    bool computed_ = false;
    bool taskStep_ = true;
    bool roomShown_ = false;  // the room was settled and activated once
    struct Kept {
        TaskValues task;
        TaskDialogState dialog;
        std::string title;
    };
    std::optional<Kept> kept_;
    std::map<std::string, std::string> refused_;
    int margin_;
    std::string statusNote_;
    std::vector<WebMessage> messages_;
};

}  // namespace coldroom
