#include "data/sources/sqlite_source.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "automation/date_time.h"
#include "fakes/records.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using namespace ado;

// The declared type decides the field, by SQLite's own affinity rules and the size given; a
// type SQLite has no affinity for leaves it to the first value.
TEST(SqliteColumnType, DeclaredTypesFollowTheAffinityRules) {
  struct Case {
    const char* declared;
    int32_t type, size;
  } cases[] = {
      {"POINT", adInteger, 4},  // INT comes first
      {"NCHAR ( 7 )", adVarWChar, 7},
      {"VARCHAR", adLongVarWChar, 536870910},
      {"double precision", adDouble, 8},
  };
  for (const Case& c : cases) {
    auto f = sqliteColumnType(c.declared);
    ASSERT_TRUE(f.has_value()) << c.declared;
    EXPECT_EQ(std::make_pair(f->type, f->definedSize), std::make_pair(c.type, c.size))
        << c.declared;
  }
  EXPECT_FALSE(sqliteColumnType("").has_value());
  EXPECT_FALSE(sqliteColumnType("JSON").has_value());
}

class SqliteSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exec(
        "CREATE TABLE items (id INTEGER, big BIGINT, price REAL, amount NUMERIC, ok BOOLEAN,"
        " sold DATETIME, code VARCHAR(10), note TEXT, pic BLOB, other JSON)");
  }
  void exec(const std::string& sql) { testing::sqlExec(shop, sql); }
  Result<std::shared_ptr<Recordset>> query(const std::string& sql, int32_t cursor = adOpenStatic) {
    return Recordset::open(sqliteQuery(files, shop, sql), cursor);
  }

  testing::ScratchDir dir;
  PosixFileSystem files;
  const std::string shop = dir / "shop.db";
};

// A counted run counts what it then reads, a PRAGMA too; one read ahead as a record set keeps its
// count until it moves.
TEST_F(SqliteSourceTest, CountedRunsCountTheirRows) {
  exec("INSERT INTO items (id) VALUES (1), (2), (3)");
  struct Case {
    const char* sql;
    std::optional<int64_t> count;
    int64_t rows;
  };
  for (const Case& c :
       {Case{"SELECT id FROM items ; ", 3, 3}, Case{"PRAGMA table_info(items)", 10, 10}}) {
    SCOPED_TRACE(c.sql);
    auto rs = Recordset::open(countedRows(sqliteQuery(files, shop, c.sql)), adOpenForwardOnly);
    ASSERT_TRUE(rs.isOk()) << rs.error().message;
    EXPECT_EQ(rs.value()->countedRecords(), c.count);
    auto all = rs.value()->takeRecords(100);
    ASSERT_TRUE(all.isOk());
    EXPECT_EQ(all.value()->recordCount().value(), c.rows);
    EXPECT_TRUE(rs.value()->eof());
    EXPECT_FALSE(rs.value()->countedRecords().has_value());
  }
}

// A counted run is read back in pieces: rows that cross from one piece to the next, and rows
// longer than a piece, come back whole.
TEST_F(SqliteSourceTest, CountedRunsGiveBackLongRowsWhole) {
  exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)"
      " INSERT INTO items (id, note) SELECT i, printf('%d:%.*c', i, i * 3001, 'x') FROM n");
  for (const Counting counting : {Counting::First, Counting::WhileRead}) {
    auto rs = Recordset::open(
        countedRows(sqliteQuery(files, shop, "SELECT id, note FROM items"), counting),
        adOpenForwardOnly);
    ASSERT_TRUE(rs.isOk()) << rs.error().message;
    Recordset& r = *rs.value();
    int id = 0;
    while (!r.eof()) {
      ++id;
      const std::string note = std::to_string(id) + ":" + std::string(id * 3001, 'x');
      ASSERT_EQ(r.value("note").value(), Variant(note)) << "row " << id;
      ASSERT_TRUE(r.moveNext().isOk());
    }
    EXPECT_EQ(id, 40);
    EXPECT_EQ(*r.runRecordsKnown(), 40);
  }
}

// A run counted while it is read hands out its first rows before its count is known; a source
// that fails part-way fails the reader where it is, and one that never ends is stopped when the
// record set is dropped.
TEST_F(SqliteSourceTest, RunsCountedWhileReadWaitForTheirRows) {
  const std::string endless =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i, "
      "json_extract(CASE WHEN i = 50000 THEN 'bad' ELSE '{}' END, '$') AS j FROM n";
  for (const std::string& sql : {endless, endless + " LIMIT 60000"}) {
    SCOPED_TRACE(sql);
    auto rs = Recordset::open(countedRows(sqliteQuery(files, shop, sql), Counting::WhileRead),
                              adOpenForwardOnly);
    ASSERT_TRUE(rs.isOk()) << rs.error().message;
    Recordset& r = *rs.value();
    EXPECT_EQ(r.runRecordsAtLeast(10)->valueOr(-1), 10);
    auto first = r.takeRecords(10);
    ASSERT_TRUE(first.isOk());
    EXPECT_EQ(first.value()->recordCount().value(), 10);
    auto all = r.runRecordsAtLeast(INT64_MAX);
    ASSERT_FALSE(all->isOk());
    EXPECT_NE(all->error().message.find("reading row 50000"), std::string::npos)
        << all->error().message;
    EXPECT_FALSE(r.runRecordsKnown().has_value());
    EXPECT_FALSE(r.takeRecords(100000).isOk());
  }
  auto rs = Recordset::open(countedRows(sqliteQuery(files, shop,
                                                    "WITH RECURSIVE n(i) AS (SELECT "
                                                    "1 UNION ALL SELECT i + 1 FROM "
                                                    "n) SELECT i FROM n"),
                                        Counting::WhileRead),
                            adOpenForwardOnly);
  ASSERT_TRUE(rs.isOk());
  EXPECT_EQ(rs.value()->runRecordsAtLeast(100000)->valueOr(-1), 100000);
  rs.value().reset();  // returns: the endless read is stopped
}

