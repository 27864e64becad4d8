// The room model against the program that shows it: a project read and computed without any
// window gives what the windows show after opening it, and the field catalogue names what the
// project file keeps.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/load_components.h"
#include "core/numtext.h"
#include "files/project_codec.h"
#include "model/compute_room.h"
#include "model/field_catalogue.h"
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

}  // namespace
}  // namespace coldroom::test
