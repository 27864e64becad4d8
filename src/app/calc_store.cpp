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

constexpr int kExitUsage = 2, kExitUnreadable = 3, kExitDatabase = 4, kExitNotSaved = 5;

std::string jsonNumber(const LoadValue& v) { return v.defined ? GeneralText(v.watts) : "null"; }

std::string jsonSum(const LevelLoads& sum) {
    return "\"rooms\": " + std::to_string(sum.rooms) + ", \"capacity\": " + jsonNumber(sum.capacity) +
           ", \"parts\": " + jsonNumber(sum.parts) + ", \"compressor\": " + jsonNumber(sum.compressor);
}

std::string json(const StoreRequest& request, const Store& store, const StoreRooms& rooms, const StoreSheet& sheet) {
    const auto& levels = store.plant.levels;
    std::string text = "{\n  \"file\": " + JsonString(request.store) + ",\n  \"title\": " + JsonString(store.title) +
                       ",\n  \"rooms\": [";
    for (std::size_t i = 0; i < store.rooms.size(); ++i) {
        const StoreRoomData& room = rooms.rooms()[i];
        const RoomPlace& place = rooms.loads().rows[i].place;
        text += std::string(i ? ",\n    " : "\n    ") + "{\"file\": " + JsonString(sheet.rooms[i][1]) +
                ", \"count\": " + std::to_string(store.rooms[i].count) + ", \"level\": " +
                (place.level ? JsonString(levels[static_cast<size_t>(*place.level)].name) : "null") +
                ", \"levelChosen\": " + (place.chosen ? "true" : "false") +
                ", \"coilDifference\": " + (place.wanted ? GeneralText(place.coil) : "null");
        if (!room.read) {
            text += ", \"read\": false, \"problem\": " + JsonString(room.problem) + "}";
            continue;
        }
        text += ", \"read\": true, \"title\": " + JsonString(room.project.ProjectTitle) + ", \"volume\": " +
                JsonString(room.project.Volume_txt) + ", \"roomTemperature\": " + JsonString(room.project.TempIn_txt) +
                ", \"loads\": " + JsonLoads(room.result.loads) + ", \"compressor\": " + jsonNumber(rooms.loads().rows[i].compressor) + "}";
    }
    text += store.rooms.empty() ? "]" : "\n  ]";
    text += ",\n  \"levels\": [";
    for (std::size_t l = 0; l < levels.size(); ++l)
        text += std::string(l ? ",\n    " : "\n    ") + "{\"name\": " + JsonString(levels[l].name) + ", \"evaporating\": " +
                GeneralText(levels[l].evaporating) + ", \"operationShare\": " + GeneralText(levels[l].share) +
                ", \"pipework\": " + GeneralText(rooms.loads().levels[l].pipework) + ", " + jsonSum(rooms.loads().levels[l]) + "}";
    text += levels.empty() ? "]" : "\n  ]";
    return text + ",\n  \"total\": {" + jsonSum(rooms.loads().total) + ", \"differentMachines\": true}\n}\n";
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
    const std::string today = ShortDateToday();
    const StoreSheet sheet =
        MakeStoreSheet(store, rooms.rooms(), rooms.loads(), {request.store, today, static_cast<double>(request.margin)});

    int studyRoom = -1;
    if (!request.studyRoom.empty()) {
        for (std::size_t i = 0; i < store.rooms.size(); ++i)
            if (sheet.rooms[i][1] == request.studyRoom || RoomFileName(store.rooms[i].path) == request.studyRoom)
                studyRoom = static_cast<int>(i);
        if (studyRoom < 0) {
            std::cerr << "coldroom-calc: --insulation-room: в холодильнике нет камеры «" << request.studyRoom << "»\n";
            return kExitUsage;
        }
    }
    int status = 0;
    for (std::size_t i = 0; i < store.rooms.size(); ++i)
        if (!rooms.rooms()[i].read) {
            std::cerr << "coldroom-calc: камера «" << sheet.rooms[i][1] << "»: " << rooms.rooms()[i].problem << '\n';
            status = kExitUnreadable;
        }
    // A room listed twice is counted twice: said even where the output (JSON) has no place for it.
    for (const auto& [file, times] : RepeatedRoomFiles(store))
        std::cerr << "coldroom-calc: предупреждение: " << RepeatedFileNote(RelativePath(file, FolderOf(request.store)), times) << '\n';

    // The reports carry the plant and its energy; the printed table only when asked for.
    const bool reports = !request.html.empty() || !request.csv.empty() || !request.pdf.empty();
    StoreEnergy energy;
    InsulationStudy study;
    StoreSheet full = sheet;
    if (request.energy || reports) {
        energy = ComputeStoreEnergyFromFiles(store, rooms.rooms(), *data);
        const EnergySheet energySheet = MakeEnergySheet(store, energy, today);
        full.parts = EnergyParts(energySheet);
        if (request.energy) {
            study = StudyInsulationFromFiles(store, rooms.rooms(), *data, studyRoom, request.fromMm, request.toMm,
                                             request.stepMm);
            full.parts.push_back(InsulationPart(store, study));
        }
        if (request.energy && !request.html.empty() &&
            !WriteEnergyNote(request.html, store, energy, energySheet, error)) {
            std::cerr << "coldroom-calc: " << error << '\n';
            status = kExitNotSaved;
        }
    }
    bool toStdout = false;
    const std::pair<const std::string*, bool (*)(const std::string&, const StoreSheet&, std::string&)> writers[] = {
        {request.energy ? nullptr : &request.html, WriteStoreHtml},
        {&request.csv, WriteStoreCsv},
        {&request.pdf, WriteStorePdfOnDemand}};
    for (const auto& [path, write] : writers) {
        if (path == nullptr || path->empty()) continue;
        if (!write(*path, full, error)) {
            std::cerr << "coldroom-calc: " << error << '\n';
            status = kExitNotSaved;
        }
    }
    for (const std::string* path : {&request.html, &request.csv, &request.pdf}) toStdout = toStdout || *path == "-";
    if (request.json) {
        std::string text = json(request, store, rooms, sheet);
        if (request.energy)
            text.insert(text.rfind('}'), ",\n  \"energy\": " + EnergyJson(energy) + ",\n  \"insulation\": " + InsulationJson(study) + "\n");
        out << text;
    } else if (!toStdout) {
        for (const std::string& line : StoreTextLines(request.energy ? full : sheet)) out << line << '\n';
    }
    out.flush();
    return status;
}

}  // namespace coldroom
