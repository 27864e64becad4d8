// The room model against the program that shows it: a project read and computed without any
// window gives what the windows show after opening it, and the field catalogue names what the
// project file keeps.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "core/load_components.h"
#include "core/numtext.h"
#include "files/project_codec.h"
#include "model/compute_room.h"
#include "model/field_catalogue.h"
#include "model/task_edit.h"
#include "refdb/reference_columns.h"
#include "refdb/test_db.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"

namespace coldroom::test {
namespace {

std::vector<std::string> projectFiles() {
    std::vector<std::string> files{std::string(COLDROOM_TEST_DATA) + "/projects/known.cfg"};
    for (const auto& e : std::filesystem::directory_iterator(std::string(COLDROOM_TEST_DATA) + "/scenarios"))
        files.push_back((e.path() / "project.cfg").string());
    return files;
}

TEST(RoomModel, ReadAndComputedAloneEqualsWhatTheWindowsShow) {
    for (const std::string& file : projectFiles()) {
        ProgramHarness h{ProgramHarness::Shipped{}};
        h.confirm();
        h.ui.fileNames.push_back(file);
        ASSERT_TRUE(OpenCommand(h.program(), h.ui)) << file;

        RoomProject project;
        std::string why;
        ASSERT_TRUE(ReadProject(file, h.program().data(), project, why)) << file << ": " << why;
        EXPECT_TRUE(SameFileContent(project, h.program().project())) << file;
        const RoomResult result = ComputeRoom(project, h.program().data());
        for (const LoadComponent& c : LoadComponents())
            EXPECT_EQ(LoadText(c.value(result.loads)), LoadText(c.value(h.main().results()))) << file << ": " << c.caption;
        EXPECT_EQ(GeneralText(result.storageCapacity), h.main().Norma_lbl.text) << file;
    }
}

// The inputs a person can reach, copied one by one into a fresh project.
RoomProject BuiltFieldByField(const RoomProject& from) {
    RoomProject p;
    p.task.OfferedTasks = from.task.OfferedTasks;
    for (const FieldSpec& f : FieldCatalogue()) {
        switch (f.kind) {
        case FieldKind::Text: f.textOf(p) = f.textOf(from); break;
        case FieldKind::List:
        case FieldKind::Check: f.positionOf(p) = f.positionOf(from); break;
        case FieldKind::Option: f.optionOf(p) = f.optionOf(from); break;
        }
    }
    return p;
}

// A random entry of field `f` through its form's control, as a person makes it.
void EnterAtRandom(ProgramHarness& h, const FieldSpec& f, std::mt19937& rng) {
    const bool task = f.form == FieldForm::Task;
    ControlRegistry& controls = task ? h.task().controls() : h.main().controls();
    if (task) h.main().Change_btn.onClick();
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    switch (f.kind) {
    case FieldKind::Text: {
        const double lo = f.range ? std::max(f.range->low, -60.0) : -60, hi = f.range ? std::min(f.range->high, 400.0) : 400;
        std::string text = GeneralText(std::round(uniform(lo - 5, hi + 5) * 10) / 10);
        if (rng() % 8 == 0) std::replace(text.begin(), text.end(), '.', ',');
        TextBox& box = *controls.get<TextBox>(f.control);
        if (!box.enabled) break;
        ProgramHarness::enter(box, text);
        box.onLeave();
        break;
    }
    case FieldKind::List: {
        ListBox& list = *controls.get<ListBox>(f.control);
        if (list.enabled && list.count() > 0) list.setIndex(static_cast<int>(rng() % list.count()));
        break;
    }
    case FieldKind::Check: controls.get<CheckBox>(f.control)->setValue(static_cast<int>(rng() % 2)); break;
    case FieldKind::Option:
        if (OptionButton& o = *controls.get<OptionButton>(f.control); o.enabled) o.setValue(true);
        break;
    }
    if (task) {
        h.confirm();
        if (h.ui.visible.count(WindowId::TaskDialog)) h.program().TaskDialogEscape();
    }
}

// Nothing a calculation reads is a copy kept beside the inputs: a project built field by field
// from what the forms hold computes what the forms show, for every scenario and for random
// entries made through the forms.
TEST(RoomModel, AModelBuiltFieldByFieldComputesWhatTheFormsShow) {
    std::mt19937 rng(20261207);
    const std::vector<std::string> files = projectFiles();
    std::vector<const FieldSpec*> entries;
    for (const FieldSpec& f : FieldCatalogue())
        if (f.control != "Name_txt") entries.push_back(&f);
    for (int run = 0; run < 240; ++run) {
        const std::string& file = files[run % files.size()];
        ProgramHarness h{ProgramHarness::Shipped{}};
        h.confirm();
        h.ui.fileNames.push_back(file);
        ASSERT_TRUE(OpenCommand(h.program(), h.ui)) << file;
        const int count = run < static_cast<int>(files.size()) ? 0 : 1 + static_cast<int>(rng() % 6);
        std::string made;
        for (int i = 0; i < count; ++i) {
            const FieldSpec& f = *entries[rng() % entries.size()];
            made += " " + f.setName();
            EnterAtRandom(h, f, rng);
        }
        const RoomResult alone = ComputeRoom(BuiltFieldByField(h.program().project()), h.program().data());
        const std::string where = file + made;
        for (const LoadComponent& c : LoadComponents())
            EXPECT_EQ(LoadText(c.value(alone.loads)), LoadText(c.value(h.main().results()))) << where << ": " << c.caption;
        EXPECT_EQ(GeneralText(alone.storageCapacity), GeneralText(h.program().session.result.storageCapacity)) << where;
        EXPECT_EQ(alone.cooling.totalHours, h.program().session.result.cooling.totalHours) << where;
    }
}

TEST(RoomModel, CatalogueNamesEveryLineOfTheProjectFile) {
    for (int n = 1; n <= kConfigItemCount; ++n) {
        const FieldSpec* f = FieldOfFileItem(n);
        if (n == kOfferedTasksItem || n == kTempInCellItem) {
            EXPECT_EQ(f, nullptr) << n;
            continue;
        }
        ASSERT_NE(f, nullptr) << n;
        EXPECT_EQ(f->control, ConfigLayout(n).name) << n;
        EXPECT_EQ(f->form == FieldForm::Task, ConfigLayout(n).form == ConfigForm::Task) << n;
    }
}

// Only what the person entered is named after an open: the fans' power the program chose is a
// result, whatever it reads.
TEST(RoomModel, OutOfRangeWarningNamesEntriesOnly) {
    RoomProject p;
    p.ElectroEva_txt = "-5";
    EXPECT_TRUE(FieldsOutOfRange(p).empty());
    p.AutoEva_opt = false;
    EXPECT_EQ(FieldsOutOfRange(p), std::vector<std::string>{"Мощность вентиляторов: -5"});
}

// Every task whose values the reference tables accept (each at the ends of its range, in the
// order room ≤ end ≤ start the editor and the loader ask for) is confirmed by the task dialog.
TEST(RoomModel, EveryTaskTheTablesAcceptIsConfirmed) {
    std::string error;
    auto data = std::make_shared<ReferenceData>(*LoadReferenceData(ShippedDatabasePath(), error));
    auto ends = [](int column) {
        const QuantityRange& r = FindValueRule("Tasks", column)->range;
        return std::vector<double>{r.lowExcluded ? std::nextafter(r.low, r.high) : r.low,
                                   r.highExcluded ? std::nextafter(r.high, r.low) : r.high};
    };
    std::vector<std::string> row = data->Task_array.rows[0];
    std::vector<std::vector<std::string>> tasks;
    for (double cell : ends(TaskColumn::TempCell))
        for (double start : ends(TaskColumn::TempIn))
            for (double end : ends(TaskColumn::TempOut))
                for (double humidity : ends(TaskColumn::Humidity))
                    for (double hours : ends(TaskColumn::CoolTime))
                        for (double velocity : ends(TaskColumn::Velocity)) {
                            if (cell > end || end > start) continue;
                            for (auto [column, v] : {std::pair{TaskColumn::TempCell, cell}, {TaskColumn::TempIn, start},
                                                     {TaskColumn::TempOut, end}, {TaskColumn::Humidity, humidity},
                                                     {TaskColumn::CoolTime, hours}, {TaskColumn::Velocity, velocity}})
                                row[column] = GeneralText(v);
                            tasks.push_back(row);
                        }
    data->Task_array.rows = tasks;
    ASSERT_TRUE(CheckTableValues(data->Task_array, "test", data->Prod_array.rowCount(), error)) << error;
    for (int n = 1; n <= data->Task_array.rowCount(); ++n) {
        RoomProject project;
        TaskDialogState dialog;
        project.task.OfferedTasks = {static_cast<double>(n)};
        InitTask(project, dialog, *data, 0, 0, 0);
        ActivateTask(project);
        const TaskOutcome outcome = ConfirmTask(project, dialog, *data);
        EXPECT_TRUE(outcome.confirmed) << JoinNumberList({data->Task_array.number(TaskColumn::TempCell, n - 1),
                                                          data->Task_array.number(TaskColumn::TempIn, n - 1),
                                                          data->Task_array.number(TaskColumn::TempOut, n - 1)})
                                       << (outcome.notices.empty() ? "" : ": " + outcome.notices[0].text);
    }
    EXPECT_EQ(data->Task_array.rowCount(), 24);
}

}  // namespace
}  // namespace coldroom::test
