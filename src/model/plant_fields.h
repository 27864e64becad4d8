// The plant's settings a person sets, named once: the key in the store file, the caption and
// the tooltip of the plant and energy window (what it is and where its default comes from),
// the range of a figure and the list of a choice. The store file and the window read and check
// them here.
#pragma once

#include <string>
#include <vector>

#include "model/plant_settings.h"

namespace coldroom {

struct PlantNumber {
    const char* key;
    const char* caption;
    const char* tip;
    double low, high;
    bool whole;
    bool autoWhenEmpty;  // "" or "auto" stands for 0: the default by another figure
    double (*get)(const PlantSettings&);
    void (*set)(PlantSettings&, double);
};

struct PlantChoice {
    const char* key;
    const char* caption;
    const char* tip;
    std::vector<std::string> (*options)(const PlantSettings&);  // as the window lists them
    int (*get)(const PlantSettings&);
    void (*set)(PlantSettings&, int);
};

const std::vector<PlantNumber>& PlantNumbers();
const std::vector<PlantChoice>& PlantChoices();
const PlantNumber* FindPlantNumber(const std::string& key);

// The figure as a field shows it ("" for an automatic one).
std::string PlantNumberText(const PlantSettings& plant, const PlantNumber& field);
// Reads `text` (either decimal mark) into `plant`; false with the reason in Russian, leaving
// `plant` as it was.
bool SetPlantNumber(PlantSettings& plant, const PlantNumber& field, const std::string& text, std::string& why);

// The product profile as the window's field shows it ("100 100 … 100") and read back: twelve
// figures, % of the design product load, January to December.
inline constexpr const char* kProfileTip =
    "Загрузка продуктом по месяцам, % от проектной (январь … декабрь, 12 чисел через пробел): теплоприток "
    "от продуктов и упаковки каждого месяца берётся в этой доле. По умолчанию 100 % круглый год — как в проекте.";
std::string ProductProfileText(const PlantSettings& plant);
bool SetProductProfile(PlantSettings& plant, const std::string& text, std::string& why);

inline constexpr const char* kPolynomialTip =
    "Файл коэффициентов компрессора (текст): строки «capacity = C1 … C10» (холодопроизводительность, Вт) и "
    "«power = C1 … C10» (потребляемая мощность, Вт) по данным изготовителя, в порядке членов EN 12900: "
    "C1 + C2·to + C3·tc + C4·to² + C5·to·tc + C6·tc² + C7·to³ + C8·tc·to² + C9·to·tc² + C10·tc³ (°C). "
    "AHRI 540 пишет те же члены в °F; наборы в ином порядке переставьте по членам.";

}  // namespace coldroom
