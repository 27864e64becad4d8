// One room in which every load component is a figure of its own, looked for in every output that
// lists the components: the window, the command line's table and JSON, the calculation note, the
// store's sheet, the chart, and the fixed reports where they have a line. A component added to
// the table and left out of an output fails here, whatever value the other fixtures give it.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "app/calc_output.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "files/project_codec.h"
#include "files/project_file.h"
#include "model/entries.h"
#include "reports/calculation_note.h"
#include "reports/csv_report.h"
#include "reports/html_report.h"
#include "reports/report_model.h"
#include "reports/store_report.h"
#include "temp_dir.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"

namespace coldroom::test {
namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

// The cheese-ripening task (its products breathe) in a room whose six surfaces, door, fans and
// operation all give different figures.
RoomProject Fixture(const ReferenceData& d) {
    RoomProject p = StartProject(d);
    TaskDialogState dialog;
    ChooseTaskGroup(p, dialog, d, MilkTasks());
    ChooseTask(p, dialog, d, 1);  // task 11, "27,28"
    EXPECT_TRUE(ConfirmTask(p, dialog, d).confirmed);
    ActivateRoom(p, false);
    const SetResult set = ApplySettings(
        p, dialog, d,
        {{"optAll_as_one", "0"}, {"NorthOut_opt", "1"}, {"TempSouth_txt", "20"}, {"TempEast_txt", "15"},
         {"TempWest_txt", "25"}, {"TempCeil_txt", "33"}, {"South1_D_txt", "80"}, {"FloorGrunt_Opt", "1"},
         {"Door_Special_opt", "1"}, {"Electro_txt", "12"}, {"NofPeople_txt", "2"}, {"Produkt.Load_prod_txt", "20"},
         {"Produkt.Oborot_Prod_txt", "30"}, {"Produkt.Tin_Prod_txt", "16"}, {"Cycle_txt", "80"}});
    EXPECT_EQ(set.status, SetStatus::Done) << set.name << ": " << set.message;
    return p;
}

TEST(EveryComponent, IsInEveryOutputThatListsTheComponents) {
    ProgramHarness h{ProgramHarness::Shipped{}};
    h.confirm();
    const ReferenceData& d = h.program().data();
    TempDir dir;
    const std::string file = (dir.path() / "every.cfg").string();
    std::string error;
    ASSERT_TRUE(WriteConfigFile(file, ProjectItems(Fixture(d)), error)) << error;
    h.ui.fileNames.push_back(file);
    ASSERT_TRUE(OpenCommand(h.program(), h.ui));
    const RoomProject& p = h.program().project();
    const RoomResult& r = h.program().session.result;

    // Every component a figure of its own, none zero, so that finding its text means something.
    std::set<std::string> seen;
    for (const LoadComponent& c : LoadComponents()) {
        const LoadValue& v = c.value(r.loads);
        ASSERT_TRUE(v.defined && v.watts != 0) << c.caption;
        EXPECT_TRUE(seen.insert(LoadText(v)).second) << c.caption << " repeats " << LoadText(v);
    }

    std::ostringstream table, json;
    PrintTable(table, h.program(), 10);
    PrintJson(json, h.program(), h.ui);
    const ReportHeading heading{"Проверка", "Исполнитель", "07.12.2026"};
    const CalculationNote note = BuildCalculationNote(p, r, d, heading, 10);
    const std::string noteHtml = CalculationNoteHtml(note);
    Store store;
    store.rooms.push_back({file});
    const std::vector<StoreRoomData> rooms{{true, {}, p, r}};
    const std::string sheet = joined(StoreTextLines(MakeStoreSheet(store, rooms, ComputeStoreLoads(store, rooms), {})));
    const ReportModel model = BuildReportModel(p, r, d, heading);
    const std::string reports = joined(HtmlReportLines(model)) + joined(CsvReportLines(model));
    std::set<std::string> charted;
    for (const ChartedLoad& bar : ChartedLoads(r.loads)) charted.insert(LoadText(bar.value));

    for (const LoadComponent& c : LoadComponents()) {
        SCOPED_TRACE(c.caption);
        const std::string v = LoadText(c.value(r.loads));
        // The fans' field shows their power, and so do the JSON and the table, which list the
        // fields; their heat is in the operation and in the other outputs.
        if (!c.control.empty()) {
            EXPECT_EQ(h.main().controls().get<TextBox>(c.control)->text, v) << "window";
        }
        if (c.id != LoadId::Fans) {
            EXPECT_NE(json.str().find("\"" + v + "\""), std::string::npos) << "JSON";
        }
        if (c.id != LoadId::Fans) {
            EXPECT_NE(table.str().find(" " + v + " Вт"), std::string::npos) << "table";
        }
        ASSERT_NE(note.Find(c.jsonKey), nullptr) << "note";
        EXPECT_EQ(note.Find(c.jsonKey)->value, v) << "note";
        EXPECT_NE(noteHtml.find(v), std::string::npos) << "note page";
        // The store sheet gives whole watts, as the chart does: the fans' heat has a fraction.
        EXPECT_NE(sheet.find(c.id == LoadId::Fans ? WholeText(c.value(r.loads).watts) : v), std::string::npos)
            << "store";
        // The chart draws whole watts, the fans' heat apart from the operation's bar.
        if (c.chartLabel && c.id != LoadId::Operation) {
            EXPECT_EQ(charted.count(WholeText(c.value(r.loads).watts)), 1u) << "chart";
        }
    }
    // The fixed reports have the lines they were given: the ceiling, the floor, the product,
    // the packaging, the operation, the total and the capacity.
    for (LoadId id : {LoadId::Ceiling, LoadId::Floor, LoadId::Product, LoadId::Packaging, LoadId::Operation,
                      LoadId::Total, LoadId::Capacity})
        EXPECT_NE(reports.find(LoadText(LoadComponentOf(id).value(r.loads))), std::string::npos) << LoadCaption(id);
}

}  // namespace
}  // namespace coldroom::test
