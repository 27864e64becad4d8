#include "web_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/design_margin.h"
#include "core/numtext.h"
#include "core/shared_texts.h"
#include "files/project_codec.h"
#include "files/project_file.h"
#include "model/entries.h"
#include "model/field_catalogue.h"
#include "model/room_edit.h"
#include "reports/calculation_note.h"
#include "reports/csv_report.h"
#include "reports/html_report.h"
#include "reports/report_model.h"
#include "ui/project_io.h"

namespace coldroom {
namespace {

// The page's memory file system: files are written here by the program's writers and read back.
constexpr const char* kScratch = "/tmp/coldroom-page";

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A file name from the project's title: what a file system refuses becomes '_'.
std::string fileNameOf(const std::string& title, const char* extension) {
    std::string name;
    for (char c : title) name += std::string_view("/\\:*?\"<>|").find(c) == std::string_view::npos && c >= ' ' ? c : '_';
    if (name.find_first_not_of(" ._") == std::string::npos) name = "ColdRoom";
    return name + extension;
}

// Collects what the editing layer tells about one entry.
class Entries : public EntrySink {
public:
    Entries(std::vector<WebMessage>& messages, const RoomProject& project) : messages_(messages), project_(project) {}
    void notice(const Notice& n) override {
        switch (n.kind) {
        case Notice::Kind::Refusal:
            refusal = true;
            messages_.push_back({WebMessage::Kind::Error, kInputErrorTitle, n.text});
            break;
        case Notice::Kind::Unusual: messages_.push_back({WebMessage::Kind::Warning, kAppTitle, n.text}); break;
        case Notice::Kind::FloorHeating: messages_.push_back({WebMessage::Kind::Information, kAppTitle, n.text}); break;
        }
    }
    // A refused text is kept in its field; one that was no number at all gives the field its
    // value back, and there is nothing to keep.
    void refusedText(const FieldSpec& f, const std::string& text) override {
        if (text == f.textOf(project_)) shown.reset();
        else shown = text;
    }
    void recomputed(unsigned r) override { recompute |= r; }

