#include "model/task_derived.h"
#include "files/project_file.h"
#include "model/field_catalogue.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "core/numtext.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "io/failing_file_system.h"
#include "io/file_system.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"
#include "ui/project_io.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;
using test::ProgramHarness;

// ---- The whole visible and public state of a program, flattened for comparison ----------

using Snapshot = std::map<std::string, std::string>;

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& i : items) out += i + "|";
    return out;
}

void addControls(Snapshot& s, const std::string& prefix, const ControlRegistry& registry) {
    for (const auto& entry : registry.all()) {
        // Named copies: a lambda cannot capture a structured binding before clang 16.
        const auto& name = entry.first;
        const auto& ref = entry.second;
        std::string v;
        std::visit(
            [&](auto* c) {
                using C = std::remove_pointer_t<decltype(c)>;
                v = c->enabled ? "on " : "off ";
                if constexpr (std::is_same_v<C, TextBox> || std::is_same_v<C, Caption>) v += c->text;
                if constexpr (std::is_same_v<C, Button>) v += c->caption;
                if constexpr (std::is_same_v<C, ListBox>) {
                    v += std::to_string(c->index()) + " «" + c->text() + "»";
                    s[prefix + name + "#items"] = joined(c->items);
                }
                if constexpr (std::is_same_v<C, CheckBox> || std::is_same_v<C, OptionButton>)
                    v += std::to_string(c->value());
            },
            ref);
        s[prefix + name] = v;
    }
}

Snapshot snapshot(Program& p) {
    Snapshot s;
    addControls(s, "", p.main.controls());
    addControls(s, "Produkt.", p.task.controls());
    const TaskValues& t = p.project().task;
    const DerivedTask derived = DeriveTask(t, p.data());
    s["Produkt.productRow"] = std::to_string(derived.productRow);
    s["Produkt.respiration"] = std::to_string(derived.respiration);
    s["Produkt.dailyMassKg"] = GeneralTextSingle(derived.dailyMassKg);
    s["Produkt.hours"] = GeneralTextSingle(derived.hours);
    s["Produkt.RabCoef"] = GeneralTextSingle(t.RabCoef);
    s["Produkt.products"] = JoinNumberList(derived.products);
    for (int k = 0; k < kTaskChecks; ++k)
        s["Produkt.FieldError" + std::to_string(k)] =
            std::to_string(p.session.dialog.FieldError[k]) + p.session.dialog.FieldMessage[k];
    s["TempShapeColour"] = std::to_string(p.main.TempShapeColour[0]);
    s["ResultsProblem"] = p.main.ResultsProblem;
    s["ProjectTitle"] = p.project().ProjectTitle;
    s["OfferedTasks"] = JoinNumberList(t.OfferedTasks);
    s["WallLossTotal"] = LoadText(p.session.result.wallTotal);
    return s;
}

// Lists every key whose value differs, so a failure says what came back wrong.
std::string differences(const Snapshot& expected, const Snapshot& actual) {
    std::string out;
    for (const auto& [key, value] : expected) {
        auto it = actual.find(key);
        std::string got = it == actual.end() ? "<missing>" : it->second;
        if (got != value) out += "  " + key + ": expected [" + value + "] got [" + got + "]\n";
    }
    return out;
}

// ---- Projects entered the way a person enters them ------------------------------------------

using ProjectScript = std::function<void(ProgramHarness&)>;

void changeTask(ProgramHarness& h, Button TaskForm::*group, int task, int product, int packing,
                const std::function<void(TaskForm&)>& more = {}) {
    h.main().Change_btn.onClick();
    (h.task().*group).onClick();
    h.task().Task_cmb.setIndex(task);
    h.task().Produkt_cmb.setIndex(product);
    h.task().Packing_cmb.setIndex(packing);
    if (more) more(h.task());
    h.confirm();
}

const auto enter = ProgramHarness::enter;

