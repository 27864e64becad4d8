#include "core/load_components.h"

#include <cmath>

#include "core/load_breakdown.h"
#include "core/numtext.h"

namespace coldroom {
namespace {

using Read = const LoadValue& (*)(const LoadBreakdown&);

template <int S> const LoadValue& surface(const LoadBreakdown& b) { return b.surfaces[S]; }
template <LoadValue LoadBreakdown::*M> const LoadValue& member(const LoadBreakdown& b) { return b.*M; }
// A component computed by a function of its own keeps its value by its id.
template <LoadId I> [[maybe_unused]] const LoadValue& own(const LoadBreakdown& b) { return b.own[static_cast<int>(I)]; }

// Colours of the bars and lines, readable on white and apart from each other.
constexpr std::array<unsigned char, 3> kEnvelopeColour{70, 110, 170}, kProductColour{200, 120, 60},
    kPackagingColour{150, 150, 90}, kOperationColour{90, 150, 110}, kFansColour{140, 100, 160},
    kTotalColour{110, 110, 110}, kCapacityColour{200, 40, 40}, kRespirationColour{180, 160, 40},
    kDoorColour{60, 170, 190}, kSurfaceColour{120, 120, 120};

std::array<LoadComponent, kLoadComponentCount> makeTable() {
    using I = LoadId;
    using R = LoadRole;
    using B = LoadBreakdown;
    auto surfaceRow = [](I id, const char* caption, const char* key, Read read) {
        const std::string prefix = kSurfacePrefixes[static_cast<int>(id)];
        return LoadComponent{id,      R::Surface, I::Envelope, false,          prefix + "_Poteri_txt", caption, nullptr,
                             key,     "Q",        caption,     kSurfaceColour, 14,                     nullptr, read};
    };
    return {{
        surfaceRow(I::North, "Север", "north", &surface<kNorth>),
        surfaceRow(I::South, "Юг", "south", &surface<kSouth>),
        surfaceRow(I::East, "Восток", "east", &surface<kEast>),
        surfaceRow(I::West, "Запад", "west", &surface<kWest>),
        surfaceRow(I::Ceiling, "Потолок", "ceiling", &surface<kCeiling>),
        surfaceRow(I::Floor, "Пол", "floor", &surface<kFloor>),
        {I::Envelope, R::Component, I::Total, false, "Panels_poteri", "Через стены, пол и потолок", "Ограждения",
         "envelope", "Qогр", "О", kEnvelopeColour, 16, nullptr, &member<&B::envelope>},
        {I::Product, R::Component, I::Total, false, "Produk_poteri", "Охлаждение продуктов", "Продукты", "product",
         "Qпр", "д", kProductColour, 15, nullptr, &member<&B::product>},
        {I::Respiration, R::Part, I::Product, false, "BreathLoss_txt", "в т.ч. теплота дыхания", nullptr,
         "respiration", "Qдых", "д", kRespirationColour, 14, "в т.ч. дыхание", &member<&B::respiration>},
        {I::Packaging, R::Component, I::Total, false, "Tara_poteri", "Охлаждение упаковки", "Упаковка", "packaging",
         "Qуп", "У", kPackagingColour, 15, nullptr, &member<&B::packaging>},
        {I::Operation, R::Component, I::Total, true, "Exp_Poteri", "Потери при эксплуатации", "Эксплуатация",
         "operation", "Qэкспл", "Э", kOperationColour, 18, nullptr, &member<&B::operation>},
        {I::Door, R::Part, I::Operation, true, "Door_Loss_txt", "в т.ч. через дверь", nullptr, "door", "Qдв", "д",
         kDoorColour, 14, nullptr, &member<&B::door>},
        // The fans' field shows their power, not this heat: the fans have no result field.
        {I::Fans, R::Part, I::Operation, true, "", "в т.ч. теплота вентиляторов воздухоохладителей", "Теплота вентиляторов",
         "fans", "Qв", "Т", kFansColour, 19, nullptr, &member<&B::fans>},
        {I::Total, R::Sum, I::Capacity, false, "Total_poteri", "Суммарные потери", nullptr, "total", "Qсум", "С",
         kTotalColour, 16, nullptr, &member<&B::total>},
        {I::Capacity, R::Sum, I::Capacity, false, "Capacity_need", "Требуемая холодопроизводительность", nullptr,
         "capacity", "Q0", "х", kCapacityColour, 21, "Требуемая холодопроизв.", &member<&B::capacity>},
    }};
}

}  // namespace

const std::array<LoadComponent, kLoadComponentCount>& LoadComponents() {
    static const std::array<LoadComponent, kLoadComponentCount> table = makeTable();
    return table;
}

const LoadComponent& LoadComponentOf(LoadId id) { return LoadComponents()[static_cast<int>(id)]; }

std::vector<LoadId> PartsOf(LoadId sum) {
    std::vector<LoadId> parts;
    for (const LoadComponent& c : LoadComponents())
        if (c.sum == sum && c.id != sum) parts.push_back(c.id);
    return parts;
}

std::vector<ChartedLoad> ChartedLoads(const LoadBreakdown& b) {
    // Every bar in whole watts by the results' own rule (the whole part), so that a bar and
    // the field of the same value never differ by a watt. The fans' heat over the work cycle
    // is the one value no field shows; their field shows their power, so their bar is named
    // for the heat.
    auto shown = [](LoadValue v) {
        return v.defined && std::isfinite(v.watts) ? LoadValue::of(IntFloor(v.watts)) : LoadValue::undefined({});
    };
    const LoadValue fans = shown(b.fans);
    std::vector<ChartedLoad> bars;
    for (const LoadComponent& c : LoadComponents()) {
        if (!c.chartLabel) continue;
        LoadValue v = shown(c.value(b));
        if (c.id == LoadId::Operation && v.defined && fans.defined) v.watts -= fans.watts;
        bars.push_back({c.id, c.chartLabel, v});
    }
    return bars;
}

}  // namespace coldroom