    bool refusal = false;
    std::optional<std::string> shown;
    unsigned recompute = Recompute::None;

private:
    std::vector<WebMessage>& messages_;
    const RoomProject& project_;
};

}  // namespace

const std::vector<WebSession::TaskGroup>& WebSession::TaskGroups() {
    static const std::vector<TaskGroup> groups = {
        {"Мясо, птица и субпродукты", &MeatTasks()},  {"Колбасы и колбасные изделия", &SausageTasks()},
        {"Рыба и рыбопродукты", &FishTasks()},        {"Яйца, сыр и молочные продукты", &MilkTasks()},
        {"Мороженое", &IceCreamTasks()},              {"Специальные задачи", nullptr},
    };
    return groups;
}

WebSession::WebSession(std::shared_ptr<const ReferenceData> data) : data_(std::move(data)), margin_(kDefaultDesignMargin) {
    newProject();
}

void WebSession::newProject() {
    project_ = RoomProject{};
    dialog_ = TaskDialogState{};
    result_ = RoomResult{};
    computed_ = false;
    roomShown_ = false;
    kept_.reset();
    refused_.clear();
    statusNote_.clear();
    StartTask(project_, dialog_, *data_);
    ActivateTask(project_);
    taskStep_ = true;
}

// ---- The task dialog ------------------------------------------------------------------------

void WebSession::tellTask(const TaskOutcome& outcome) {
    for (const TaskNotice& n : outcome.notices) {
        switch (n.kind) {
        case TaskNotice::Kind::Refusal: messages_.push_back({WebMessage::Kind::Error, kInputErrorTitle, n.text}); break;
        case TaskNotice::Kind::NotConfirmed:
            messages_.push_back({WebMessage::Kind::Error, "Неверный ввод параметра", n.text});
            break;
        case TaskNotice::Kind::NoSpecialTasks:
            messages_.push_back({WebMessage::Kind::Information, "Нет специальных задач!", n.text});
            break;
        }
    }
}

void WebSession::taskText(const FieldSpec& field, std::string_view typed) {
    tellTask(EnterTaskText(project_, dialog_, field, typed));
}

void WebSession::taskChoose(const FieldSpec& field, int position) {
    ChooseTaskEntry(project_, dialog_, *data_, field, position);
}

void WebSession::taskGroup(int group) {
    const auto& groups = TaskGroups();
    if (group < 0 || group >= static_cast<int>(groups.size())) return;
    if (groups[group].tasks)
        ChooseTaskGroup(project_, dialog_, *data_, *groups[group].tasks);
    else
        tellTask(ChooseSpecialTasks(project_, dialog_, *data_));
}

void WebSession::confirmTask() {
    const TaskOutcome outcome = ConfirmTask(project_, dialog_, *data_);
    tellTask(outcome);
    if (!outcome.confirmed) return;
    taskStep_ = false;
    kept_.reset();
    if (!roomShown_) {
        SettleNewRoom(project_, *data_);
        project_.Name_txt = TaskListText(project_, *data_);
    }
    activateRoom();
}

void WebSession::changeTask() {
    if (taskStep_) return;
    kept_ = Kept{project_.task, dialog_, project_.ProjectTitle};
    ActivateTask(project_);
    taskStep_ = true;
}

void WebSession::cancelTask() {
    if (!kept_) return;
    // Back to the room as it was: no activation puts the task over it.
    project_.task = kept_->task;
    dialog_ = kept_->dialog;
    project_.ProjectTitle = kept_->title;
    kept_.reset();
    taskStep_ = false;
}

// ---- The room -------------------------------------------------------------------------------

void WebSession::activateRoom() {
    const std::string note = ActivateRoom(project_, !roomShown_);
    if (!note.empty()) statusNote_ = note;
    roomShown_ = true;
    refused_.clear();
    recompute(Recompute::Everything);
}

void WebSession::recompute(unsigned flags) {
    result_ = ComputeRoom(project_, *data_);
    computed_ = true;
    // What the recomputed components met, each once, as the window tells it.
    std::vector<std::string> problems;
    auto problem = [&](const std::string& text) {
        if (!text.empty() && std::find(problems.begin(), problems.end(), text) == problems.end()) problems.push_back(text);
    };
    const bool all = flags & Recompute::Everything;
    if (all || (flags & Recompute::Envelope))
        for (const std::string& p : result_.envelopeProblems) problem(p);
    problem(result_.operationProblem);
    if (all) {
        for (const std::string& p : result_.productProblems) problem(p);
        problem(result_.packagingProblem);
    }
    for (const std::string& p : problems) messages_.push_back({WebMessage::Kind::Warning, kAppTitle, p});
    if (all || (flags & Recompute::CoolingTime)) {
        if (result_.cooling.status == CoolingTimeResult::Status::Error)
            messages_.push_back({WebMessage::Kind::Warning, kAppTitle, kCoolingTimeErrorText});
        else if (result_.cooling.status == CoolingTimeResult::Status::Computed && result_.cooling.tooShort)
            messages_.push_back({WebMessage::Kind::Warning, "Ошибка ввода времени охлаждения",
                                 "Желаемое время меньше расчетного! Для заданных параметров невозможно охладить "
                                 "продукт за " + project_.task.Real_time_txt + " ч."});
    }
}

void WebSession::enter(const FieldSpec& field, const std::string& text) {
    if (taskStep_) return;
    Entries told(messages_, project_);
    const SetResult r = ApplySettings(project_, dialog_, *data_, {{field.setName(), text}}, &told);
    if (told.shown) refused_[field.control] = *told.shown;
    else refused_.erase(field.control);
    if (r.status != SetStatus::Done) {
        if (!told.refusal) messages_.push_back({WebMessage::Kind::Error, kInputErrorTitle, r.message});
        return;
    }
    // The work cycle the task put back is told until the person enters something.
    if (told.recompute != Recompute::None) statusNote_.clear();
    recompute(told.recompute);
}

const std::string* WebSession::refusedText(const std::string& control) const {
    const auto it = refused_.find(control);
    return it == refused_.end() ? nullptr : &it->second;
}

bool WebSession::setMargin(const std::string& typed) {
    double percent = -1;
    if (!StrictNumber(typed, percent) || percent != std::floor(percent) || percent < 0 || percent > kMaxDesignMargin) {
        messages_.push_back({WebMessage::Kind::Error, kInputErrorTitle,
                             "Запас должен быть целым числом от 0 до " + std::to_string(kMaxDesignMargin) + " %"});
        return false;
    }
    margin_ = static_cast<int>(percent);
    return true;
}

// ---- Files ----------------------------------------------------------------------------------

bool WebSession::open(const std::string& name, std::string_view bytes) {
    const std::string path = std::string(kScratch) + ".cfg";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    RoomProject opened;
    std::string why;
    std::vector<std::string> notices;
    const bool read = ReadProject(path, *data_, opened, why, &notices);
    std::remove(path.c_str());
    if (!read) {
        messages_.push_back({WebMessage::Kind::Error, kAppTitle, "«" + name + "»: " + why + "\r\n" + kOpenFailedProjectKept});
        return false;
    }
    project_ = std::move(opened);
    dialog_ = TaskDialogState{};
    taskStep_ = false;
    roomShown_ = true;
    kept_.reset();
    refused_.clear();
    statusNote_.clear();
    std::string outside;
    for (const std::string& n : notices) {
        if (n == kFloorHeatNotice) messages_.push_back({WebMessage::Kind::Information, kAppTitle, n});
        else outside += "\r\n" + n;
    }
    if (!outside.empty())
        messages_.push_back({WebMessage::Kind::Warning, kAppTitle,
                             "Значения вне допустимых пределов (оставлены как в файле):" + outside});
    recompute(Recompute::Everything);
    return true;
}

std::optional<WebFile> WebSession::written(const std::string& name, const std::string& type, bool ok,
                                           const std::string& error) {
    if (!ok) {
        messages_.push_back({WebMessage::Kind::Error, kAppTitle, error});
        return std::nullopt;
    }
    WebFile file{name, type, readWhole(kScratch)};
    std::remove(kScratch);
    return file;
}

std::optional<WebFile> WebSession::save() {
    std::string error;
    const bool ok = WriteConfigFile(kScratch, ProjectItems(project_), error);
    return written(fileNameOf(project_.Name_txt, ".cfg"), "application/octet-stream", ok, error);
}

std::optional<WebFile> WebSession::report(std::string_view kind) {
    const ReportHeading heading{project_.Name_txt, project_.ReportAuthor, ShortDateToday()};
    std::string error;
    if (kind == "note") {
        const CalculationNote note = BuildCalculationNote(project_, result_, *data_, NoteOptions{heading, margin_, {}, {}, "shipped"});
        const bool ok = WriteCalculationNoteHtml(kScratch, note, error);
        return written(fileNameOf(project_.Name_txt, " — записка.html"), "text/html;charset=utf-8", ok, error);
    }
    const ReportModel model = BuildReportModel(project_, result_, *data_, heading);
    if (kind == "html")
        return written(fileNameOf(project_.Name_txt, ".html"), "text/html;charset=windows-1251",
                       WriteHtmlReport(kScratch, model, error), error);
    return written(fileNameOf(project_.Name_txt, ".csv"), "text/csv;charset=windows-1251",
                   WriteCsvReport(kScratch, model, error), error);
}

}  // namespace coldroom
