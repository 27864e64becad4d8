// A cold store of several rooms: its file, its rooms read as the program opens them, the
// sums per temperature level against a calculation by hand, and the document rules of the
// window's session (what is kept when a file cannot be read or written).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/load_components.h"
#include "files/project_codec.h"
#include "files/store_file.h"
#include "files/store_rooms.h"
#include "io/failing_file_system.h"
#include "model/energy_annual.h"
#include "reports/store_page.h"
#include "temp_dir.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"
#include "ui/store/store_session.h"

namespace coldroom::test {
namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms";
const char* kRooms[] = {"chilling.cfg", "frozen-1.cfg", "frozen-2.cfg"};

// The example store copied into `dir`; returns the store file.
std::string CopyExample(const fs::path& dir) {
    fs::create_directories(dir);
    for (const auto& e : fs::directory_iterator(kExample))
        if (e.is_regular_file()) fs::copy_file(e.path(), dir / e.path().filename());
    return (dir / "three_rooms.coldstore").string();
}

std::shared_ptr<const ReferenceData> Shipped() {
    static std::shared_ptr<const ReferenceData> data = [] {
        std::string error;
        auto d = LoadReferenceData(ShippedDatabasePath(), error);
        if (!d) throw std::runtime_error(error);
        return d;
    }();
    return data;
}

StoreRooms Computed(const Store& store) {
    StoreRooms rooms;
    rooms.Update(store, *Shipped());
    return rooms;
}

Store Read(const std::string& path) {
    Store store;
    std::string why;
    EXPECT_TRUE(ReadStoreFile(path, store, why)) << why;
    return store;
}

TEST(Store, EachRoomAsASingleRunAndTheLevelsByHand) {
    const Store store = Read(kExample + "/three_rooms.coldstore");
    ASSERT_EQ(store.rooms.size(), 3u);
    const StoreRooms rooms = Computed(store);
    for (std::size_t i = 0; i < 3; ++i) {
        ProgramHarness h{ProgramHarness::Shipped{}};
        h.confirm();
        h.ui.fileNames.push_back(kExample + "/" + kRooms[i]);
        ASSERT_TRUE(OpenCommand(h.program(), h.ui));
        ASSERT_TRUE(rooms.rooms()[i].read) << rooms.rooms()[i].problem;
        for (const LoadComponent& c : LoadComponents())
            EXPECT_EQ(LoadText(c.value(rooms.rooms()[i].result.loads)), LoadText(c.value(h.main().results())))
                << kRooms[i] << ": " << c.caption;
    }

    // Chilling at 0 °C: total 3059, operation 443, cycle 80 %; frozen at -20 °C: totals 2406
    // and 1939, operations 477 and 372, cycle 90 %. Parts: (total - (1 - share) × operation) ×
    // 100 / cycle per room, its whole part as the capacity's (at 100 % they are the capacities
    // 3823, 2673 and 2154). The compressors take the
    // parts times k: 1.04 + (−10 − t0) / 30 × 0.03, 1.045 at −15 °C and 1.065 at −35 °C.
    struct Case {
        double medium, low;
        double mediumParts, lowParts;
    };
    for (const Case& c : {Case{75, 75, 3685, 2540 + 2051}, Case{50, 100, 3546, 2673 + 2154}, Case{100, 0, 3823, 2143 + 1741}, Case{0, 0, 3270, 2143 + 1741}}) {
        Store s = store;
        s.plant.levels[0].share = c.medium;
        s.plant.levels[1].share = c.low;
        const StoreLoads loads = Computed(s).loads();
        const LevelLoads& medium = loads.levels[0];
        const LevelLoads& low = loads.levels[1];
        EXPECT_EQ(medium.rooms, 1);
        EXPECT_EQ(low.rooms, 2);
        EXPECT_EQ(medium.capacity.watts, 3823);
        EXPECT_EQ(low.capacity.watts, 2673 + 2154);
        EXPECT_EQ(medium.parts.watts, c.mediumParts) << c.medium;
        EXPECT_EQ(low.parts.watts, c.lowParts) << c.low;
        EXPECT_EQ(medium.compressor.watts, std::round(1.045 * c.mediumParts));
        EXPECT_EQ(low.compressor.watts, std::round(1.065 * c.lowParts));
        EXPECT_EQ(loads.total.compressor.watts, medium.compressor.watts + low.compressor.watts);
        EXPECT_EQ(loads.total.capacity.watts, 3823 + 4827);
    }
}

// Identical rooms are one entry with a count, taken that often in every sum and kept by the
// file; a file listed twice is counted twice, as before, but said.
TEST(Store, ACountOfIdenticalRoomsAndAFileListedTwice) {
    Store store = Read(kExample + "/three_rooms.coldstore");
    store.rooms[0].count = 3;
    const StoreLoads loads = Computed(store).loads();
    EXPECT_EQ(loads.levels[0].rooms, 3);
    EXPECT_EQ(loads.levels[0].capacity.watts, 3 * 3823);
    EXPECT_EQ(loads.levels[0].parts.watts, 3 * 3685);
    EXPECT_EQ(loads.rows[0].compressor.watts, 3685) << "a row is one room";
    EXPECT_EQ(loads.total.rooms, 5);
    const std::string text = StoreText(store, kExample);
    EXPECT_NE(text.find("format = 5\n"), std::string::npos);
    EXPECT_NE(text.find("count = 3\n"), std::string::npos);
    Store back;
    std::string why;
    ASSERT_TRUE(ParseStoreText(text, kExample, back, why)) << why;
    EXPECT_EQ(back, store);
    for (const char* bad : {"0", "1.5", "-2", "1e10", "два", "1001"}) {
        EXPECT_FALSE(ParseStoreText("[store]\n[room]\nfile = a.cfg\ncount = " + std::string(bad) + "\n", "/x", back, why)) << bad;
        EXPECT_EQ(why, "строка 4: количество камер «" + std::string(bad) + "» — не целое число от 1 до 1000");
    }

    store.rooms[0].count = 1;
    store.rooms.push_back(store.rooms[1]);
    store.rooms.push_back(store.rooms[1]);
    EXPECT_EQ((RepeatedRoomFiles(store)), (std::vector<std::pair<std::string, int>>{{store.rooms[1].path, 3}}));
    const StoreRooms rooms = Computed(store);
    // Listed three times or once with a count of 3: the same sums and the same energy.
    Store counted = store;
    counted.rooms.resize(3);
    counted.rooms[1].count = 3;
    const StoreRooms countedRooms = Computed(counted);
    EXPECT_EQ(countedRooms.loads().levels[1].parts.watts, rooms.loads().levels[1].parts.watts);
    EXPECT_EQ(countedRooms.loads().total.rooms, rooms.loads().total.rooms);
    const StoreEnergy listed = ComputeStoreEnergy(store, rooms.rooms(), *Shipped(), nullptr);
    const StoreEnergy once = ComputeStoreEnergy(counted, countedRooms.rooms(), *Shipped(), nullptr);
    ASSERT_TRUE(listed.defined && once.defined);
    EXPECT_NEAR(once.totalKWh, listed.totalKWh, 1e-6 * listed.totalKWh);
    EXPECT_NEAR(once.volume, listed.volume, 1e-9);
    const StoreSheet sheet = MakeStoreSheet(store, rooms.rooms(), rooms.loads(), {kExample + "/x.coldstore", "", 0});
    EXPECT_EQ(sheet.notes.back(), "файл «frozen-1.cfg» указан в холодильнике 3 раза и считается столько же раз; "
                                  "одинаковые камеры задают одной строкой с количеством");
    EXPECT_NE(RepeatedFileNote("a", 5).find(" 5 раз и "), std::string::npos);
    EXPECT_NE(RepeatedFileNote("a", 12).find(" 12 раз и "), std::string::npos);
    EXPECT_NE(RepeatedFileNote("a", 22).find(" 22 раза и "), std::string::npos);
}

// A figure with more digits than the usual 15 is written so that it reads back as itself.
TEST(Store, FiguresComeBackExactly) {
    Store store, back;
    std::string why;
    ASSERT_TRUE(ParseStoreText("[store]\r\ntariff =8,888888888808888\nplant_levels = А:-15.000000000000002:75\n", "/x", store, why)) << why;
    ASSERT_TRUE(ParseStoreText(StoreText(store, "/x"), "/x", back, why)) << why;
    EXPECT_EQ(back, store);
    EXPECT_EQ(ExactText(0.1), "0.1");
    EXPECT_EQ(ExactText(8.888888888808888), "8.888888888808888");
    EXPECT_EQ(ExactText(1.7976931348623157e308), "1.7976931348623157E+308");
}

TEST(Store, RoomPathsSurviveMovingTheFolderAndSavingElsewhere) {
    TempDir dir;
    CopyExample(dir.path() / "a");
    fs::rename(dir.path() / "a", dir.path() / "b");
    const std::string moved = (dir.path() / "b" / "three_rooms.coldstore").string();
    Store store = Read(moved);
    EXPECT_EQ(store.rooms[1].path, (dir.path() / "b" / "frozen-1.cfg").string());
    EXPECT_TRUE(Computed(store).rooms()[2].read);

    // Saved in a folder beside it, the rooms are named from there.
    fs::create_directories(dir.path() / "c" / "sub");
    std::string error;
    ASSERT_TRUE(WriteStoreFile((dir.path() / "c" / "sub" / "s.coldstore").string(), store, error)) << error;
    EXPECT_NE(ReadBytes(dir.file("c/sub/s.coldstore")).find("file = ../../b/chilling.cfg\n"), std::string::npos);
    EXPECT_EQ(Read(dir.file("c/sub/s.coldstore")), store);
}

// Every name comes back exactly as it was, whatever blanks, tabs, line breaks or quotes it
// holds; a plain store stays in the first format, which older releases read.
TEST(Store, NamesWithBlanksAndLineBreaksComeBackExactly) {
    const struct {
        const char* title;
        const char* file;
        int format;
    } cases[] = {
        {"Холодильник", "камера 1.cfg", 1},          {"Холодильник", " камера.cfg", 4},
        {"Холодильник", "камера.cfg ", 4},           {"Холодильник", "ка\tмера.cfg", 4},
        {"Холодильник", "ка\r\nмера.cfg", 4},        {"Холодильник", "\"в кавычках\"", 4},
        {"Холодильник", "\"a\\\"b\x01\x7f\"", 4},   {" Склад\t№ 2 ", "камера.cfg", 4},
        {"\"Склад", "\"камера.cfg", 1},
    };
    TempDir dir;
    const std::string path = dir.file("s.coldstore");
    for (const auto& c : cases) {
        Store store;
        store.title = c.title;
        store.rooms = {{dir.file(c.file), 1}};
        std::string error;
        ASSERT_TRUE(WriteStoreFile(path, store, error)) << error;
        EXPECT_NE(ReadBytes(path).find("format = " + std::to_string(c.format) + "\n"), std::string::npos) << c.file;
        EXPECT_EQ(Read(path), store) << c.file;
    }
    // So do the plant's names: its compressor's file and its town.
    Store plant;
    plant.plant.town = " Москва\t";
    plant.plant.polynomialFile = dir.file("компрессор .txt");
    std::string error;
    ASSERT_TRUE(WriteStoreFile(path, plant, error)) << error;
    EXPECT_EQ(Read(path), plant);
    // Another spelling of a name is read as the name itself, so it is written as it was read.
    Store slashes;
    std::string why;
    ASSERT_TRUE(ParseStoreText("[store]\n[room]\nfile = ////x.cfg\n[room]\nfile = .\n", "/s", slashes, why)) << why;
    EXPECT_EQ(slashes.rooms[0].path, "/x.cfg");
    EXPECT_EQ(slashes.rooms[1].path, "/s");
    // A name that is no UTF-8 text cannot be written into the file: refused, the file kept.
    const std::string before = ReadBytes(path);
    Store store;
    store.rooms = {{dir.file("\xCA\xE0\xEC\xE5\xF0\xE0.cfg"), kAutoLevel}};
    EXPECT_FALSE(WriteStoreFile(path, store, error));
    EXPECT_NE(error.find("«" + path + "»"), std::string::npos) << error;
    EXPECT_NE(error.find("не в кодировке UTF-8; переименуйте файл"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(Store, ADamagedStoreFileNamesItsLine) {
    const std::string head = "[store]\nformat = 1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "строка 1: файл пуст"},
        {"title = x\n", "строка 1: «title» стоит вне раздела"},
        {"[room]\nfile = a.cfg\n", "строка 1: раздел [room] раньше раздела [store]"},
        {head + "operation_share_low = 120\n", "строка 3: доля «120» — не число от 0 до 100"},
        {head + "operation_share_low = 62,5\n[rooms]\n", "строка 4: неизвестный раздел [rooms]"},
        {head + "colour = blue\n", "строка 3: неизвестный параметр «colour» в разделе [store]"},
        {head + "\n[room]\nlevel = low\n\n[room]\nfile = b.cfg\n", "строка 4: в разделе [room] нет строки «file = …»"},
        {head + "[room]\nfile = a.cfg\nlevel = cold\n", "строка 5: уровень «cold» — не auto, СТ, НТ"},
        {"[store]\nformat = 3\nplant_levels = А:-10, А:-30\n", "строка 3: «plant_levels = А:-10, А:-30»: уровень «А» назван дважды"},
        {head + "[room]\nfile = a.cfg\nfile = b.cfg\n", "строка 5: «file» повторяется (первый раз в строке 4)"},
        {"[store]\r\nformat = 6\r\n", "строка 2: файл записан более новой версией программы (формат 6)"},
        {"[store]\nformat = 1e10\n", "строка 2: файл записан более новой версией программы (формат 1e10)"},
        {"[store]\nformat = -1e300\n", "строка 2: неверный номер формата «-1e300»"},
        {"[store]\nformat = 1.5\n", "строка 2: неверный номер формата «1.5»"},
        {head + "title = \"a\\q\"\n", "строка 3: неверная запись в кавычках"},
        {head + "[room]\nfile = \"\\x0\"\n", "строка 4: неверная запись в кавычках"},
        {head + "[room]\nfile = \"\\xC0\"\n", "строка 4: неверная запись в кавычках"},
        {head + "title = \xC7\xE0\xEB\n", "строка 3: текст не в кодировке UTF-8"},
        {head + "just words\n", "строка 3: ожидается «имя = значение» или заголовок раздела"},
    };
    for (const auto& [text, message] : cases) {
        Store store;
        store.title = "как было";
        std::string why;
        EXPECT_FALSE(ParseStoreText(text, "/x", store, why)) << message;
        EXPECT_EQ(why, message);
        EXPECT_EQ(store.title, "как было");
    }
    TempDir dir;
    std::ofstream(dir.file("bad.coldstore")) << "[store]\nformat = 1\noops\n";
    Store store;
    std::string why;
    EXPECT_FALSE(ReadStoreFile(dir.file("bad.coldstore"), store, why));
    EXPECT_EQ(why, "Файл холодильника «" + dir.file("bad.coldstore") + "» поврежден: строка 3: ожидается «имя = значение» или заголовок раздела");
}

// Format 1 knew two levels by the words medium and low: they become the warmest and the
// coldest of the store's levels, their shares the levels'. A store that needs nothing more is
// written as format 1 again; one with a level of its own as format 3, rooms naming theirs.
TEST(Store, FormatOneReadIntoTheLevelsAndKeptWhileItSuffices) {
    const std::string first = "# ColdRoom: холодильник. Камеры — файлы проектов; пути указаны от папки этого файла.\n"
                              "[store]\nformat = 1\ntitle = Т\noperation_share_medium = 60\noperation_share_low = 70\n\n"
                              "[room]\nfile = a.cfg\nlevel = low\n\n[room]\nfile = b.cfg\nlevel = auto\n";
    Store store;
    std::string why;
    ASSERT_TRUE(ParseStoreText(first, "/x", store, why)) << why;
    ASSERT_EQ(store.plant.levels.size(), 2u);
    EXPECT_EQ(store.plant.levels[0].share, 60);
    EXPECT_EQ(store.plant.levels[1].share, 70);
    EXPECT_EQ(store.rooms[0].level, 1);
    EXPECT_EQ(store.rooms[1].level, kAutoLevel);
    EXPECT_EQ(StoreText(store, "/x"), first);

    store.plant.levels.push_back({"Шоковая", -45, 50});
    store.rooms[1].level = 2;
    const std::string third = StoreText(store, "/x");
    EXPECT_NE(third.find("format = 3\n"), std::string::npos);
    EXPECT_NE(third.find("plant_levels = СТ:-15:60, НТ:-35:70, Шоковая:-45:50\n"), std::string::npos);
    EXPECT_NE(third.find("level = Шоковая\n"), std::string::npos);
    Store back;
    ASSERT_TRUE(ParseStoreText(third, "/x", back, why)) << why;
    EXPECT_EQ(back, store);

    // A format 2 store with levels of its own: low is the coldest, wherever it is listed.
    ASSERT_TRUE(ParseStoreText("[store]\nformat = 2\noperation_share_low = 55\nplant_levels = Н:-40, С:-10\n"
                               "[room]\nfile = a.cfg\nlevel = low\n[room]\nfile = b.cfg\nlevel = medium\n",
                               "/x", back, why)) << why;
    EXPECT_EQ(back.plant.levels[0].share, 55);
    EXPECT_EQ(back.rooms[0].level, 0);
    EXPECT_EQ(back.rooms[1].level, 1);
}

TEST(Store, AMissingRoomIsMarkedAndTheRestComputes) {
    TempDir dir;
    Store store = Read(CopyExample(dir.path()));
    fs::remove(dir.path() / "frozen-2.cfg");
    StoreRooms rooms = Computed(store);
    EXPECT_FALSE(rooms.rooms()[2].read);
    EXPECT_NE(rooms.rooms()[2].problem.find("frozen-2.cfg"), std::string::npos);
    EXPECT_TRUE(rooms.rooms()[0].read && rooms.rooms()[1].read);
    // Its level is not known: no level's sum can be told.
    EXPECT_FALSE(rooms.loads().levels[0].capacity.defined);
    EXPECT_NE(rooms.loads().total.compressor.problem.find("frozen-2.cfg"), std::string::npos);
    // Set by hand, only its own level waits for it.
    store.rooms[2].level = 1;
    rooms.Update(store, *Shipped());
    EXPECT_EQ(rooms.loads().levels[0].parts.watts, 3685);
    EXPECT_FALSE(rooms.loads().levels[1].compressor.defined);
    const StoreSheet sheet = MakeStoreSheet(store, rooms.rooms(), rooms.loads(), {});
    EXPECT_EQ(sheet.notes, std::vector<std::string>{"НТ: нет данных камеры «frozen-2.cfg»: " + rooms.rooms()[2].problem});
}

TEST(Store, ARoomChangedOnDiskIsReadAgain) {
    TempDir dir;
    const Store store = Read(CopyExample(dir.path()));
    StoreRooms rooms = Computed(store);
    EXPECT_FALSE(rooms.Update(store, *Shipped()));  // nothing changed: nothing read
    fs::copy_file(dir.path() / "frozen-1.cfg", dir.path() / "chilling.cfg", fs::copy_options::overwrite_existing);
    EXPECT_TRUE(rooms.Update(store, *Shipped()));
    EXPECT_EQ(rooms.rooms()[0].result.loads.capacity.watts, 2673);
    EXPECT_EQ(rooms.loads().levels[1].rooms, 3);
}

TEST(StoreSession, NothingIsWrittenOverAStoreThatCouldNotBeReadNorLostToAFailedSave) {
    TempDir dir;
    const std::string good = CopyExample(dir.path());
    std::ofstream(dir.file("bad.coldstore")) << "[store]\nformat = 1\n[room]\n";
    HeadlessUi ui;
    StoreSession session(ui, [] { return Shipped(); });
    ASSERT_TRUE(session.OpenFile(good));
    session.RemoveRoom(0);
    EXPECT_TRUE(session.modified());

    ui.answers = {MsgAnswer::Cancel};
    EXPECT_FALSE(session.New());  // the unsaved question, answered Cancel, keeps the work
    EXPECT_EQ(session.store().rooms.size(), 2u);

    EXPECT_FALSE(session.OpenFile(dir.file("bad.coldstore")));
    EXPECT_EQ(session.path(), good);
    EXPECT_EQ(session.store().rooms.size(), 2u);
    EXPECT_NE(ui.messages.back().text.find("строка 3"), std::string::npos);

    const std::string before = ReadBytes(good);
    for (FailingFileSystem::Step step : FailingFileSystem::kAllSteps) {
        FailingFileSystem failing(step);
        UseFileSystem use(failing);
        EXPECT_FALSE(session.Save());
        EXPECT_EQ(ReadBytes(good), before);
        EXPECT_TRUE(session.modified());
    }
    ASSERT_TRUE(session.Save());
    EXPECT_FALSE(session.modified());
    EXPECT_EQ(Read(good).rooms.size(), 2u);
    EXPECT_EQ(ReadBytes(dir.file("bad.coldstore")), "[store]\nformat = 1\n[room]\n");
    EXPECT_FALSE(session.AddRoom(dir.file("frozen-1.cfg")));  // already there
}

// The levels as the store window edits them: a figure out of range, a name twice or one the
// file could not tell from its words is refused with a message and changes nothing; a level
// taken out sends its rooms back to their temperature's level, and the last one stays.
TEST(StoreSession, LevelsAndCoilDifferencesAsTyped) {
    HeadlessUi ui;
    StoreSession session(ui, [] { return Shipped(); });
    ASSERT_TRUE(session.OpenFile(kExample + "/three_rooms.coldstore"));
    using F = StoreSession::LevelField;
    struct Case {
        F field;
        const char* text;
        bool taken;
    } cases[] = {{F::Evaporating, "-12,5", true}, {F::Evaporating, "25", false}, {F::Share, "101", false},
                 {F::Share, "60", true},          {F::Name, "НТ", false},       {F::Name, "А:Б", false},
                 {F::Name, "auto", false},        {F::Name, "Плюс", true}};
    for (const Case& c : cases) {
        const std::size_t messages = ui.messages.size();
        EXPECT_EQ(session.SetLevelField(0, c.field, c.text), c.taken) << c.text;
        EXPECT_EQ(ui.messages.size(), messages + (c.taken ? 0 : 1)) << c.text;
    }
    EXPECT_EQ(session.store().plant.levels[0], (PlantLevel{"Плюс", -12.5, 60}));
    // The chilling room at 60 %: total 3059, operation 443, cycle 80 %.
    EXPECT_EQ(session.rooms().loads().levels[0].parts.watts, std::round((3059 - 0.4 * 443) * 100 / 80));

    EXPECT_FALSE(session.SetCoilDifference(1, "45"));
    ASSERT_TRUE(session.SetCoilDifference(1, "20"));  // −20 − 20 = −40 °C: colder than НТ, put there with a warning
    EXPECT_TRUE(session.rooms().loads().rows[1].place.tooWarm);
    session.SetRoomLevel(2, 0);
    ASSERT_TRUE(session.AddLevel());
    EXPECT_EQ(session.store().plant.levels[2].evaporating, -45);
    EXPECT_EQ(session.rooms().loads().rows[1].place.level, 2) << "−40 °C is met by the new −45 °C level";
    ASSERT_TRUE(session.RemoveLevel(0));
    EXPECT_EQ(session.store().rooms[2].level, kAutoLevel) << "its room goes back to its temperature";
    EXPECT_EQ(session.rooms().loads().rows[2].place.level, 0);
    ASSERT_TRUE(session.RemoveLevel(0));
    EXPECT_FALSE(session.RemoveLevel(0));
    EXPECT_EQ(session.store().plant.levels.size(), 1u);
}

// The reports of the example store, line by line, against the files beside it.
TEST(StoreReports, ExactLines) {
    const std::string path = kExample + "/three_rooms.coldstore";
    const Store store = Read(path);
    const StoreRooms rooms = Computed(store);
    const StoreSheet sheet = MakeStoreSheet(store, rooms.rooms(), rooms.loads(), {path, "01.02.2026", 10});
    // COLDROOM_UPDATE_EXPECTED=1 writes the files instead, for review before committing.
    if (std::getenv("COLDROOM_UPDATE_EXPECTED")) {
        const std::pair<const char*, std::vector<std::string>> files[] = {
            {"store.txt", StoreTextLines(sheet)}, {"store.csv", StoreCsvLines(sheet)}, {"store.html", StoreHtmlLines(sheet)}};
        for (const auto& [name, content] : files) {
            std::ofstream out(kExample + "/expected/" + name, std::ios::binary);
            for (const std::string& line : content) out << line << '\n';
        }
    }
    auto lines = [](const std::string& file) {
        std::vector<std::string> out;
        std::ifstream in(kExample + "/expected/" + file);
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    };
    EXPECT_EQ(StoreTextLines(sheet), lines("store.txt"));
    EXPECT_EQ(StoreCsvLines(sheet), lines("store.csv"));
    EXPECT_EQ(StoreHtmlLines(sheet), lines("store.html"));
    EXPECT_EQ(KilowattText(LoadValue::of(8725)), "8.73");
    // The store's kilowatts are the levels' as shown added up: 1.32 + 3.16, not 4488 W rounded.
    StoreLoads split;
    split.levels.resize(2);
    split.levels[0].capacity = split.levels[0].parts = split.levels[0].compressor = LoadValue::of(1324);
    split.levels[1].capacity = split.levels[1].parts = split.levels[1].compressor = LoadValue::of(3164);
    split.total.capacity = split.total.parts = split.total.compressor = LoadValue::of(4488);
    const auto total = MakeStoreSheet(Store{}, {}, split, {"", "", 0}).levels.back();
    EXPECT_EQ(std::vector<std::string>(total.begin() + 5, total.end()),
              (std::vector<std::string>{"4488", "4.48", "4488", "4488", "4.48"}));
    // The PDF pages carry every figure of the sums.
    std::string printed;
    for (const StorePage& page : StorePages(sheet))
        for (const PrintCell& cell : page) printed += cell.text + "\n";
    for (const auto& row : sheet.levels)
        for (const std::string& cell : row) EXPECT_NE(printed.find(cell + "\n"), std::string::npos) << cell;
}

}  // namespace
}  // namespace coldroom::test