// A freezer whose six surfaces all differ, heated floor on the ground, manual fans,
// special door conditions.
void freezerWallsDiffer(ProgramHarness& h) {
    changeTask(h, &TaskForm::btn_Meat, 1, 3, 2, [](TaskForm& t) {
        enter(t.Load_prod_txt, "100");
        enter(t.Oborot_Prod_txt, "30");
    });
    MainForm& m = h.main();
    m.optAll_as_one.setValue(0);
    for (int s = 0; s < 6; ++s) {
        for (int l = 0; l < 3; ++l) {
            enter(*m.thickness[s][l], std::to_string(100 - 10 * s - 30 * l + 1));
            m.material[s][l]->setIndex((s * 3 + l * 5) % 28);
        }
    }
    m.NorthOut_opt.setValue(true);
    m.SouthOut_opt.setValue(true);
    m.NorthSurf_cmb.setIndex(3);
    m.SouthSurf_cmb.setIndex(4);
    m.EastSurf_cmb.setIndex(5);
    m.WestSurf_cmb.setIndex(6);
    m.CeilOut_opt.setValue(true);
    m.CeilSurf_cmb.setIndex(7);
    m.FloorGrunt_Opt.setValue(true);
    m.FloorHeat_Opt.setValue(true);
    m.ManualEva_opt.setValue(true);
    enter(m.ElectroEva_txt, "350");
    m.Door_Special_opt.setValue(true);
    m.TypeOfCurtain_cmb.setIndex(2);
    enter(m.Door_W_txt, "3");
    enter(m.Door_H_txt, "2.5");
    enter(m.Door_Open_txt, "4");
    enter(m.TempOut_txt, "35");
    enter(m.HumidOut_txt, "60");
    enter(m.NofPeople_txt, "3");
    enter(m.TimePeople_txt, "6");
    enter(m.Electro_txt, "12");
    enter(m.Lifter_txt, "5");
    m.optAll_as_one.setValue(1);  // the file does not hold the two check boxes
}

// The ripening cheese: respiration heat, a roof, a floor above a warmer room.
void ripeningCheese(ProgramHarness& h) {
    changeTask(h, &TaskForm::btn_Milk, 1, 1, 4, [](TaskForm& t) {
        enter(t.Load_prod_txt, "20");
        enter(t.Oborot_Prod_txt, "10");
    });
    MainForm& m = h.main();
    m.Location_cmb.setIndex(10);
    enter(m.TempNord_txt, "18");
    enter(m.TempCeil_txt, "22");
    enter(m.TempFloor_txt, "5");
    enter(m.Length_txt, "12");
    enter(m.Width_txt, "6");
    enter(m.Height_txt, "3");
    m.CeilOut_opt.setValue(true);
    m.EastOut_opt.setValue(true);
    m.TypeOfCell_cmb.setIndex(3);
    enter(m.Electro_txt, "2.5");
}

// Frozen fish under a title of the user's own, with a typed time and air speed.
void fishOwnTitle(ProgramHarness& h) {
    changeTask(h, &TaskForm::btn_Fish, 2, 4, 1, [](TaskForm& t) {
        enter(t.Real_time_txt, "12");
        enter(t.Velocity_txt, "1,5");
        enter(t.HumidIn_txt, "90");
        enter(t.Load_prod_txt, "50");
        enter(t.Oborot_Prod_txt, "12.5");
        t.Task_cmb.setText("Камера №3 «Север» — рыба");
    });
    MainForm& m = h.main();
    enter(m.Volume_txt, "300");
    m.Location_cmb.setIndex(60);
    m.FloorGrunt_Opt.setValue(true);
    m.WestOut_opt.setValue(true);
    m.TypeOfCell_cmb.setIndex(1);
    enter(m.Nord1_D_txt, "1,5");
}

