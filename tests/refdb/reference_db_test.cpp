#include "refdb/reference_db.h"

#include "ui/controls.h"
#include "refdb/reference_writer.h"
#include "refdb/test_db.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

namespace coldroom {
namespace {

using test::ExecuteSql;
using test::MinimalReferenceDatabase;
using test::TestDatabase;

std::string Quoted(const std::string& path) { return "«" + path + "»"; }

TEST(ReferenceDb, ReadsEveryStoredTypeAsNumberText) {
    struct Case { test::TestValue stored; const char* text; double number; } cases[] = {
        {0.5, "0.5", 0.5},
        {3.0, "3", 3},  // SQLite itself would say "3.0"
        {3, "3", 3},
        {0.1, "0.1", 0.1},
        {-18.5, "-18.5", -18.5},
        {0.024, "0.024", 0.024},
        {1234567890123LL, "1234567890123", 1234567890123.0},
        {"0.5", "0.5", 0.5},
        {"12abc", "12abc", 12},
        {"1,5", "1,5", 1},
        {"", "", 0},
        {nullptr, "", 0},
        {"Ящики деревянные", "Ящики деревянные", 0},
    };
    TestDatabase db;
    std::vector<test::TestRow> rows;
    for (const auto& c : cases) rows.push_back({"x", c.stored});
    // A table outside the schema: the reference tables refuse values outside their ranges.
    db.addTable("Samples", {"Type", "SpecificHeat"}, rows);

    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(db.write(), error)) << error;
    auto table = ref.loadTable("Samples", error);
    ASSERT_TRUE(table) << error;
    ASSERT_EQ(table->rowCount(), static_cast<int>(std::size(cases)));
    for (int row = 0; row < table->rowCount(); ++row) {
        const auto& c = cases[row];
        EXPECT_EQ(table->text(1, row), c.text) << "row " << row;
        EXPECT_DOUBLE_EQ(table->number(1, row), c.number) << "row " << row;
    }
}

TEST(ReferenceDb, RowsComeInStoredOrderEvenWithACoveringIndex) {
    // A covering index makes a plain SELECT * free to return the rows in index order; the
    // row positions must stay the stored order.
    TestDatabase db;
    db.addTable("Isolation", {"material", "conductivity"},
                {{"Пенополиуретан", 0.024}, {"Бетон", 1.86}, {"Асфальтобетон", 1.05},
                 {"Железобетон", 2.04}});
    const std::string path = db.write();
    ExecuteSql(path, "CREATE INDEX by_name ON Isolation(material, conductivity)");
    // Statistics that call the index rows tiny make the planner prefer scanning the index.
    ExecuteSql(path, "ANALYZE; UPDATE sqlite_stat1 SET stat = stat || ' sz=1' "
                     "WHERE idx = 'by_name'");

    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(path, error)) << error;
    auto table = ref.loadTable("Isolation", error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->columns, (std::vector<std::string>{"material", "conductivity"}));
    std::vector<std::string> names;
    for (int row = 0; row < table->rowCount(); ++row) names.push_back(table->text(0, row));
    EXPECT_EQ(names, (std::vector<std::string>{"Пенополиуретан", "Бетон", "Асфальтобетон",
                                                "Железобетон"}));
}

TEST(ReferenceDb, PositionMinusOneReadsRowZeroAndOutOfRangeReadsEmpty) {
    RefTable t;
    t.columns = {"Type", "Absorption"};
    t.rows = {{"Сталь", "0.45"}, {"Бетон", "0.7"}};
    struct Case { int column, row; const char* text; double number; } cases[] = {
        {1, -1, "0.45", 0.45}, {0, -1, "Сталь", 0}, {1, 1, "0.7", 0.7},
        {1, 2, "", 0},         {1, -2, "", 0},      {2, 0, "", 0},
        {-1, 0, "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(t.text(c.column, c.row), c.text) << c.column << "," << c.row;
        EXPECT_DOUBLE_EQ(t.number(c.column, c.row), c.number) << c.column << "," << c.row;
    }
    EXPECT_EQ(RefTable().text(0, -1), "");
}

TEST(ReferenceDb, MinimalDatabaseLoadsEveryTableAndFillsLists) {
    TestDatabase db = MinimalReferenceDatabase();
    db.table("Location").rows[0][0] = "Абакан";
    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(db.write(), error)) << error;
    EXPECT_TRUE(ref.isOpen());
    EXPECT_EQ(ref.path(), db.pathOf("Data.dtx"));
    for (const TableSchema& schema : ReferenceSchema()) {
        auto table = ref.loadTable(schema.name, error);
        ASSERT_TRUE(table) << error;
        EXPECT_EQ(table->name, schema.name);
        EXPECT_EQ(table->rowCount(), schema.minimumRows) << schema.name;
    }

    auto places = ref.loadTable("Location", error);
    ASSERT_TRUE(places) << error;
    ListBox list;
    list.items = {"старое"};
    list.setIndex(0);
    FillList(list, *places);
    ASSERT_EQ(list.count(), 35);
    EXPECT_EQ(list.items[0], "Абакан");
    EXPECT_EQ(list.items[34], "Место 35");
    EXPECT_EQ(list.index(), -1);  // a refilled list has nothing chosen until the caller says so
}