TEST_F(SqliteSourceTest, ValuesAndColumnsOfTablesAndExpressions) {
  exec(
      "INSERT INTO items VALUES (1, 5000000000, 2.5, 10, 1, '2024-02-29 13:05:09', 'A-1',"
      " 'Grüße \"x\"' || char(13, 10) || 'Жук', x'00FF', '{\"a\":1}')");
  exec("INSERT INTO items VALUES (3000000000, 2, NULL, 1.25, 0, 'not a date', NULL, '', NULL, 7)");
  auto rs = query("SELECT * FROM items ORDER BY rowid").value();
  EXPECT_EQ(rs->fields()[9].type, adVarWChar);  // unknown declared type: from its first value
  EXPECT_EQ(rs->cell(8).value().text, std::string_view("\x00\xFF", 2));
  // A whole number too big for a Long is kept whole; a date that is none, as it is stored.
  auto values =
      query("SELECT id, big, price, amount, ok, sold, code, note, other FROM items").value();
  EXPECT_EQ(testing::recordsOf(*values),
            (testing::Records{{Variant(int32_t{1}), Variant(int64_t{5000000000}), Variant(2.5),
                               Variant(int32_t{10}), Variant(true),
                               Variant(dateFromCivil({2024, 2, 29, 13, 5, 9})), Variant("A-1"),
                               Variant("Grüße \"x\"\r\nЖук"), Variant("{\"a\":1}")},
                              {Variant(int64_t{3000000000}), Variant(int64_t{2}), Variant::null(),
                               Variant(1.25), Variant(false), Variant("not a date"),
                               Variant::null(), Variant(""), Variant(int32_t{7})}}));
  // Expressions take the type of their first value; an empty result still describes its columns.
  rs = query("SELECT 1 + 1 AS two, 0.5 * 3, 'x' || 'y' AS xy, NULL AS empty, zeroblob(2) AS z")
           .value();
  const FieldList& f = rs->fields();
  EXPECT_EQ((std::vector<int32_t>{f[0].type, f[1].type, f[2].type, f[3].type, f[4].type}),
            (std::vector<int32_t>{adInteger, adDouble, adVarWChar, adVarWChar, adLongVarBinary}));
  EXPECT_EQ(f[1].name, "0.5 * 3");
  EXPECT_EQ(rs->value("xy").value(), Variant("xy"));
  auto empty = query("SELECT id, code FROM items WHERE id IS NULL").value();
  EXPECT_TRUE(empty->eof());
  EXPECT_EQ(empty->fields().count(), 2);
  EXPECT_EQ(empty->fields()[1].definedSize, 10);
}

// Each failure names the file and what failed; the database is opened read-only, so a statement
// that writes fails and changes nothing.
TEST_F(SqliteSourceTest, FailuresAreClearAndChangeNothing) {
  exec("INSERT INTO items (id) VALUES (1), (2), (3)");
  dir.write("text.db",
            "this is not a database, just some text that is long enough to have a header....");
  const std::string db = shop,
                    readOnly = ": reading row 1 failed: attempt to write a readonly database";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // file, query, message
      {dir / "nope.db", "SELECT 1", "File not found: " + (dir / "nope.db")},
      {dir / "text.db", "SELECT 1 FROM items",
       dir / "text.db: the query failed: file is not a database"},
      {db, "SELECT * FROM nowhere", db + ": the query failed: no such table: nowhere"},
      {db, "SELEKT 1", db + ": the query failed: near \"SELEKT\": syntax error"},
      {db, "SELECT 1; DELETE FROM items", db + ": the query holds more than one statement"},
      {db, "DELETE FROM items", db + ": the query returns no columns"},
      {db, "  ", db + ": the query is empty"},
      {db, "SELECT CASE WHEN id = 3 THEN abs(-9223372036854775807 - 1) ELSE id END FROM items",
       db + ": reading row 3 failed: integer overflow"},  // a failure while stepping names the row
      {db, "DELETE FROM items RETURNING id", db + readOnly},
  };
  for (const auto& [file, sql, message] : cases)
    EXPECT_EQ(Recordset::open(sqliteQuery(files, file, sql)).error().message, message) << sql;
  EXPECT_EQ(query("SELECT sum(id) AS s FROM items").value()->value(0).value(), Variant(int32_t{6}));
}

TEST_F(SqliteSourceTest, ForwardOnlyStreamsAndRequeryReadsAgain) {
  exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)"
      " INSERT INTO items (id, code) SELECT i, 'c' || i FROM n");
  auto rs = query("SELECT id, code FROM items ORDER BY id", adOpenForwardOnly).value();
  EXPECT_EQ(testing::countAndSum(*rs, [](int64_t n) { return "c" + std::to_string(n); }),
            std::make_pair(int64_t{10000}, int64_t{10000} * 10001 / 2));
  auto all = query("SELECT id FROM items").value();
  exec("INSERT INTO items (id) VALUES (10001)");
  EXPECT_EQ(all->recordCount().value(), 10000);
  ASSERT_TRUE(all->requery().isOk());
  EXPECT_EQ(all->recordCount().value(), 10001);
}

}  // namespace
}  // namespace quelo
