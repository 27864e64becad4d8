// One fully specified report model, every value distinct. The golden files in
// tests/data/reports/ are its reports.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "reports/report_model.h"
#include "temp_dir.h"

namespace coldroom::testing {

inline ReportModel GoldenModel(bool standardDoors) {
    ReportModel m;
    m.heading = {"Камера хранения №1", "Иванов И.И., ООО «Холод»", "07.12.2024"};
    m.length.value = "12";
    m.width.value = "6";
    m.height.value = "4.5";
    m.volume.value = "324";
    // Every thickness differs, so a swapped cell shows; "..." marks a layer not in use.
    m.surfaces[kSouth].material = {"Пенополиуретан", "Минеральная вата", "..."};
    m.surfaces[kSouth].thickness = {"100", "50", "30"};
    m.surfaces[kNorth].material = {"Пенополистирол ПСБ-С", "...", "..."};
    m.surfaces[kNorth].thickness = {"110", "40", "0"};
    m.surfaces[kEast].material = {"Минеральная вата", "Кирпич", "Штукатурка"};
    m.surfaces[kEast].thickness = {"120", "250", "20"};
    m.surfaces[kWest].material = {"Сэндвич-панель ППУ", "...", "..."};
    m.surfaces[kWest].thickness = {"130", "0", "0"};
    m.surfaces[kCeiling].material = {"Пенополиуретан", "Железобетон", "..."};
    m.surfaces[kCeiling].thickness = {"150", "200", "10"};
    m.surfaces[kFloor].material = {"Пеностекло", "Бетон", "Керамзит"};
    m.surfaces[kFloor].thickness = {"80", "150", "300"};
    m.ceilingCoating = "Металл окрашенный";
    m.ceilingIsSlab = false;
    m.floorHeated = true;
    m.floorOnGround = true;
    m.roomTemperature.value = "-18";
    const char* sides[kSurfaceCount] = {"20", "25", "26", "5", "30", "10"};
    for (int s = 0; s < kSurfaceCount; ++s) m.sideTemperature[s].value = sides[s];
    m.product.value = "Говядина в полутушах";
    m.loading.value = "20";
    m.turnover.value = "2.5";
    m.productStart.value = "-8";
    m.productEnd.value = "-18";
    m.airSpeed.value = "0.5";
    m.packaging.value = "Картон";
    m.requestedTime.value = "24";
    m.shortestTime.value = "14.6";
    m.standardDoors = standardDoors;
    m.location.value = "Москва";
    m.roomType.value = "Камера низкотемпературная";
    m.doorHeight.value = "2.2";
    m.doorWidth.value = "1.5";
    m.doorOpen.value = "2";
    m.curtain.value = "Полосовая завеса";
    m.outsideTemperature.value = "28";
    m.outsideHumidity.value = "55";
    m.cycle.value = "70";
    m.people.value = "24";
    m.equipment.value = "1.5";
    m.lifter.value = "0.8";
    m.fanPower.value = "1200";
    m.walls.value = "2173.5";
    m.floor.value = "368";
    m.ceiling.value = "1047";
    m.productLoad.value = "2893";
    m.packagingLoad.value = "142";
    m.operation.value = "3561";
    m.total.value = "10184";
    m.capacity.value = "14549";
    return m;
}

using test::ReadBytes;

inline std::string GoldenPath(const std::string& name) {
    return std::string(COLDROOM_TEST_DATA) + "/reports/" + name;
}

// A fresh folder for the files a test writes, removed afterwards.
using test::TempDir;

}  // namespace coldroom::testing
