#include "core/load_components.h"

#include <cmath>

#include "core/load_breakdown.h"
#include "core/numtext.h"

namespace coldroom {
namespace {

using Read = const LoadValue& (*)(const LoadBreakdown&);

template <int S> const LoadValue& surface(const LoadBreakdown& b) { return b.surfaces[S]; }
template <LoadValue LoadBreakdown::*M> const LoadValue& member(const LoadBreakdown& b) { return b.*M; }

std::array<LoadComponent, kLoadComponentCount> makeTable() {
    auto surfaceRow = [](LoadId id, const char* caption, const char* key, Read read) {
        const std::string prefix = kSurfacePrefixes[static_cast<int>(id)];
        return LoadComponent{id, LoadRole::Surface, prefix + "_Poteri_txt", caption, nullptr, key, read};
    };
    using R = LoadRole;
    using B = LoadBreakdown;
    return {{
        surfaceRow(LoadId::North, "Север", "north", &surface<kNorth>),
        surfaceRow(LoadId::South, "Юг", "south", &surface<kSouth>),
        surfaceRow(LoadId::East, "Восток", "east", &surface<kEast>),
        surfaceRow(LoadId::West, "Запад", "west", &surface<kWest>),
        surfaceRow(LoadId::Ceiling, "Потолок", "ceiling", &surface<kCeiling>),
        surfaceRow(LoadId::Floor, "Пол", "floor", &surface<kFloor>),
        {LoadId::Envelope, R::Component, "Panels_poteri", "Через стены, пол и потолок", "Ограждения", "envelope", &member<&B::envelope>},
        {LoadId::Product, R::Component, "Produk_poteri", "Охлаждение продуктов", "Продукты", "product", &member<&B::product>},
        {LoadId::Respiration, R::Part, "BreathLoss_txt", "в т.ч. теплота дыхания", nullptr, "respiration", &member<&B::respiration>},
        {LoadId::Packaging, R::Component, "Tara_poteri", "Охлаждение упаковки", "Упаковка", "packaging", &member<&B::packaging>},
        {LoadId::Operation, R::Component, "Exp_Poteri", "Потери при эксплуатации", "Эксплуатация", "operation", &member<&B::operation>},
        {LoadId::Door, R::Part, "Door_Loss_txt", "в т.ч. через дверь", nullptr, "door", &member<&B::door>},
        // The fans' field shows their power, not this heat: the fans have no result field.
        {LoadId::Fans, R::Part, "", "вентиляторы воздухоохладителей", "Вентиляторы", "fans", &member<&B::fans>},
        {LoadId::Total, R::Sum, "Total_poteri", "Суммарные потери", nullptr, "total", &member<&B::total>},
        {LoadId::Capacity, R::Sum, "Capacity_need", "Требуемая холодопроизводительность", nullptr, "capacity", &member<&B::capacity>},
    }};
}

}  // namespace

const std::array<LoadComponent, kLoadComponentCount>& LoadComponents() {
    static const std::array<LoadComponent, kLoadComponentCount> table = makeTable();
    return table;
}

const LoadComponent& LoadComponentOf(LoadId id) { return LoadComponents()[static_cast<int>(id)]; }

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
        bars.push_back({c.id, c.id == LoadId::Fans ? "Теплота вентиляторов" : c.chartLabel, v});
    }
    return bars;
}

}  // namespace coldroom
