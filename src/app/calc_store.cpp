#include "app/calc_store.h"

#include <iostream>

#include "app/calc_output.h"
#include "app/calc_pdf.h"
#include "app/calc_study.h"
#include "core/numtext.h"
#include "files/energy_files.h"
#include "files/store_file.h"
#include "files/store_rooms.h"
#include "reports/energy_report.h"
#include "reports/report_model.h"
#include "reports/store_report.h"

namespace coldroom {
namespace {

constexpr int kExitUnreadable = 3, kExitDatabase = 4, kExitNotSaved = 5;
const char* kLevelKeys[kTemperatureLevelCount] = {"medium", "low"};
const std::string kNone;

std::string jsonNumber(const LoadValue& v) { return v.defined ? GeneralText(v.watts) : "null"; }

std::string jsonSum(const LevelLoads& sum) {
    return "{\"rooms\": " + std::to_string(sum.rooms) + ", \"capacity\": " + jsonNumber(sum.capacity) +
           ", \"compressor\": " + jsonNumber(sum.compressor) + "}";
}

std::string json(const StoreRequest& request, const Store& store, const StoreRooms& rooms, const StoreSheet& sheet) {
    std::string text = "{\n  \"file\": " + JsonString(request.store) + ",\n  \"title\": " + JsonString(store.title) +
                       ",\n  \"operationShare\": {\"medium\": " +
                       GeneralText(store.settings.share(TemperatureLevel::Medium)) +
                       ", \"low\": " + GeneralText(store.settings.share(TemperatureLevel::Low)) + "},\n  \"rooms\": [";
    for (std::size_t i = 0; i < store.rooms.size(); ++i) {
        const StoreRoomData& room = rooms.rooms()[i];
        const StoreRowLoads& row = rooms.loads().rows[i];
        text += std::string(i ? ",\n    " : "\n    ") + "{\"file\": " + JsonString(sheet.rooms[i][1]) + ", \"level\": " +
                (row.level ? JsonString(kLevelKeys[static_cast<int>(*row.level)]) : "null") +
                ", \"levelChosen\": " + (store.rooms[i].level == LevelChoice::Auto ? "false" : "true");
        if (!room.read) {
            text += ", \"read\": false, \"problem\": " + JsonString(room.problem) + "}";
            continue;
        }
        text += ", \"read\": true, \"title\": " + JsonString(room.project.ProjectTitle) + ", \"volume\": " +
                JsonString(room.project.Volume_txt) + ", \"roomTemperature\": " + JsonString(room.project.TempIn_txt) +
                ", \"loads\": " + JsonLoads(room.result.loads) + ", \"compressor\": " + jsonNumber(row.compressor) + "}";
    }
    text += store.rooms.empty() ? "]" : "\n  ]";
    text += ",\n  \"levels\": {";
    for (int l = 0; l < kTemperatureLevelCount; ++l)
        text += std::string(l ? ", " : "") + JsonString(kLevelKeys[l]) + ": " + jsonSum(rooms.loads().levels[static_cast<size_t>(l)]);
    return text + "},\n  \"total\": " + jsonSum(rooms.loads().total) + "\n}\n";
}

}  // namespace

int RunStoreRequest(const StoreRequest& request, std::ostream& out) {
    Store store;
    std::string error;
    if (!ReadStoreFile(request.store, store, error)) {
        std::cerr << "coldroom-calc: " << error << '\n';
        return kExitUnreadable;
    }
    const auto data = LoadReferenceData(request.database, error);
    if (!data) {
        std::cerr << "coldroom-calc: " << error << '\n';
        return kExitDatabase;
    }
    StoreRooms rooms;
    rooms.Update(store, *data);
    const StoreSheet sheet = MakeStoreSheet(store, rooms.rooms(), rooms.loads(),
                                             {request.store, ShortDateToday(), static_cast<double>(request.margin)});

    int status = 0;
    for (std::size_t i = 0; i < store.rooms.size(); ++i)
        if (!rooms.rooms()[i].read) {
            std::cerr << "coldroom-calc: камера «" << sheet.rooms[i][1] << "»: " << rooms.rooms()[i].problem << '\n';
            status = kExitUnreadable;
        }
    bool toStdout = false;
    StoreEnergy energy;
    EnergySheet energySheet;
    if (request.energy) {
        energy = ComputeStoreEnergyFromFiles(store, rooms.rooms(), *data);
        energySheet = MakeEnergySheet(store, energy, ShortDateToday());
        const std::pair<const std::string*, bool> reports[] = {{&request.html, true}, {&request.csv, false}};
        for (const auto& [path, note] : reports) {
            if (path->empty()) continue;
            toStdout = toStdout || *path == "-";
            if (!(note ? WriteEnergyNote(*path, store, energy, energySheet, error) : WriteEnergyCsv(*path, energySheet, error))) {
                std::cerr << "coldroom-calc: " << error << '\n';
                status = kExitNotSaved;
            }
        }
    }
    const std::pair<const std::string*, bool (*)(const std::string&, const StoreSheet&, std::string&)> reports[] = {
        {request.energy ? &kNone : &request.html, WriteStoreHtml},
        {request.energy ? &kNone : &request.csv, WriteStoreCsv},
        {&request.pdf, WriteStorePdfOnDemand}};
    for (const auto& [path, write] : reports) {
        if (path->empty()) continue;
        toStdout = toStdout || *path == "-";
        if (!write(*path, sheet, error)) {
            std::cerr << "coldroom-calc: " << error << '\n';
            status = kExitNotSaved;
        }
    }
    if (request.json) {
        std::string text = json(request, store, rooms, sheet);
        if (request.energy) text.insert(text.rfind('}'), ",\n  \"energy\": " + EnergyJson(energy) + "\n");
        out << text;
    } else if (!toStdout) {
        for (const std::string& line : StoreTextLines(sheet)) out << line << '\n';
        if (request.energy) {
            out << '\n';
            for (const std::string& line : EnergyTextLines(energySheet)) out << line << '\n';
        }
    }
    out.flush();
    return status;
}

}  // namespace coldroom