// Ice cream with no packaging and no location chosen.
void iceCreamNothingChosen(ProgramHarness& h) {
    changeTask(h, &TaskForm::btn_Ice, 2, 0, -1);
    MainForm& m = h.main();
    m.Location_cmb.setIndex(-1);
    m.FloorGrunt_Opt.setValue(true);
    enter(m.Ceil2_D_txt, "20");
    m.Ceil2_Mt_cmb.setIndex(27);
    m.Door_Special_opt.setValue(true);
    m.TypeOfCurtain_cmb.setIndex(1);
}

struct Scenario {
    const char* name;
    ProjectScript script;
};

const Scenario kScenarios[] = {
    {"start-up project", [](ProgramHarness&) {}},
    {"freezer, walls differ", freezerWallsDiffer},
    {"ripening cheese", ripeningCheese},
    {"fish, own title", fishOwnTitle},
    {"ice cream, nothing chosen", iceCreamNothingChosen},
};

class ProjectFile : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return temp_.file(name); }

    // A started program with the task dialog confirmed and `script` entered.
    static std::unique_ptr<ProgramHarness> session(const ProjectScript& script = {}) {
        auto h = std::make_unique<ProgramHarness>(ProgramHarness::Shipped{});
        h->confirm();
        if (script) script(*h);
        return h;
    }
    static bool open(ProgramHarness& h, const std::string& file) {
        h.ui.fileNames.push_back(file);
        return OpenCommand(h.program(), h.ui);
    }
    static bool save(ProgramHarness& h, const std::string& file) {
        h.ui.fileNames.push_back(file);
        return SaveAsCommand(h.program(), h.ui);
    }
    static std::string read(const std::string& p) {
        std::ifstream f(p, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
    static void write(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    // The file's lines as UTF-8, without their CR LF.
    static std::vector<std::string> lines(const std::string& p) {
        std::string text, error;
        EXPECT_TRUE(Cp1251ToUtf8(read(p), text, error)) << error;
        std::vector<std::string> out;
        for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            out.push_back(text.substr(pos, end - pos));
        return out;
    }
    static std::string encode(const std::vector<std::string>& ls) {
        std::string bytes, error;
        EXPECT_TRUE(Utf8ToCp1251(JoinCrLf(ls), bytes, error)) << error;
        return bytes;
    }

    test::TempDir temp_;
    const fs::path& dir_ = temp_.path();
};

// Saved and opened again, every project comes back whole: every control of both windows,
// every public value, every result. Each is opened over a different project, so nothing
// of the project open before may survive.
TEST_F(ProjectFile, RoundTripRestoresEveryFieldAndResult) {
    const int n = static_cast<int>(std::size(kScenarios));
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(kScenarios[i].name);
        auto original = session(kScenarios[i].script);
        original->main().Activate();  // what the window shows when the user comes back to it
        const std::string file = path("project" + std::to_string(i) + ".cfg");
        ASSERT_TRUE(save(*original, file));

        auto reopened = session(kScenarios[(i + 1) % n].script);
        reopened->clearMessages();
        ASSERT_TRUE(open(*reopened, file));
        for (const auto& m : reopened->ui.messages)
            EXPECT_NE(m.icon, MsgIcon::Critical) << m.text;

        Snapshot expected = snapshot(original->program());
        Snapshot actual = snapshot(reopened->program());
        // The file keeps the chosen product as the position to restore, by design.
        expected.erase("Produkt.Prod_in_list");
        // The reader derives the tonnes with one decimal; a dialog never given a turnover
        // still shows its initial "0".
        for (const char* key : {"Produkt.Oborot_tonn_txt", "Oborot_lbl"})
            if (expected[key] == "on 0") expected[key] = "on 0.0";
        EXPECT_EQ(differences(expected, actual), "");

        const std::string again = path("again" + std::to_string(i) + ".cfg");
        ASSERT_TRUE(save(*reopened, again));
        EXPECT_EQ(read(again), read(file));
    }
}

// The file's own bytes for a known project, worked out line by line from the format.
TEST_F(ProjectFile, WritesTheKnownProjectByteForByte) {
    auto h = session([](ProgramHarness& h) {
        MainForm& m = h.main();
        enter(m.Length_txt, "12");
        m.Location_cmb.setIndex(10);
        // The file's climate as worked out, whatever the shipped town's design temperature.
        for (auto* t : {&m.TempNord_txt, &m.TempSouth_txt, &m.TempEast_txt, &m.TempWest_txt, &m.TempCeil_txt,
                        &m.TempOut_txt})
            enter(*t, "26");
        enter(m.Nord2_D_txt, "50");
        m.Nord2_Mt_cmb.setIndex(3);
        m.SouthOut_opt.setValue(true);
        m.CeilOut_opt.setValue(true);
        m.CeilSurf_cmb.setIndex(1);
        m.FloorGrunt_Opt.setValue(true);
        m.ManualEva_opt.setValue(true);
        enter(m.ElectroEva_txt, "350");
        m.Door_Special_opt.setValue(true);
        m.TypeOfCurtain_cmb.setIndex(2);
        enter(m.Cycle_txt, "80");
        enter(m.NofPeople_txt, "2");
    });
    const std::string file = path("known.cfg");
    ASSERT_TRUE(save(*h, file));
    const std::string golden = read(COLDROOM_TEST_DATA "/projects/known.cfg");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(read(file), golden);

    std::vector<std::string> ls = lines(file);
    ASSERT_EQ(ls.size(), 87u);
    EXPECT_EQ(ls[0], "\"1,2,3,4\"");
    EXPECT_EQ(ls[12], "\"Охлаждение мяса в полутушах и четвертинах\"");
    EXPECT_EQ(ls[63], "#FALSE#");   // the south wall is outer
    EXPECT_EQ(ls[71], "#TRUE#");    // the floor on the ground
    EXPECT_EQ(ls[76], "\"350\"");   // manual fans
}

TEST_F(ProjectFile, OpensTheKnownProjectAsStored) {
    auto h = session(ripeningCheese);
    ASSERT_TRUE(open(*h, COLDROOM_TEST_DATA "/projects/known.cfg"));
    MainForm& m = h->main();
    EXPECT_EQ(m.Name_txt.text, "Охлаждение мяса в полутушах и четвертинах");
    EXPECT_EQ(h->task().Task_cmb.text(), m.Name_txt.text);
    EXPECT_EQ(m.Location_cmb.index(), 10);
    // The location is applied first; the stored temperatures come after it.
    EXPECT_EQ(m.TempNord_txt.text, "26");
    EXPECT_EQ(m.TempOut_txt.text, "26");
    EXPECT_EQ(m.HumidOut_txt.text, "57");
    EXPECT_TRUE(m.SouthOut_opt.value());
    EXPECT_TRUE(m.NorthIns_opt.value());
    EXPECT_TRUE(m.FloorGrunt_Opt.value());
    EXPECT_TRUE(m.FloorCold_Opt.value());
    EXPECT_FALSE(m.FloorHeat_Opt.enabled);  // a room at 0 °C cannot have a heated floor
    EXPECT_FALSE(m.TempFloor_txt.enabled);
    EXPECT_TRUE(m.ManualEva_opt.value());
    EXPECT_EQ(m.ElectroEva_txt.text, "350");
    EXPECT_TRUE(m.Door_Special_opt.value());
    EXPECT_EQ(m.Cycle_txt.text, "80");
    EXPECT_EQ(m.Capacity_need.text, WholeText(LeadingNumber(m.Total_poteri.text) * 100 / 80));
    EXPECT_EQ(m.Nord2_D_txt.text, "50");
    EXPECT_TRUE(m.Nord2_Mt_cmb.enabled);
    EXPECT_FALSE(m.Nord3_Mt_cmb.enabled);
    // The cheese project before it leaves no respiration behind.
    EXPECT_FALSE(h->program().session.result.task.respiration);
    EXPECT_FALSE(m.BreathLoss_txt.enabled);
    EXPECT_EQ(h->program().project().ProjectTitle, m.Name_txt.text);
}

// A typed work cycle is part of the project: it survives the activation after opening.
TEST_F(ProjectFile, TypedCycleSurvivesTheOpen) {
    auto h = session(freezerWallsDiffer);
    enter(h->main().Cycle_txt, "66.5");
    const std::string capacity = h->main().Capacity_need.text;
    const std::string file = path("cycle.cfg");
    ASSERT_TRUE(save(*h, file));
    auto other = session();
    ASSERT_TRUE(open(*other, file));
    EXPECT_EQ(other->main().Cycle_txt.text, "66.5");
    EXPECT_EQ(other->main().Capacity_need.text, capacity);
}

TEST_F(ProjectFile, FanItemZeroMeansAutomatic) {
    struct Case { const char* manualText; bool manual; const char* line77; bool reopensManual; };
    const Case cases[] = {
        {"350", false, "\"0\"", false},  // automatic: "0" whatever the field holds
        {"350", true, "\"350\"", true},
        {"0", true, "\"0\"", false},     // fans set by hand to 0 come back automatic
        {"0.5", true, "\"0.5\"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.manualText);
        auto h = session();
        h->main().ManualEva_opt.setValue(true);
        enter(h->main().ElectroEva_txt, c.manualText);
        if (!c.manual) h->main().AutoEva_opt.setValue(true);
        const std::string file = path("fans.cfg");
        ASSERT_TRUE(save(*h, file));
        EXPECT_EQ(lines(file)[76], c.line77);
        auto other = session(freezerWallsDiffer);  // manual fans before the open
        ASSERT_TRUE(open(*other, file));
        EXPECT_EQ(other->main().ManualEva_opt.value(), c.reopensManual);
        EXPECT_EQ(other->main().AutoEva_opt.value(), !c.reopensManual);
        EXPECT_EQ(other->main().ElectroEva_txt.enabled, c.reopensManual);
        if (c.reopensManual) {
            EXPECT_EQ(other->main().ElectroEva_txt.text, c.manualText);
        }
    }
}

// Forms the reader accepts beyond what the writer writes, and values taken as stored.
TEST_F(ProjectFile, ReaderAcceptsTheWrittenFormsAndTakesTextsAsStored) {
    const std::vector<std::string> known = lines(COLDROOM_TEST_DATA "/projects/known.cfg");
    struct Case {
        const char* name;
        std::function<void(std::vector<std::string>&)> edit;
        std::function<void(ProgramHarness&)> check;
        bool lineFeedsOnly = false;
    };
    const Case cases[] = {
        {"number without leading zero", [](auto& l) { l[4] = ".5"; },
         [](ProgramHarness& h) { EXPECT_EQ(h.program().project().task.TempIn_txt, "0.5"); }},
        {"unset number", [](auto& l) { l[4] = ""; },
         [](ProgramHarness& h) { EXPECT_EQ(h.program().project().task.TempIn_txt, "0"); }},
        {"out-of-range text shown as stored",
         [](auto& l) { l[13] = "\"-5\""; l[73] = "\"250\""; },
         [](ProgramHarness& h) {
             EXPECT_EQ(h.main().Length_txt.text, "-5");
             EXPECT_EQ(h.main().Cycle_txt.text, "250");
             for (const auto& m : h.ui.messages) EXPECT_NE(m.title, kInputErrorTitle) << m.text;
         }},
        {"nothing chosen", [](auto& l) { l[17] = "-1"; l[2] = "-1"; },
         [](ProgramHarness& h) {
             EXPECT_EQ(h.main().Location_cmb.index(), -1);
             EXPECT_EQ(h.task().Packing_cmb.index(), -1);
         }},
        {"turnover derived", [](auto& l) { l[7] = "\"100\""; l[8] = "\"30\""; },
         [](ProgramHarness& h) {
             EXPECT_EQ(h.task().Oborot_tonn_txt.text, "30.0");
             EXPECT_EQ(h.program().session.result.task.dailyMassKg, 30000.0f);
         }},
        {"lines without CR, blank lines after the last item",
         [](auto& l) { l.push_back(""); l.push_back("  "); },
         [](ProgramHarness& h) { EXPECT_EQ(h.main().Cycle_txt.text, "80"); }, true},
        {"cheese task restores respiration", [](auto& l) { l[0] = "\"10,11,12,13,14\""; l[3] = "1"; l[1] = "1"; },
         [](ProgramHarness& h) {
             EXPECT_TRUE(h.program().session.result.task.respiration);
             EXPECT_TRUE(h.main().BreathLoss_txt.enabled);
         }},
        {"heated floor at a freezing room",
         [](auto& l) { l[4] = "-20"; l[18] = "\"-20\""; l[72] = "#TRUE#"; },
         [](ProgramHarness& h) {
             EXPECT_TRUE(h.main().FloorHeat_Opt.value());
             EXPECT_TRUE(h.main().FloorHeat_Opt.enabled);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> ls = known;
        c.edit(ls);
        std::string bytes = encode(ls);
        if (c.lineFeedsOnly) {
            std::string lf;
            for (char ch : bytes)
                if (ch != '\r') lf += ch;
            bytes = lf;
        }
        const std::string file = path("accepted.cfg");
        write(file, bytes);
        auto h = session();
        h->clearMessages();
        ASSERT_TRUE(open(*h, file));
        c.check(*h);
    }
}

// The file format alone, without a program: read and written again, a file comes back byte
// for byte.
TEST_F(ProjectFile, CodecRewritesAFileByteForByte) {
    const std::string known = COLDROOM_TEST_DATA "/projects/known.cfg";
    std::vector<ConfigItem> items;
    std::string why;
    ASSERT_TRUE(ReadConfigFile(known, items, why)) << why;
    ASSERT_TRUE(WriteConfigFile(path("copy.cfg"), items, why)) << why;
    EXPECT_EQ(read(path("copy.cfg")), read(known));
}

// A file that cannot be read leaves the project exactly as it was and says so.
TEST_F(ProjectFile, ReadFailureLeavesTheProjectUntouched) {
    const std::vector<std::string> known = lines(COLDROOM_TEST_DATA "/projects/known.cfg");
    auto edited = [&](const std::function<void(std::vector<std::string>&)>& edit) {
        std::vector<std::string> ls = known;
        edit(ls);
        return encode(ls);
    };
    std::string tooManyTasks = "\"1";
    for (int i = 0; i < 61; ++i) tooManyTasks += ",1";
    tooManyTasks += "\"";
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);

    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"empty file", ""},
        {"ends early", edited([](auto& l) { l.pop_back(); })},
        {"one line", "\"1,2,3,4\"\r\n"},
        {"too long", edited([](auto& l) { l.push_back("\"extra\""); })},
        {"bad number", edited([](auto& l) { l[4] = "minus five"; })},
        {"bad flag", edited([](auto& l) { l[61] = "#YES#"; })},
        {"lower-case flag", edited([](auto& l) { l[61] = "#true#"; })},
        {"text without quotes", edited([](auto& l) { l[13] = "12"; })},
        {"quote inside a text", edited([](auto& l) { l[13] = "\"1\"2\""; })},
        {"position not a number", edited([](auto& l) { l[17] = "\"10\""; })},
        {"position beyond the locations", edited([](auto& l) { l[17] = "77"; })},
        {"position beyond a material list", edited([](auto& l) { l[43] = "28"; })},
        {"position below -1", edited([](auto& l) { l[62] = "-2"; })},
        {"absurd position", edited([](auto& l) { l[77] = "99999999999999999999"; })},
        {"product beyond the task's products", edited([](auto& l) { l[1] = "5"; })},
        {"task beyond the offered tasks", edited([](auto& l) { l[3] = "4"; })},
        {"more than 61 offered tasks", edited([&](auto& l) { l[0] = tooManyTasks; })},
        {"offered task that does not exist", edited([](auto& l) { l[0] = "\"1,2,99\""; })},
        {"offered tasks not numbers", edited([](auto& l) { l[0] = "\"мясо\""; })},
        {"control character", edited([](auto& l) { l[13] = std::string("\"1\0\"", 4); })},
        {"byte outside Windows-1251", std::string("\"\x98\"\r\n")},
        {"binary", binary},
        {"huge", std::string(2 << 20, 'x')},
    };
    auto h = session(freezerWallsDiffer);
    const Snapshot before = snapshot(h->program());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = path("bad.cfg");
        write(file, c.bytes);
        h->clearMessages();
        std::string detail;
        EXPECT_FALSE(OpenProject(h->program(), h->ui, file, &detail));
        EXPECT_FALSE(detail.empty());
        ASSERT_EQ(h->messageCount(), 1u);
        EXPECT_EQ(h->lastMessage().text, "«" + file + "»: " + detail + "\r\n" + kOpenFailedProjectKept);
        EXPECT_EQ(h->lastMessage().title, kAppTitle);
        EXPECT_EQ(h->lastMessage().icon, MsgIcon::Critical);
        EXPECT_EQ(differences(before, snapshot(h->program())), "");
    }

    // What is not a regular file is refused before a byte is read: a device would be read
    // without end, a pipe would wait for ever.
    const std::string notAFile = "это не обычный файл, а устройство или канал";
    struct Place { std::string file, detail; bool swapped = false; };
    std::vector<Place> places = {
        {path("missing.cfg"), "файл не существует"},
        {dir_.string(), "по этому пути находится папка"},
        {path("pipe.cfg"), notAFile},
        {path("pipe.cfg"), notAFile, true},  // put in place of the file after the first look
        {path("sparse.cfg"), ""},
    };
    ASSERT_EQ(::mkfifo(path("pipe.cfg").c_str(), 0600), 0);
    std::ofstream(path("sparse.cfg")).close();
    fs::resize_file(path("sparse.cfg"), std::uintmax_t{1} << 40);
    if (::mknod(path("zero.cfg").c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0)
        places.push_back({path("zero.cfg"), notAFile});
    struct LooksRegular : PosixFileSystem {
        int status(const std::string& p, FileStatus& st) override {
            const int err = PosixFileSystem::status(p, st);
            st.kind = FileStatus::Kind::Regular;
            return err;
        }
    } looksRegular;
    for (const Place& place : places) {
        SCOPED_TRACE(place.file);
        std::optional<UseFileSystem> use;
        if (place.swapped) use.emplace(looksRegular);
        h->clearMessages();
        std::string detail;
        EXPECT_FALSE(OpenProject(h->program(), h->ui, place.file, &detail));
        EXPECT_EQ(detail, place.detail.empty() ? "файл слишком велик для файла конфигурации"
                                               : "не удается прочитать файл «" + place.file + "»: " + place.detail);
        EXPECT_EQ(h->lastMessage().text, "«" + place.file + "»: " + detail + "\r\n" + kOpenFailedProjectKept);
        EXPECT_EQ(differences(before, snapshot(h->program())), "");
    }
}

// The Open command after a failed read recomputes nothing: a work cycle and a title the user
// typed are still there.
TEST_F(ProjectFile, FailedOpenCommandKeepsTypedValues) {
    auto h = session(ripeningCheese);
    enter(h->main().Cycle_txt, "90");
    h->main().Name_txt.text = "Моя камера";
    const Snapshot before = snapshot(h->program());
    for (const std::string& file : {std::string(), path("missing.cfg")}) {
        EXPECT_FALSE(open(*h, file));
        EXPECT_EQ(differences(before, snapshot(h->program())), "");
    }
}

TEST_F(ProjectFile, EmptyPathIsNoFileChosen) {
    auto h = session(fishOwnTitle);
    const Snapshot before = snapshot(h->program());
    h->clearMessages();
    EXPECT_FALSE(OpenProject(h->program(), h->ui, ""));
    EXPECT_FALSE(SaveProject(h->program(), h->ui, ""));
    ASSERT_EQ(h->messageCount(), 2u);
    for (const auto& m : h->ui.messages) {
        EXPECT_EQ(m.text, kNoFileChosen);
        EXPECT_EQ(m.title, kAppTitle);
        EXPECT_EQ(m.icon, MsgIcon::Information);
    }
    EXPECT_EQ(differences(before, snapshot(h->program())), "");
    EXPECT_TRUE(fs::is_empty(dir_));
}

// Texts the format cannot carry are refused before anything is written, naming the field.
TEST_F(ProjectFile, SaveRefusesUnstorableTexts) {
    struct Case { const char* field; std::string text; const char* expected; };
    const Case cases[] = {
        {"Name_txt", "Камера \"Север\"",
         "Поле «Название задачи» содержит кавычку (\"), которую нельзя сохранить в файле конфигурации."},
        {"Length_txt", "1\r\n2", "Поле «Длина, м» содержит перевод строки, который нельзя сохранить в файле конфигурации."},
        {"Door_W_txt", "2 ☃",
         "Поле «Ширина двери» содержит символ «☃», который нельзя сохранить в файле конфигурации "
         "(кодировка Windows-1251)."},
    };
    const std::string file = path("kept.cfg");
    write(file, "the file that was there");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        auto h = session();
        FindField(c.field, FieldForm::Main)->textOf(h->program().project()) = c.text;
        h->clearMessages();
        EXPECT_FALSE(save(*h, file));
        ASSERT_EQ(h->messageCount(), 1u);
        EXPECT_EQ(h->lastMessage().text, c.expected);
        EXPECT_EQ(h->lastMessage().icon, MsgIcon::Critical);
        EXPECT_EQ(read(file), "the file that was there");
    }
    auto h = session();
    h->program().project().task.Tin_Prod_txt = "\"";
    EXPECT_FALSE(save(*h, file));
    EXPECT_NE(h->lastMessage().text.find("«Начальная Т продукта»"), std::string::npos);
}

