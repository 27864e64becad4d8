#include "core/shipped_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temp_dir.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;

// A build tree keeps the file beside the program, an installation in ../share/coldroom; the copy
// beside the program wins, and with neither the path beside the program is what an error names.
TEST(ShippedFiles, BesideTheProgramFirstThenTheInstalledShareFolder) {
    struct Case {
        const char* what;
        bool beside, installed;
        const char* expected;  // relative to the prefix
    };
    const Case cases[] = {
        {"build tree", true, false, "bin/Data.dtx"},
        {"installed", false, true, "share/coldroom/Data.dtx"},
        {"both", true, true, "bin/Data.dtx"},
        {"neither", false, false, "bin/Data.dtx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir prefix;
        fs::create_directories(prefix.path() / "bin");
        fs::create_directories(prefix.path() / "share" / "coldroom");
        if (c.beside) std::ofstream(prefix.path() / "bin" / "Data.dtx") << "x";
        if (c.installed) std::ofstream(prefix.path() / "share" / "coldroom" / "Data.dtx") << "x";
        EXPECT_EQ(ShippedFilePath((prefix.path() / "bin").string(), "Data.dtx"),
                  (prefix.path() / c.expected).string());
    }
    EXPECT_EQ(ShippedFilePath("", "Data.dtx"), "Data.dtx");
}

}  // namespace
}  // namespace coldroom
