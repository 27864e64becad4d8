// Entries by name and parametric studies, against the same program driven through its forms.
#include <gtest/gtest.h>

#include "core/load_components.h"
#include "core/numtext.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"
#include "ui/study/settings.h"
#include "ui/study/study.h"

namespace coldroom::test {
namespace {

const std::string kKnown = std::string(COLDROOM_TEST_DATA) + "/projects/known.cfg";

// The shipped database with the known project open, as the command-line tool opens it.
struct Opened : ProgramHarness {
    Opened() : ProgramHarness(Shipped{}) {
        confirm();
        ui.fileNames.push_back(kKnown);
        if (!OpenCommand(program(), ui)) throw std::runtime_error("known.cfg");
        clearMessages();
    }
    std::map<std::string, std::string> texts() {
        std::map<std::string, std::string> out;
        for (const auto& [name, ref] : main().controls().all())
            if (auto* t = std::get_if<TextBox*>(&ref)) out[name] = (*t)->text;
        return out;
    }
};

void expectSameLoads(const LoadBreakdown& a, const LoadBreakdown& b, const std::string& where) {
    for (const LoadComponent& c : LoadComponents())
        EXPECT_EQ(LoadText(c.value(a)), LoadText(c.value(b))) << where << ": " << c.caption;
}

TEST(Settings, EntriesByNameLeaveWhatTheFormShows) {
    struct Case {
        const char* name;
        const char* text;
        bool refused;
    };
    for (const Case& c : {Case{"Nord1_D_txt", "150,5", false}, Case{"TempIn_txt", "-5", false},
                          Case{"TempIn_txt", "60", true}, Case{"Length_txt", "0", true},
                          Case{"Cycle_txt", "80", false}, Case{"Door_Open_txt", "3", false}}) {
        Opened byName, byForm;
        const SetResult r = ApplySettings(byName.program(), {{c.name, c.text}});
        EXPECT_EQ(r.status == SetStatus::Refused, c.refused) << c.name << "=" << c.text;
        TextBox& box = *byForm.main().controls().get<TextBox>(c.name);
        ProgramHarness::enter(box, c.text);
        if (byForm.messageCount() == 0) box.onLeave();
        EXPECT_EQ(byName.texts(), byForm.texts()) << c.name << "=" << c.text;
        ASSERT_EQ(byName.messageCount(), byForm.messageCount()) << c.name;
        if (c.refused) {
            EXPECT_EQ(r.message, byForm.lastMessage().text);
        }
    }
}

TEST(Settings, UnknownNamesListCloseOnesAndChoicesAreChecked) {
    Opened p;
    SetResult r = ApplySettings(p.program(), {{"Nord1_D", "120"}});
    EXPECT_EQ(r.status, SetStatus::UnknownName);
    EXPECT_EQ(r.closeNames.front(), "Nord1_D_txt");
    EXPECT_EQ(ApplySettings(p.program(), {{"Location_cmb", "100000"}}).status, SetStatus::BadValue);
    EXPECT_EQ(ApplySettings(p.program(), {{"optAll_Temp", "2"}}).status, SetStatus::BadValue);
    EXPECT_EQ(ApplySettings(p.program(), {{"ManualEva_opt", "1"}, {"ElectroEva_txt", "500"}}).status,
              SetStatus::Done);
    EXPECT_EQ(p.main().ElectroEva_txt.text, "500");
    // The result fields take no entries.
    EXPECT_EQ(ApplySettings(p.program(), {{"Total_poteri", "1"}}).status, SetStatus::UnknownName);
}

TEST(Settings, PanelGroupSetsEveryFirstLayerWhateverTheMirroring) {
    for (int mirrored : {0, 1}) {
        Opened p;
        p.main().optAll_as_one.setValue(mirrored);
        ASSERT_EQ(ApplySettings(p.program(), {{kPanelsGroup, "130"}}).status, SetStatus::Done);
        for (int s = 0; s < kSurfaceCount; ++s) EXPECT_EQ(p.main().thickness[s][0]->text, "130") << s << mirrored;
    }
}

TEST(Settings, TaskEntriesGoThroughTheDialog) {
    Opened p;
    ASSERT_EQ(ApplySettings(p.program(), {{"Produkt.Real_time_txt", "12"}}).status, SetStatus::Done);
    EXPECT_EQ(p.main().TimeReal_lbl.text, "12");
    EXPECT_FALSE(p.ui.visible.count(WindowId::TaskDialog));
    EXPECT_EQ(ApplySettings(p.program(), {{"Produkt.Real_time_txt", "0"}}).status, SetStatus::Refused);
}

TEST(Study, AxesParse) {
    StudyAxis a;
    std::string error;
    ASSERT_TRUE(ParseAxis("Panels_D=50:100,5:25", a, error)) << error;
    EXPECT_EQ(a.values(), (std::vector<double>{50, 75, 100}));
    ASSERT_TRUE(ParseAxis("TempOut_txt=30:30.3:0.1", a, error));
    EXPECT_EQ(a.values(), (std::vector<double>{30, 30.1, 30.2, 30.3}));
    for (const char* bad : {"Panels_D", "Panels_D=1:2", "Panels_D=1:2:0", "Panels_D=5:1:1", "X=a:b:c"})
        EXPECT_FALSE(ParseAxis(bad, a, error)) << bad;
}

TEST(Study, PointsEqualTheProjectWithTheValueEnteredAndLeaveItUnchanged) {
    Opened source;
    const auto before = source.texts();
    Study study(source.program().session.data);
    std::string error;
    study.Begin(source.program().project(), source.program().session.dialog);
    const std::vector<StudyAxis> axes{{"TempIn_txt", -60, 0, 15}, {kPanelsGroup, 80, 120, 40}};
    ASSERT_TRUE(study.Check(axes, error));
    const auto points = study.Run(axes);
    ASSERT_EQ(points.size(), 10u);
    for (const StudyPoint& point : points) {
        Opened fresh;
        const SetResult r = ApplySettings(fresh.program(),
                                          {{"TempIn_txt", GeneralText(point.values[0])},
                                           {kPanelsGroup, GeneralText(point.values[1])}});
        const std::string where = GeneralText(point.values[0]) + "/" + GeneralText(point.values[1]);
        // The room temperature of -60 is refused; the point says so and the study goes on.
        EXPECT_EQ(point.refused, point.values[0] == -60) << where;
        EXPECT_EQ(point.refused, r.status == SetStatus::Refused) << where;
        if (!point.refused) expectSameLoads(point.loads, fresh.main().results(), where);
    }
    EXPECT_EQ(source.texts(), before);
    EXPECT_EQ(source.messageCount(), 0u);
    EXPECT_FALSE(study.Check({{"Nord1_D", 1, 2, 1}}, error));
    EXPECT_NE(error.find("Nord1_D_txt"), std::string::npos);
}

}  // namespace
}  // namespace coldroom::test

