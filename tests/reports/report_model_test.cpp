// The report model against the windows: built from a project and its result alone, it shows
// every value as the main window shows it after opening that project.
#include "reports/report_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/load_components.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"

namespace coldroom {
namespace {

using test::ProgramHarness;

TEST(ReportModel, ShowsWhatTheMainWindowShows) {
    std::vector<std::string> files{std::string(COLDROOM_TEST_DATA) + "/projects/known.cfg"};
    for (const auto& e : std::filesystem::directory_iterator(std::string(COLDROOM_TEST_DATA) + "/scenarios"))
        files.push_back((e.path() / "project.cfg").string());
    for (const std::string& file : files) {
        ProgramHarness h{ProgramHarness::Shipped{}};
        h.confirm();
        h.ui.fileNames.push_back(file);
        ASSERT_TRUE(OpenCommand(h.program(), h.ui)) << file;
        const MainForm& w = h.main();
        const RoomResult& result = h.program().session.result;
        const ReportModel m = BuildReportModel(h.program().project(), result, h.program().data(), {"П", "А", "Д"});

        const std::pair<const ReportLine*, std::string> shown[] = {
            {&m.length, w.Length_txt.text}, {&m.width, w.Width_txt.text}, {&m.height, w.Height_txt.text},
            {&m.volume, w.Volume_txt.text}, {&m.roomTemperature, w.TempIn_txt.text},
            {&m.product, w.TypeOfProduct_lbl.text}, {&m.loading, w.Loading_lbl.text},
            {&m.turnover, w.Oborot_lbl.text}, {&m.productStart, w.TempIn_lbl.text},
            {&m.productEnd, w.TempEnd_lbl.text}, {&m.airSpeed, w.AirSpeed_lbl.text},
            {&m.packaging, w.Tara_lbl.text}, {&m.requestedTime, w.TimeReal_lbl.text},
            {&m.shortestTime, w.TimeMin_lbl.text}, {&m.location, w.Location_cmb.text()},
            {&m.roomType, w.TypeOfCell_cmb.text()}, {&m.doorHeight, w.Door_H_txt.text},
            {&m.doorWidth, w.Door_W_txt.text}, {&m.doorOpen, w.Door_Open_txt.text},
            {&m.curtain, w.TypeOfCurtain_cmb.text()}, {&m.outsideTemperature, w.TempOut_txt.text},
            {&m.outsideHumidity, w.HumidOut_txt.text}, {&m.cycle, w.Cycle_txt.text},
            {&m.equipment, w.Electro_txt.text}, {&m.lifter, w.Lifter_txt.text},
            {&m.fanPower, w.ElectroEva_txt.text}, {&m.floor, w.Floor_Poteri_txt.text},
            {&m.ceiling, w.Ceil_Poteri_txt.text}, {&m.productLoad, w.Produk_poteri.text},
            {&m.packagingLoad, w.Tara_poteri.text}, {&m.operation, w.Exp_Poteri.text},
            {&m.total, w.Total_poteri.text}, {&m.capacity, w.Capacity_need.text},
        };
        for (const auto& [line, text] : shown) EXPECT_EQ(line->value, text) << file << ": " << line->label;
        const TextBox* sideTemps[kSurfaceCount] = {&w.TempNord_txt, &w.TempSouth_txt, &w.TempEast_txt,
                                                   &w.TempWest_txt, &w.TempCeil_txt,  &w.TempFloor_txt};
        for (int s = 0; s < kSurfaceCount; ++s) {
            EXPECT_EQ(m.sideTemperature[s].value, sideTemps[s]->text) << file;
            for (int l = 0; l < 3; ++l) {
                const ListBox& list = *w.material[s][l];
                EXPECT_EQ(m.surfaces[s].material[l], l == 0 || list.enabled ? list.text() : "...") << file;
                EXPECT_EQ(m.surfaces[s].thickness[l], w.thickness[s][l]->text) << file;
            }
        }
        EXPECT_EQ(m.walls.value, LoadText(result.wallTotal)) << file;
        EXPECT_EQ(m.ceilingIsSlab, w.CeilIns_opt.value()) << file;
        EXPECT_EQ(m.floorHeated, w.FloorHeat_Opt.value()) << file;
        EXPECT_EQ(m.floorOnGround, w.FloorGrunt_Opt.value()) << file;
        EXPECT_EQ(m.standardDoors, w.Door_Standard_opt.value()) << file;
    }
}

TEST(ReportModel, PeopleLoadMultipliesTheLeadingNumbers) {
    struct Case { const char* people; const char* hours; const char* load; } cases[] = {
        {"3", "8", "24"}, {"2.5", "4", "10"}, {"", "8", "0"}, {"3 чел", "8ч", "24"},
        {"1,5", "2", "2"}, {"0.1", "3", "0.3"}, {"-2", "8", "-16"},
    };
    for (const auto& c : cases) {
        RoomProject p;
        p.NofPeople_txt = c.people;
        p.TimePeople_txt = c.hours;
        EXPECT_EQ(PeopleLoadText(p), c.load) << c.people << " x " << c.hours;
    }
}

TEST(ReportModel, TheDateIsDayMonthYearWhateverTheLocale) {
    const std::string date = ShortDateToday();
    ASSERT_EQ(date.size(), 10u) << date;
    for (size_t i = 0; i < date.size(); ++i) EXPECT_EQ(date[i] == '.', i == 2 || i == 5) << date;
}

}  // namespace
}  // namespace coldroom