// A save that fails on the way keeps the file that was there and says why.
TEST_F(ProjectFile, FailedSaveKeepsTheOldFile) {
    const std::string file = path("project.cfg");
    auto h = session(ripeningCheese);
    ASSERT_TRUE(save(*h, file));
    const std::string saved = read(file);
    for (auto step : test::FailingFileSystem::kAllSteps) {
        SCOPED_TRACE(static_cast<int>(step));
        auto other = session(freezerWallsDiffer);
        other->clearMessages();
        test::FailingFileSystem failing(step);
        UseFileSystem use(failing);
        EXPECT_FALSE(SaveProject(other->program(), other->ui, file));
        ASSERT_EQ(other->messageCount(), 1u);
        EXPECT_EQ(other->lastMessage().icon, MsgIcon::Critical);
        EXPECT_EQ(other->lastMessage().text.rfind("Конфигурация не сохранена.", 0), 0u) << other->lastMessage().text;
        EXPECT_NE(other->lastMessage().text.find(file), std::string::npos);
        EXPECT_EQ(read(file), saved);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);  // no temporary left
    }
    EXPECT_FALSE(SaveProject(h->program(), h->ui, path("no-such-folder/project.cfg")));
    EXPECT_EQ(h->lastMessage().icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace coldroom
