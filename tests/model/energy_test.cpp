// The plant per level and the annual energy: the cycle's figures worked by hand, the level a
// room joins at the boundaries, the monthly climate against the norm, a room's January and
// July energy, and the thickness of least life-cycle cost against its closed form.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "files/store_file.h"
#include "files/store_rooms.h"
#include "core/numtext.h"
#include "io/cp1251.h"
#include "model/energy_insulation.h"
#include "reports/energy_report.h"
#include "refdb/test_db.h"

namespace coldroom::test {
namespace {

TEST(PlantCycle, CarnotFractionAndPolynomialByHand) {
    // T0 / (Tk − T0): 263.15 / 50 and 238.15 / 70.
    EXPECT_NEAR(CarnotCop(-10, 40), 5.263, 0.001);
    EXPECT_NEAR(CarnotCop(-35, 35), 3.4021, 0.0001);
    EXPECT_EQ(CarnotCop(-10, -10), 0);
    PlantSettings plant;
    plant.carnotFraction = 0.45;
    EXPECT_NEAR(PlantCop(plant, nullptr, -10, 40), 2.3684, 0.0001);
    // Every term its own coefficient, so a term out of order shows: at to = −10, tc = 40
    // 1 − 20 + 120 + 400 − 2000 + 9600 − 7000 + 32000 − 144000 + 640000.
    const Polynomial c{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_DOUBLE_EQ(EvaluatePolynomial(c, -10, 40), 529101);
    CompressorCurves curves;
    std::string why;
    ASSERT_TRUE(ParseCompressorCurves("name = test # from a sheet\ncapacity = 1000;0;0;0;0;0;0;0;0;0\n"
                                      "power = 400,0 0 0 0 0 0 0 0 0 0\n", curves, why)) << why;
    EXPECT_EQ(curves.name, "test");
    EXPECT_EQ(curves.power[0], 400);  // the decimal comma read
    plant.efficiency = EfficiencyModel::Polynomial;
    EXPECT_DOUBLE_EQ(PlantCop(plant, &curves, -10, 40), 2.5);
    for (const char* bad : {"capacity = 1 2 3\npower = 1 2 3 4 5 6 7 8 9 10", "capacity = 1 2 3 4 5 6 7 8 9 10",
                            "speed = 3", "capacity = 1 2 3 4 5 6 7 8 9 x\npower = 1 2 3 4 5 6 7 8 9 10"})
        EXPECT_FALSE(ParseCompressorCurves(bad, curves, why)) << bad;
}

TEST(PlantCycle, LevelAtTheBoundaries) {
    const std::vector<PlantLevel> levels = DefaultPlantLevels();  // СТ −15, НТ −35
    struct Case {
        double room, coil;
        int level;  // -1: none cold enough
    } cases[] = {{-5, 10, 0}, {-5.1, 10, 1}, {0, 10, 0}, {-25, 10, 1}, {-25.1, 10, -1}, {-20, 15, 1}, {5, 20, 0}};
    for (const Case& c : cases) {
        const std::optional<int> got = LevelForRoom(levels, c.room, c.coil);
        EXPECT_EQ(got ? *got : -1, c.level) << c.room << " " << c.coil;
    }
    EXPECT_EQ(ColdestLevel(levels), 1);
    // The place a store gives a room: chosen, or by its temperature; a level evaporating above
    // the t0 the room needs is told; a room of no known temperature left to its temperature has none.
    struct Place {
        int chosen;
        std::optional<double> room;
        int level;  // -1: none
        bool tooWarm;
    } places[] = {{kAutoLevel, -20, 1, false}, {0, -20, 0, true}, {1, 0, 1, false},
                  {kAutoLevel, -30, 1, true},  {kAutoLevel, std::nullopt, -1, false}, {5, -20, 1, false}};
    PlantSettings plant;
    for (const Place& p : places) {
        const RoomPlace got = PlaceRoom(plant, {"a.cfg", p.chosen, 0}, p.room);
        EXPECT_EQ(got.level ? *got.level : -1, p.level) << p.chosen << " " << p.room.value_or(99);
        EXPECT_EQ(got.tooWarm, p.tooWarm) << p.chosen << " " << p.room.value_or(99);
    }
    EXPECT_NEAR(DefaultPipeworkFactor(-10), 1.04, 1e-12);
    EXPECT_NEAR(DefaultPipeworkFactor(-25), 1.055, 1e-12);
    EXPECT_NEAR(DefaultPipeworkFactor(-50), 1.07, 1e-12);
    EXPECT_EQ(CondensingTemperature(plant, 26), 36);
    EXPECT_EQ(CondensingTemperature(plant, -8.9), 25);  // the lowest condensing temperature
    plant.condenser = CondenserKind::Water;
    EXPECT_EQ(CondensingTemperature(plant, 26), kDefaultWaterCondensing);
}

TEST(MonthlyClimate, RowsOfTheNorm) {
    // СП 131.13330.2020 table 5.1, January to December and the year.
    const std::vector<std::vector<double>> norm = {
        {-7.0, -6.4, -1.0, 6.5, 13.3, 17.2, 19.2, 17.2, 11.4, 5.4, -0.7, -4.8, 5.9},        // Москва
        {-5.6, -5.5, -1.2, 4.8, 11.4, 16.1, 18.8, 17.0, 11.7, 6.0, 0.6, -3.3, 5.9},         // Санкт-Петербург
        {-38.6, -33.9, -19.8, -4.4, 7.8, 16.6, 19.5, 15.3, 6.1, -7.5, -27.0, -37.5, -8.6},  // Якутск
        {0.1, 1.5, 5.7, 12.3, 17.5, 21.7, 24.2, 23.8, 18.6, 12.2, 6.3, 2.4, 12.2},          // Краснодар
        {-17.1, -15.3, -7.6, 3.0, 11.4, 17.3, 19.3, 16.5, 10.3, 2.8, -7.0, -14.0, 1.6},     // Новосибирск
        {-13.1, -11.2, -3.9, 4.5, 11.7, 16.8, 18.8, 16.1, 10.0, 2.9, -5.6, -10.6, 3.0},     // Екатеринбург
        {-12.3, -8.8, -1.7, 5.0, 9.9, 13.6, 17.9, 19.9, 16.0, 8.9, -0.7, -9.2, 4.9},        // Владивосток
        {-4.2, -3.8, 2.3, 11.4, 18.3, 23.5, 25.8, 24.3, 17.8, 10.2, 3.3, -1.7, 10.6},       // Астрахань
        {-10.3, -9.7, -5.3, -0.6, 4.3, 9.5, 13.2, 11.3, 7.2, 1.3, -4.6, -7.6, 0.7},         // Мурманск
        {6.1, 6.5, 8.3, 12.2, 16.3, 20.5, 23.3, 23.8, 20.1, 15.8, 11.3, 8.1, 14.4},         // Сочи
        {-8.9, -8.0, -2.5, 5.6, 12.9, 16.7, 18.8, 16.8, 10.9, 4.6, -2.0, -6.6, 4.9},        // Владимир
    };
    const char* towns[] = {"Москва", "Санкт-Петербург", "Якутск", "Краснодар", "Новосибирск", "Екатеринбург",
                           "Владивосток", "Астрахань", "Мурманск", "Сочи", "Владимир"};
    for (size_t i = 0; i < norm.size(); ++i) {
        const TownClimate* c = FindTownClimate(towns[i]);
        ASSERT_NE(c, nullptr) << towns[i];
        for (int m = 0; m < 12; ++m) EXPECT_EQ(c->months[static_cast<size_t>(m)], norm[i][static_cast<size_t>(m)]) << towns[i] << " " << m;
        EXPECT_EQ(c->year, norm[i][12]) << towns[i];
    }
    // Every shipped town has its row, and every row's year is the mean of its months as the
    // norm rounds it: a figure copied wrong shows here.
    std::ifstream in(std::string(COLDROOM_SOURCE_DATA) + "/Location.csv");
    std::string line;
    std::getline(in, line);
    int towns_ = 0;
    while (std::getline(in, line)) {
        const TownClimate* c = FindTownClimate(line.substr(0, line.find(',')));
        ASSERT_NE(c, nullptr) << line;
        double sum = 0;
        for (double t : c->months) sum += t;
        EXPECT_NEAR(sum / 12, c->year, 0.051) << c->town;
        ++towns_;
    }
    EXPECT_EQ(towns_, static_cast<int>(MonthlyClimate().size()));
}

TEST(LifeCycleCost, PlaneWallMinimumAgainstTheClosedForm) {
    // A wall of 100 m² at ΔT 40 K all year, R0 0.2 m²·K/W, λ 0.022, 40 000 ₽/m³, COP 2, 8 ₽/kWh,
    // 15 years at 10 %.
    const double r0 = 0.2, lambda = 0.022, cost = 40000, dT = 40, area = 100, cop = 2, tariff = 8;
    const double optimum = PlaneWallOptimum(r0, lambda, cost, dT, kYearHours, cop, tariff, 15, 10);
    double best = 0, bestCost = 1e300;
    for (double d = 0.01; d < 0.6; d += 0.0001) {
        const double yearly = area * dT / (r0 + d / lambda) * kYearHours / 1000 / cop * tariff;
        const double lcc = LifeCycleCost(cost * area * d, yearly, 15, 10);
        if (lcc < bestCost) bestCost = lcc, best = d;
    }
    EXPECT_NEAR(optimum, best, 0.0002);
    EXPECT_NEAR(PresentWorthFactor(15, 10), 7.6061, 0.0001);
    EXPECT_EQ(PresentWorthFactor(15, 0), 15);
}

class StoreEnergyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(ReadStoreFile(std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms/three_rooms.coldstore", store, why)) << why;
        data = LoadReferenceData(ShippedDatabasePath(), why);
        ASSERT_TRUE(data) << why;
        rooms.Update(store, *data);
    }
    Store store;
    std::shared_ptr<const ReferenceData> data;
    StoreRooms rooms;
};

TEST_F(StoreEnergyTest, ChillingRoomInJanuaryAndJuly) {
    // The chilling room at 0 °C in Владимир (design 26 °C; January −8.9, July 18.8 °C): each
    // wall and the ceiling beyond which the design air stands gains U·A·(t − 0) less the
    // design's U·A·26 — the floor above a room keeps its gain.
    const StoreRoomData& room = rooms.rooms()[0];
    const RoomResult& design = room.result;
    std::array<double, 12> heat{};
    std::array<double, 12> full{};
    full.fill(100);
    std::array<double, 12> outside{};
    outside.fill(26);
    std::string why;
    ASSERT_TRUE(RoomMonthlyHeat(room.project, design, *data, outside, full, 100, heat, why)) << why;
    const double designHeat = design.loads.total.watts;
    EXPECT_NEAR(heat[0], designHeat, 1) << "the design month gives the design total";
    double ua = 0;
    for (int s = 0; s < kFloor; ++s)
        ua += design.trace.envelope.surfaces[static_cast<size_t>(s)].transmittance * design.trace.envelope.surfaces[static_cast<size_t>(s)].area;
    outside = MonthlyClimate()[10].months;  // Владимир
    ASSERT_EQ(MonthlyClimate()[10].town, "Владимир");
    ASSERT_TRUE(RoomMonthlyHeat(room.project, design, *data, outside, full, 100, heat, why)) << why;
    const double operationJan = heat[0] - (designHeat - design.loads.operation.watts - ua * (26 + 8.9));
    const double operationJul = heat[6] - (designHeat - design.loads.operation.watts - ua * (26 - 18.8));
    // Whole watts per surface: six roundings at most.
    EXPECT_LT(operationJul, design.loads.operation.watts + 6);
    EXPECT_LT(operationJan, operationJul) << "the door lets in less heat in winter";

    const StoreEnergy e = ComputeStoreEnergy(store, rooms.rooms(), *data, nullptr);
    ASSERT_TRUE(e.defined) << (e.problems.empty() ? "" : e.problems[0]);
    EXPECT_EQ(e.town, "Владимир");
    const LevelEnergy& mt = e.levels[0];
    ASSERT_EQ(mt.rooms, 1);
    // January: condensing at the lowest 25 °C, COP 0.45 · 258.15 / 40; July at 28.8 °C.
    EXPECT_NEAR(mt.months[0].cop, 0.45 * 258.15 / 40, 1e-9);
    EXPECT_NEAR(mt.months[6].condensing, 28.8, 1e-9);
    EXPECT_NEAR(mt.months[6].cop, 0.45 * 258.15 / 43.8, 1e-9);
    const double k = DefaultPipeworkFactor(-15);
    const RoomEnergy& r = e.rooms[0];
    EXPECT_NEAR(mt.months[0].compressorKWh, k * r.heat[0] * 744 / 1000 / mt.months[0].cop, 1e-6);
    EXPECT_NEAR(mt.months[6].compressorKWh, k * r.heat[6] * 744 / 1000 / mt.months[6].cop, 1e-6);
    EXPECT_GT(mt.months[6].compressorKWh, mt.months[0].compressorKWh);
    // The design point run all year overstates the monthly method.
    EXPECT_GT(e.designYearKWh, e.compressorKWh);
    EXPECT_NEAR(e.specificKWh, e.totalKWh / e.volume, 1e-9);
}

TEST_F(StoreEnergyTest, StudyMarksTheLeastLifeCycleCost) {
    const InsulationStudy s = StudyInsulation(store, rooms.rooms(), *data, nullptr, -1, 50, 300, 25);
    ASSERT_EQ(s.points.size(), 11u);
    ASSERT_GE(s.best, 0);
    for (const ThicknessPoint& p : s.points) {
        ASSERT_TRUE(p.defined) << p.mm;
        EXPECT_GE(p.lifeCycleCost, s.points[static_cast<size_t>(s.best)].lifeCycleCost);
    }
    for (size_t i = 1; i < s.points.size(); ++i) EXPECT_LT(s.points[i].annualKWh, s.points[i - 1].annualKWh);
    const InsulationStudy one = StudyInsulation(store, rooms.rooms(), *data, nullptr, 0, 50, 300, 25);
    EXPECT_EQ(one.subject, "chilling.cfg");
    EXPECT_LT(one.points.back().insulationCost, s.points.back().insulationCost);
}

}  // namespace
}  // namespace coldroom::test

namespace coldroom::test {
namespace {

TEST(StorePlantFile, SettingsRoundTripAndRefusals) {
    Store store;
    store.rooms.push_back({"/s/a.cfg", kAutoLevel, 8});
    EXPECT_NE(StoreText(store, "/s").find("format = 3"), std::string::npos) << "a coil difference needs format 3";
    store.rooms[0].coilDifference = 0;
    EXPECT_NE(StoreText(store, "/s").find("format = 1"), std::string::npos) << "defaults stay readable by format 1";
    PlantSettings& p = store.plant;
    p.levels = {{"Плюс", -10}, {"Минус", -40}};
    p.condenser = CondenserKind::Water;
    p.efficiency = EfficiencyModel::Polynomial;
    p.polynomialFile = "/s/comp.txt";
    p.productProfile[6] = 150;
    p.town = "Москва";
    p.tariff = 6.5;
    p.years = 20;
    store.rooms[0].coilDifference = 7.5;
    Store back;
    std::string why;
    ASSERT_TRUE(ParseStoreText(StoreText(store, "/s"), "/s", back, why)) << why;
    EXPECT_EQ(back, store);
    for (const char* bad : {"plant_levels = СТ -15", "condenser = steam", "years = 2.5", "carnot_fraction = 2",
                            "product_profile = 1 2 3"}) {
        Store s;
        EXPECT_FALSE(ParseStoreText(std::string("[store]\nformat = 2\n") + bad + "\n", "/s", s, why)) << bad;
        EXPECT_NE(why.find("строка 3"), std::string::npos) << why;
    }
}

}  // namespace
}  // namespace coldroom::test

namespace coldroom {
namespace {

// Any number is written whole, never as what lay in the buffer beyond it.
TEST(EnergySheet, FixedTextWritesAnyNumberWhole) {
    for (const double v : {1e300, -1e61, 1.7976931348623157e308}) {
        const std::string text = FixedText(v, 2);
        EXPECT_TRUE(WellFormedUtf8(text)) << v;
        EXPECT_EQ(text.find('\0'), std::string::npos) << v;
        EXPECT_NEAR(LeadingNumber(text) / v, 1, 1e-14) << v;
    }
}

}  // namespace
}  // namespace coldroom