TEST(ReferenceDb, TableAndColumnNamesMatchWithoutRegardToCase) {
    TestDatabase db;
    db.addTable("upper", {"TYPE", "absorption"}, {{"Бетон", 0.7}});
    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(db.write(), error)) << error;
    auto table = ref.loadTable("Upper", error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->name, "Upper");
    EXPECT_EQ(table->text(1, 0), "0.7");
}

TEST(ReferenceDb, ReopeningAndMovingKeepOneConnection) {
    TestDatabase one = MinimalReferenceDatabase();
    TestDatabase two;
    two.addTable("Tara", {"Type", "SpecificHeat"}, {{"Другая", 1}, {"Тара", 2}});
    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(one.write(), error)) << error;
    ASSERT_TRUE(ref.open(two.write(), error)) << error;
    EXPECT_EQ(ref.path(), two.pathOf("Data.dtx"));
    EXPECT_EQ(ref.loadTable("Tara", error)->rowCount(), 2);

    ReferenceDatabase moved = std::move(ref);
    EXPECT_TRUE(moved.isOpen());
    EXPECT_EQ(moved.loadTable("Tara", error)->text(0, 0), "Другая");
    EXPECT_FALSE(ref.isOpen());  // NOLINT(bugprone-use-after-move): the moved-from state is tested
    EXPECT_FALSE(ref.loadTable("Tara", error));
    EXPECT_FALSE(error.empty());

    // A failed open leaves the object closed rather than on the previous file.
    EXPECT_FALSE(moved.open(two.pathOf("нет.dtx"), error));
    EXPECT_FALSE(moved.isOpen());
    EXPECT_EQ(moved.path(), "");
}

