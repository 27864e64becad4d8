// Saving what was opened and opening it again must settle at once: for every file the program
// accepts, open -> save -> open after a fresh start -> save writes the same bytes twice. Run over
// the test projects and over known.cfg with every item set in turn to the edge values a damaged
// or hand-made file may hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/project_codec.h"
#include "files/project_file.h"
#include "temp_dir.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"

namespace coldroom {
namespace {

class ProjectRoundTrip : public ::testing::Test {
protected:
    ProjectRoundTrip() { harness_.confirm(); }

    // The first and second save of `bytes`, or nothing when the program refuses the file.
    // Whether the program took the file.
    bool expectFixedPoint(const std::string& bytes, const std::string& what) {
        const std::string in = dir_.file("in.cfg"), first = dir_.file("first.cfg"), second = dir_.file("second.cfg");
        std::ofstream(in, std::ios::binary | std::ios::trunc) << bytes;
        if (!run(Open, in)) return false;
        EXPECT_TRUE(run(Save, first)) << what;
        // The next start knows nothing of the project open before.
        RoomProject reopened;
        std::string why;
        EXPECT_TRUE(ReadProject(first, harness_.program().data(), reopened, why)) << what << ": " << why;
        EXPECT_TRUE(WriteConfigFile(second, ProjectItems(reopened), why)) << what << ": " << why;
        EXPECT_EQ(test::ReadBytes(second), test::ReadBytes(first)) << what;
        return true;
    }

    enum Command { Open, Save };
    bool run(Command command, const std::string& path) {
        harness_.ui.fileNames.push_back(path);
        harness_.clearMessages();
        return command == Open ? OpenCommand(harness_.program(), harness_.ui)
                               : SaveAsCommand(harness_.program(), harness_.ui);
    }

    test::ProgramHarness harness_{test::ProgramHarness::Shipped{}};
    test::TempDir dir_;
};

TEST_F(ProjectRoundTrip, SecondSaveEqualsTheFirst) {
    const std::filesystem::path data = COLDROOM_TEST_DATA;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data))
        if (entry.path().extension() == ".cfg") expectFixedPoint(test::ReadBytes(entry.path().string()), entry.path());

    const std::string known = test::ReadBytes((data / "projects/known.cfg").string());
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = known.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(known.substr(at, end - at));
    ASSERT_GE(lines.size(), static_cast<size_t>(kConfigItemCount));
    const char* edges[] = {"1e308", "1.7976931348623157e308", "1e-320", "2147483648", "1.23456789"};
    for (int n = 1; n <= kConfigItemCount; ++n) {
        if (ConfigItemKind(n) == ConfigKind::Flag) continue;
        for (const char* edge : edges) {
            std::vector<std::string> changed = lines;
            changed[static_cast<size_t>(n - 1)] = ConfigItemKind(n) == ConfigKind::Text ? "\"" + std::string(edge) + "\"" : edge;
            std::string bytes;
            for (const auto& line : changed) bytes += line + "\r\n";
            const bool opened = expectFixedPoint(bytes, "line " + std::to_string(n) + " = " + edge);
            // A huge value is kept as the file held it (with a warning), and saved as read; the
            // room temperature's text follows line 5.
            const bool huge = edge != std::string("1e-320") && edge != std::string("1.23456789");
            if (opened && huge && ConfigItemKind(n) == ConfigKind::Text && n != 19) {
                EXPECT_NE(test::ReadBytes(dir_.file("first.cfg")).find("\r\n" + changed[n - 1] + "\r\n"), std::string::npos)
                    << "line " << n << " = " << edge;
            }
        }
    }
    // The room temperature is stored twice; two that disagree settle on one.
    std::vector<std::string> disagree = lines;
    disagree[kTempInCellItem - 1] = "-10";
    disagree[18] = "\"5\"";
    std::string bytes;
    for (const auto& line : disagree) bytes += line + "\r\n";
    expectFixedPoint(bytes, "two room temperatures");
    // A heated floor stored for a frozen room whose task is a warm one: judged once, against
    // the room temperature the window shows.
    std::vector<std::string> heated = lines;
    heated[kTempInCellItem - 1] = "35";
    heated[18] = "\"-35\"";
    heated[71] = "#TRUE#";
    heated[72] = "#TRUE#";
    bytes.clear();
    for (const auto& line : heated) bytes += line + "\r\n";
    expectFixedPoint(bytes, "heated floor at +35 °C");
    EXPECT_NE(test::ReadBytes(dir_.file("first.cfg")).find("\r\n#TRUE#\r\n#FALSE#\r\n"), std::string::npos)
        << "on the ground, not heated";
}

}  // namespace
}  // namespace coldroom
