#include <gtest/gtest.h>

#include "refdb/reference_writer.h"
#include "refdb/test_db.h"

namespace coldroom {
namespace {

using test::TestDatabase;

RefTable Read(const std::string& path, const char* table) {
    ReferenceDatabase db;
    std::string error;
    EXPECT_TRUE(db.open(path, error)) << error;
    auto t = db.loadTable(table, error);
    EXPECT_TRUE(t) << error;
    return t ? *t : RefTable{};
}

std::vector<std::string> Names(const RefTable& t) {
    std::vector<std::string> names;
    for (int r = 0; r < t.rowCount(); ++r) names.push_back(t.text(0, r));
    return names;
}

// Positions follow rowid order through updates, deletes and appends, and a number text lands
// in a number column as a number, as the shipped database holds it.
TEST(ReferenceWriter, RowsAreAddressedByPositionAndKeepTheirOrder) {
    TestDatabase db;
    const std::string path = db.copyFrom(test::ShippedDatabasePath());
    const RefTable before = Read(path, "Tara");
    ASSERT_GE(before.rowCount(), 3);

    ReferenceWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, error)) << error;
    WriteFailure failure;
    ASSERT_TRUE(writer.updateRow("Tara", 1, {{1, "1.25"}}, failure)) << failure.message;
    ASSERT_TRUE(writer.deleteRow("Tara", 0, failure)) << failure.message;
    ASSERT_TRUE(writer.appendRow("Tara", {"Новая тара", "0.5"}, failure)) << failure.message;

    const RefTable after = Read(path, "Tara");
    ASSERT_EQ(after.rowCount(), before.rowCount());
    EXPECT_EQ(after.text(0, 0), before.text(0, 1));
    EXPECT_EQ(after.text(1, 0), "1.25");
    EXPECT_EQ(after.text(0, after.rowCount() - 1), "Новая тара");
    EXPECT_EQ(after.number(1, after.rowCount() - 1), 0.5);
    // Stored as a number, as the build of the database stores it.
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw, "SELECT typeof(SpecificHeat) FROM Tara ORDER BY rowid LIMIT 1", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "real");
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}

TEST(ReferenceWriter, AFailedWriteLeavesEveryTableAsItWas) {
    TestDatabase db = test::MinimalReferenceDatabase();
    const std::string path = db.write();
    test::ExecuteSql(path, "CREATE TRIGGER no_cold BEFORE UPDATE ON Tasks WHEN CAST(NEW.TempCell AS REAL) < -40 "
                           "BEGIN SELECT RAISE(ABORT, 'too cold'); END");
    const auto tasks = Names(Read(path, "Tasks"));
    const auto places = Names(Read(path, "Location"));

    struct Case {
        const char* what;
        ReferenceWriter::Access access;
        std::vector<RowChange> changes;
        const char* engineText;
    };
    const Case cases[] = {
        {"read-only file", ReferenceWriter::Access::ReadOnly, {RowChange::Update("Tasks", 0, {{0, "X"}})},
         "readonly"},
        {"engine refuses the second change", ReferenceWriter::Access::ReadWrite,
         {RowChange::Delete("Location", 3), RowChange::Update("Tasks", 2, {{1, "-45"}})}, "too cold"},
        {"a row past the end", ReferenceWriter::Access::ReadWrite,
         {RowChange::Append("Tasks", {"Y"}), RowChange::Update("Location", 99, {{0, "Z"}})}, "№ 100"},
        {"a full disk", ReferenceWriter::Access::NoSpace, {RowChange::Append("Location", {std::string(100000, 'x')})},
         "full"},
    };
    for (const Case& c : cases) {
        ReferenceWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, error, c.access)) << error;
        WriteFailure failure;
        EXPECT_FALSE(writer.apply(c.changes, failure)) << c.what;
        EXPECT_NE(failure.engineText.find(c.engineText), std::string::npos) << c.what << ": " << failure.engineText;
        EXPECT_NE(failure.message.find(failure.engineText), std::string::npos) << c.what;
        EXPECT_NE(failure.message.find(path), std::string::npos) << c.what;
        if (c.access == ReferenceWriter::Access::NoSpace) {
            EXPECT_NE(failure.message.find(": нет места на диске ("), std::string::npos) << failure.message;
        }
        EXPECT_EQ(Names(Read(path, "Tasks")), tasks) << c.what;
        EXPECT_EQ(Names(Read(path, "Location")), places) << c.what;
    }
}

// A change carries what it read: a row or a row count another program changed meanwhile
// makes it fail as stale; what the loader would refuse is never committed.
TEST(ReferenceWriter, ChangesCheckWhatTheyReadAndWhatTheyLeave) {
    TestDatabase db = test::MinimalReferenceDatabase();
    const std::string path = db.write();
    const RefTable tara = Read(path, "Tara");
    const std::vector<std::string> task = Read(path, "Tasks").rows[0];
    using Kind = WriteFailure::Kind;
    struct Case {
        const char* what;
        RowChange change;
        bool stored;
        Kind kind;
        const char* message;
    } cases[] = {
        {"as read", RowChange::Update("Tara", 0, {{1, "0.5"}}).expecting(tara.rows[0], 1), true, Kind::Engine, ""},
        // Another program changed the row just written: this one is no longer what was read.
        {"row changed", RowChange::Update("Tara", 0, {{1, "0.7"}}).expecting(tara.rows[0], 1), false, Kind::Stale,
         "Строка изменена другой программой: таблица «Tara», строка 1"},
        {"row count changed", RowChange::Append("Tara", {"Ящик", "1"}).expecting({}, 2), false, Kind::Stale,
         "Строка изменена другой программой"},
        {"a number as text", RowChange::Delete("Tasks", 0).expecting({"Задача 1", "0.0", "20", "4", "90", "24", "0.50", "1"}, 17),
         false, Kind::Refused, "не хватает строк"},
        {"a product that is not there", RowChange::Update("Tasks", 0, {{7, "1,2"}}), false, Kind::Refused,
         "«Reference»: нет продукта с номером 2"},
        {"above the task dialog's 36 °C", RowChange::Update("Tasks", 1, {{2, "38"}}), false, Kind::Refused,
         "с ним программа не смогла бы загрузить справочные данные. В таблице «Tasks»"},
    };
    for (const Case& c : cases) {
        ReferenceWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, error)) << error;
        WriteFailure failure;
        EXPECT_EQ(writer.apply({c.change}, failure), c.stored) << c.what << ": " << failure.message;
        if (c.stored) continue;
        EXPECT_EQ(failure.kind, c.kind) << c.what;
        EXPECT_NE(failure.message.find(c.message), std::string::npos) << c.what << ": " << failure.message;
    }
    EXPECT_EQ(Read(path, "Tara").rows[0][1], "0.5");
    EXPECT_EQ(Read(path, "Tasks").rows[0], task);
}

TEST(ReferenceWriter, NeverCreatesADatabase) {
    TestDatabase db;
    ReferenceWriter writer;
    std::string error;
    EXPECT_FALSE(writer.open(db.pathOf("missing.dtx"), error));
    EXPECT_FALSE(std::filesystem::exists(db.pathOf("missing.dtx")));
    EXPECT_NE(error.find("файл не найден"), std::string::npos);
}

}  // namespace
}  // namespace coldroom