TEST(ReferenceDb, DefaultPathIsBesideTheProgram) {
    std::filesystem::path path = DefaultDatabasePath();
    EXPECT_EQ(path.filename(), "Data.dtx");
    EXPECT_EQ(path.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

// Every way the reference database can be wrong gives a Russian message that names the file.
TEST(ReferenceDb, FailuresNameTheFileAndWhatIsWrong) {
    struct Case {
        const char* what;
        // Given the minimal database, returns the path to open.
        std::function<std::string(TestDatabase&)> make;
        const char* table;                                // "" when opening itself must fail
        const char* message;                              // with %s for the quoted path
    };
    // Each case starts from a valid minimal database in its own folder.
    auto minimal = [](std::function<void(TestDatabase&)> change) {
        return [change](TestDatabase& db) {
            change(db);
            return db.write();
        };
    };
    const Case cases[] = {
        {"missing file", [](TestDatabase& db) { return db.pathOf("Data.dtx"); }, "",
         "Не удается открыть базу данных %s: файл не найден."},
        {"missing folder", [](TestDatabase& db) { return db.pathOf("нет/Data.dtx"); }, "",
         "Не удается открыть базу данных %s: файл не найден."},
        {"a folder", [](TestDatabase& db) { return db.directory().string(); }, "",
         "Не удается открыть базу данных %s: это папка, а не файл."},
        {"text file",
         [](TestDatabase& db) { return db.writeFile("Data.dtx", "TaskName,TempCell\nА,1\n"); }, "",
         "Не удается открыть базу данных %s: файл не является базой данных."},
        {"empty file", [](TestDatabase& db) { return db.writeFile("Data.dtx", ""); }, "",
         "Не удается открыть базу данных %s: файл не является базой данных."},
        {"damaged file",
         [](TestDatabase& db) {
             std::ifstream in(db.write(), std::ios::binary);
             std::string bytes((std::istreambuf_iterator<char>(in)), {});
             for (size_t i = 100; i < 4096 && i < bytes.size(); ++i) bytes[i] = '\xA5';
             return db.writeFile("Data.dtx", bytes);
         },
         "", "Не удается открыть базу данных %s: файл базы данных поврежден."},
        {"missing table", minimal([](TestDatabase& db) { db.removeTable("Tasks"); }), "Tasks",
         "В базе данных %s нет таблицы «Tasks»."},
        {"missing column",
         minimal([](TestDatabase& db) {
             auto& t = db.table("ProdMeat");
             t.columns.erase(t.columns.begin() + 11);
             t.rows[0].erase(t.rows[0].begin() + 11);
         }),
         "ProdMeat", "В таблице «ProdMeat» базы данных %s нет столбца «Density»."},
        {"columns out of order",
         minimal([](TestDatabase& db) {
             db.table("Location").columns = {"City", "Temperature", "Longitude", "Humidity"};
         }),
         "Location",
         "В таблице «Location» базы данных %s нарушен порядок столбцов: столбец № 2 должен "
         "быть «Longitude», а найден «Temperature»."},
        {"extra column",
         minimal([](TestDatabase& db) { db.table("Tara").columns.push_back("Note"); }), "Tara",
         "В таблице «Tara» базы данных %s лишний столбец «Note»."},
        {"too few locations",
         minimal([](TestDatabase& db) { db.table("Location").rows.resize(12); }), "Location",
         "В таблице «Location» базы данных %s не хватает строк: нужно не меньше 35, найдено 12."},
        {"too few tasks", minimal([](TestDatabase& db) { db.table("Tasks").rows.resize(16); }),
         "Tasks",
         "В таблице «Tasks» базы данных %s не хватает строк: нужно не меньше 17, найдено 16."},
        {"too few parameters",
         minimal([](TestDatabase& db) { db.table("Others").rows.resize(4); }), "Others",
         "В таблице «Others» базы данных %s не хватает строк: нужно не меньше 5, найдено 4."},
        {"no products", minimal([](TestDatabase& db) { db.table("ProdMeat").rows.clear(); }),
         "ProdMeat",
         "В таблице «ProdMeat» базы данных %s не хватает строк: нужно не меньше 1, найдено 0."},
        {"table without rowid",
         [](TestDatabase& db) {
             std::string path = db.removeTable("Upper").write();
             ExecuteSql(path, "CREATE TABLE Upper (Type TEXT PRIMARY KEY, Absorption REAL) "
                              "WITHOUT ROWID");
             return path;
         },
         "Upper", "Не удается прочитать таблицу «Upper» базы данных %s: ошибка SQLite: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDatabase db = MinimalReferenceDatabase();
        const std::string path = c.make(db);
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, Quoted(path));

        ReferenceDatabase ref;
        std::string error;
        const bool opened = ref.open(path, error);
        if (*c.table == '\0') {
            EXPECT_FALSE(opened);
            EXPECT_FALSE(ref.isOpen());
            EXPECT_EQ(error, expected);
            continue;
        }
        ASSERT_TRUE(opened) << error;
        EXPECT_FALSE(ref.loadTable(c.table, error));
        EXPECT_EQ(error.substr(0, expected.size()), expected);
    }
}

TEST(ReferenceDb, ABadValueIsRefusedNamingFileTableRowAndColumn) {
    struct Case { const char* table; int row, column; test::TestValue value; const char* message; } cases[] = {
        {"Tasks", 0, 7, "1e10", "строка 1, столбец «Reference»: нет продукта с номером 10000000000 (значение «1e10»)."},
        {"Tasks", 2, 7, "1,2147483648", "строка 3, столбец «Reference»: нет продукта с номером 2147483648"},
        {"Tasks", 1, 7, "1,2", "строка 2, столбец «Reference»: нет продукта с номером 2 (значение «1,2»)."},
        {"Tasks", 0, 7, "1.5", "строка 1, столбец «Reference»: нет продукта с номером 1.5"},
        {"Tasks", 4, 6, 25, "строка 5, столбец «Velocity»: значение вне пределов (больше 0 до 20) (значение «25»)."},
        {"Tasks", 0, 1, "abc", "строка 1, столбец «TempCell»: не число (значение «abc»)."},
        {"ProdMeat", 0, 0, "", "строка 1, столбец «Name»: пустое название (значение «»)."},
        {"ProdMeat", 0, 5, "1,2,x\x1B", "строка 1, столбец «Enthalpy»: элемент списка не число (значение «1,2,x\\x1B»)."},
        {"ProdMeat", 0, 4, "1e400", "строка 1, столбец «Temperatures»: элемент списка не число"},
        {"ProdMeat", 0, 10, "0.7", "строка 1, столбец «ShapeA»: коэффициент формы может быть 0.56, 1, 0.5 или 0.33"},
        {"Location", 33, 2, nullptr, "строка 34, столбец «Temperature»: не число (значение «»)."},
        {"Others", 4, 1, -1e300, "строка 5, столбец «Value»: значение вне пределов (от 0 до 1000)"},
        // A task above 36 °C could never be confirmed in the task dialog.
        {"Tasks", 3, 2, 38, "строка 4, столбец «TempIn»: значение вне пределов (от -20 до 36)"},
        {"ProdMeat", 0, 11, 5, "строка 1, столбец «Density»: значение вне пределов (больше 10 до 1500)"},
    };
    for (const auto& c : cases) {
        TestDatabase db = MinimalReferenceDatabase();
        db.table(c.table).rows[static_cast<size_t>(c.row)][static_cast<size_t>(c.column)] = c.value;
        const std::string path = db.write();
        ReferenceDatabase ref;
        std::string error;
        ASSERT_TRUE(ref.open(path, error)) << error;
        EXPECT_FALSE(ref.loadTable(c.table, error)) << c.message;
        const std::string expected = "В таблице «" + std::string(c.table) + "» базы данных " + Quoted(path) + ", " + c.message;
        EXPECT_EQ(error.substr(0, expected.size()), expected);
    }
    // A property of 0, which older tables may hold, loads: the loads show it undefined.
    TestDatabase db = MinimalReferenceDatabase();
    for (int column : {1, 7, 11, 13}) db.table("ProdMeat").rows[0][static_cast<size_t>(column)] = 0;
    db.table("Isolation").rows[0][1] = 0;
    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(db.write(), error)) << error;
    EXPECT_TRUE(ref.loadTable("ProdMeat", error)) << error;
    EXPECT_TRUE(ref.loadTable("Isolation", error)) << error;
}

TEST(ReferenceDb, ALoadReadsOneMomentOfTheFileWhileAnotherProcessWrites) {
    constexpr int kFillers = 60;
    TestDatabase db = MinimalReferenceDatabase();
    auto& products = db.table("ProdMeat").rows;
    const auto kept = products[0];
    products.clear();
    for (int i = 0; i < kFillers; ++i) {
        products.push_back(kept);
        products.back()[0] = "Заполнитель " + std::to_string(i);
    }
    products.push_back(kept);  // "Продукт 1", last
    db.table("Tasks").rows[0][7] = std::to_string(kFillers + 1);
    for (int t = 1; t < 17; ++t) db.table("Tasks").rows[static_cast<size_t>(t)][7] = "0";
    const std::string path = db.write();

    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ReferenceWriter w;
        std::string error;
        WriteFailure failure;
        ProductDeletion deletion;
        bool ok = w.open(path, error);
        // A pause between the writes lets the loads in, as a person's clicks would.
        for (int i = 0; ok && i < kFillers; ++i, usleep(3000))
            ok = w.deleteProduct(RowChange::Delete("ProdMeat", 0), deletion, failure);
        _exit(ok ? 0 : 1);
    }
    int loads = 0;
    for (int status = 0; waitpid(writer, &status, WNOHANG) == 0; ++loads) {
        ReferenceDatabase ref;
        std::string error;
        ASSERT_TRUE(ref.open(path, error)) << error;
        auto tasks = ref.loadTable("Tasks", error);
        auto productTable = ref.loadTable("ProdMeat", error);
        ASSERT_TRUE(tasks && productTable) << error;
        EXPECT_EQ(productTable->text(0, static_cast<int>(tasks->number(7, 0)) - 1), "Продукт 1") << "load " << loads;
        if (HasFailure()) {
            kill(writer, SIGKILL);
            waitpid(writer, &status, 0);
            return;
        }
    }
    ReferenceDatabase ref;
    std::string error;
    ASSERT_TRUE(ref.open(path, error)) << error;
    EXPECT_EQ(ref.loadTable("Tasks", error)->text(7, 0), "1");
    EXPECT_GT(loads, 20);
}

TEST(ReferenceDb, OpeningAMissingFileDoesNotCreateIt) {
    TestDatabase db;
    const std::string path = db.pathOf("Data.dtx");
    ReferenceDatabase ref;
    std::string error;
    EXPECT_FALSE(ref.open(path, error));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::is_empty(db.directory()));
}

}  // namespace
}  // namespace coldroom
