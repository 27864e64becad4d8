#include <gtest/gtest.h>

#include "qt_test_app.h"

#include "io/atomic_file.h"
#include "io/failing_file_system.h"
#include "reports/qt_canvas.h"
#include "reports/report_fixture.h"

namespace coldroom {
namespace {

using testing::GoldenModel;
using testing::ReadBytes;
using testing::TempDir;

// A disk that fills up while the page is written, or reports it only at close, must leave the
// old PDF whole and say why; a truncated file must never take its place.
TEST(ReportPdf, AFullDiskKeepsTheOldFileAndSaysSo) {
    test::TestApplication();
    TempDir dir;
    const std::string path = dir.file("report.pdf");
    std::string error;
    ASSERT_TRUE(WritePrintedReportPdf(path, GoldenModel(true), error)) << error;
    const std::string pdf = ReadBytes(path);
    using Step = test::FailingFileSystem::Step;
    for (Step step : {Step::Write, Step::NoSpace, Step::Close}) {
        test::FailingFileSystem failing(step);
        UseFileSystem use(failing);
        EXPECT_FALSE(WritePrintedReportPdf(path, GoldenModel(false), error));
        EXPECT_EQ(error, "Не удается записать файл «" + path + "»: нет места на диске");
        EXPECT_EQ(ReadBytes(path), pdf);
        EXPECT_EQ(dir.entries(), 1);
    }
}

}  // namespace
}  // namespace coldroom