namespace coldroom::test {
namespace {

// Hostile entries and studies are refused with their reason, never computed wrongly.
TEST(Study, HostileAxesAndValuesAreRefusedWithTheirReason) {
    Opened p;
    for (const char* name : {"Location_cmb", "optAll_Temp", "NorthOut_opt"})
        EXPECT_EQ(ApplySettings(p.program(), {{name, "1e10"}}).status, SetStatus::BadValue) << name;

    StudyAxis a;
    std::string error;
    ASSERT_TRUE(ParseAxis("Length_txt=1e300:3e300:1e300", a, error)) << error;
    EXPECT_EQ(a.values(), (std::vector<double>{1e300, 2e300, 3e300}));
    EXPECT_FALSE(ParseAxis("Length_txt=1:1.000000000001:1e-13", a, error));
    EXPECT_NE(error.find("повторяются"), std::string::npos) << error;

    Study study(p.program().session.data);
    const std::vector<StudyAxis> huge{{"Length_txt", 1, 20000, 1}, {"Width_txt", 1, 20000, 1}};
    EXPECT_FALSE(study.Check(huge, error));
    EXPECT_NE(error.find("400000000"), std::string::npos) << error;
    EXPECT_TRUE(StudyGrid(huge).empty());

    // No point is labelled with a value it was not computed with: one field twice is refused,
    // and a point whose later entry moved an earlier axis's field (the volume moves the length).
    for (const auto& [twice, message] :
         {std::pair{std::vector<StudyAxis>{{"TempIn_txt", -5, 0, 5}, {"TempIn_txt", -20, 0, 10}}, "задан дважды"},
          {std::vector<StudyAxis>{{kPanelsGroup, 50, 100, 50}, {"Floor1_D_txt", 50, 100, 50}}, "поле Floor1_D_txt"}}) {
        EXPECT_FALSE(study.Check(twice, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    study.Begin(p.program().project(), p.program().session.dialog);
    const std::vector<StudyAxis> coupled{{"Length_txt", 3, 4, 1}, {"Volume_txt", 100, 100, 1}};
    ASSERT_TRUE(study.Check(coupled, error)) << error;
    for (const StudyPoint& point : study.Run(coupled)) {
        EXPECT_TRUE(point.refused);
        EXPECT_NE(point.message.find("значение изменил ввод другого параметра"), std::string::npos) << point.message;
    }
}

TEST(Study, ParametersAreNamedAsThePersonKnowsThem) {
    EXPECT_EQ(StudyCaption("Electro_txt"), "Теплоприток от технологического оборудования, кВт·ч");
    EXPECT_EQ(StudyCaption("Produkt.Tin_Prod_txt"), "Начальная температура продукта, °C");
    for (const StudyParameter& p : StudyParameters()) EXPECT_NE(p.caption, p.name);
}

}  // namespace
}  // namespace coldroom::test
