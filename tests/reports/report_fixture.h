// One fully specified project as the main form would hand it to the reports. The golden
// files in tests/data/reports/ are this project's reports.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "reports/report_input.h"
#include "temp_dir.h"

namespace coldroom::testing {

inline ReportInput GoldenInput(bool standardDoors) {
    ReportInput in;
    in.projectTitle = "Камера хранения №1";
    in.author = "Иванов И.И., ООО «Холод»";
    in.dateText = "07.12.2024";
    in.wallLossTotal = 2173.5;
    in.text = {
        {"Length_txt", "12"}, {"Width_txt", "6"}, {"Height_txt", "4.5"}, {"Volume_txt", "324"},
        // Every thickness differs, so a swapped cell shows.
        {"South1_Mt_cmb", "Пенополиуретан"}, {"South1_D_txt", "100"},
        {"South2_Mt_cmb", "Минеральная вата"}, {"South2_D_txt", "50"},
        {"South3_Mt_cmb", "Кирпич"}, {"South3_D_txt", "30"},
        {"Nord1_Mt_cmb", "Пенополистирол ПСБ-С"}, {"Nord1_D_txt", "110"},
        {"Nord2_Mt_cmb", "Пенопласт"}, {"Nord2_D_txt", "40"},
        {"Nord3_Mt_cmb", ""}, {"Nord3_D_txt", "0"},
        {"East1_Mt_cmb", "Минеральная вата"}, {"East1_D_txt", "120"},
        {"East2_Mt_cmb", "Кирпич"}, {"East2_D_txt", "250"},
        {"East3_Mt_cmb", "Штукатурка"}, {"East3_D_txt", "20"},
        {"West1_Mt_cmb", "Сэндвич-панель ППУ"}, {"West1_D_txt", "130"},
        {"West2_Mt_cmb", "Бетон"}, {"West2_D_txt", "0"},
        {"West3_Mt_cmb", "Бетон"}, {"West3_D_txt", "0"},
        {"Ceil1_Mt_cmb", "Пенополиуретан"}, {"Ceil1_D_txt", "150"},
        {"Ceil2_Mt_cmb", "Железобетон"}, {"Ceil2_D_txt", "200"},
        {"Ceil3_Mt_cmb", "Рубероид"}, {"Ceil3_D_txt", "10"},
        {"Floor1_Mt_cmb", "Пеностекло"}, {"Floor1_D_txt", "80"},
        {"Floor2_Mt_cmb", "Бетон"}, {"Floor2_D_txt", "150"},
        {"Floor3_Mt_cmb", "Керамзит"}, {"Floor3_D_txt", "300"},
        {"CeilSurf_cmb", "Металл окрашенный"},
        {"TempIn_txt", "-18"}, {"TempSouth_txt", "25"}, {"TempNord_txt", "20"},
        {"TempEast_txt", "26"}, {"TempWest_txt", "5"}, {"TempCeil_txt", "30"},
        {"TempFloor_txt", "10"},
        {"TypeOfProduct_lbl", "Говядина в полутушах"}, {"Loading_lbl", "20"},
        {"Oborot_lbl", "2.5"}, {"TempIn_lbl", "-8"}, {"TempEnd_lbl", "-18"},
        {"AirSpeed_lbl", "0.5"}, {"Tara_lbl", "Картон"}, {"TimeReal_lbl", "24"},
        {"TimeMin_lbl", "14.6"},
        {"Location_cmb", "Москва"}, {"TypeOfCell_cmb", "Камера низкотемпературная"},
        {"Door_H_txt", "2.2"}, {"Door_W_txt", "1.5"}, {"Door_Open_txt", "2"},
        {"TypeOfCurtain_cmb", "Полосовая завеса"}, {"TempOut_txt", "28"},
        {"HumidOut_txt", "55"}, {"Cycle_txt", "70"}, {"NofPeople_txt", "3"},
        {"TimePeople_txt", "8"}, {"Electro_txt", "1.5"}, {"Lifter_txt", "0.8"},
        {"ElectroEva_txt", "1200"},
        {"Floor_Poteri_txt", "368"}, {"Ceil_Poteri_txt", "1047"}, {"Produk_poteri", "2893"},
        {"Tara_poteri", "142"}, {"Exp_Poteri", "3561"}, {"Total_poteri", "10184"},
        {"Capacity_need", "14549"},
    };
    in.option = {{"CeilIns_opt", false},
                 {"FloorHeat_Opt", true},
                 {"FloorGrunt_Opt", true},
                 {"Door_Standard_opt", standardDoors}};
    in.enabled = {{"South2_Mt_cmb", true}, {"South3_Mt_cmb", false}, {"Nord2_Mt_cmb", false},
                  {"Nord3_Mt_cmb", false}, {"East2_Mt_cmb", true},  {"East3_Mt_cmb", true},
                  {"West2_Mt_cmb", false}, {"West3_Mt_cmb", false}, {"Ceil2_Mt_cmb", true},
                  {"Ceil3_Mt_cmb", false}, {"Floor2_Mt_cmb", true}, {"Floor3_Mt_cmb", true}};
    return in;
}

using test::ReadBytes;

inline std::string GoldenPath(const std::string& name) {
    return std::string(COLDROOM_TEST_DATA) + "/reports/" + name;
}

// A fresh folder for the files a test writes, removed afterwards.
using test::TempDir;

}  // namespace coldroom::testing
