#include "data/sources/query_statement.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

using namespace std::string_literals;

// Texts that would run more than one query on some server, or something else than a query, and
// the words of their refusal; a server not known here reads them as every known server does.
TEST(OdbcQueryGuard, RefusesWhatAnyServerWouldReadAsMoreThanOneQuery) {
  struct Case {
    std::string sql, words;
  } const cases[] = {
      {"SELECT 1; COMMIT; BEGIN READ WRITE; DELETE FROM t; COMMIT", "the query goes on after its ';'"},
      {"SELECT 1;;", "goes on after its ';'"},
      {"/* /* */ SELECT */ DELETE FROM t", "DELETE is not a query (SELECT, WITH, VALUES, TABLE or SHOW) (as PostgreSQL"},
      {"/*!DELETE FROM t WHERE id IN*/ (SELECT 1)", "run the text of a /*! ... */ comment"},
      {"SELECT 1 /*M!100000 ; DELETE FROM t */", "/*! ... */ comment"},
      {"SELECT 1 # comment\n; DELETE FROM t", "goes on after its ';'"},
      {"SELECT 1 --'\n'; DELETE FROM t; SELECT '", "one statement (as MariaDB reads"},
      {"SELECT 'a\\'; DELETE FROM t; -- '", "one statement (as PostgreSQL reads"},
      {"SELECT \"a\\\"; DELETE FROM t; -- \"", "one statement (as PostgreSQL reads"},
      {"SELECT E'\\''; DELETE FROM t; -- '", "goes on after its ';'"},
      {"SELECT $$ ; $$; DELETE FROM t", "goes on after its ';'"},
      {"SELECT [ ' ] ; DELETE FROM t; -- '", "one statement (as SQLite reads"},
      {"SELECT 1 -- a\r; DELETE FROM t", "a carriage return inside a line comment"},
      {"SELECT n FROM t INTO OUTFILE '/tmp/x'", "INTO OUTFILE writes a file on the server"},
      {"SELECT n INTO /* x */ dumpfile '/tmp/x' FROM t", "INTO DUMPFILE writes a file on the server"},
      {"DELETE FROM t", "a report only reads: DELETE is not a query"},
      {" /* c */ (INSERT INTO t VALUES (2))", "INSERT is not a query"},
      {"; SELECT 1", "; is not a query"},
      {"'SELECT'", "' is not a query"},
      {"", "the query is empty"},
      {" -- nothing\n /* here */ ", "the query is empty"},
      {"SELECT 'open", "the quote ' is not closed"},
      {"SELECT $x$ open", "the quote $x$ is not closed"},
      {"SELECT 1 /* open /* */", "a /* comment is not closed (as PostgreSQL reads"},
      {"SELECT 1\0; DELETE FROM t"s, "the query holds a NUL character"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    Status s = checkOneQuery(c.sql, "SomeServer", "ODBC");
    ASSERT_FALSE(s.isOk());
    EXPECT_EQ(s.error().message.find("ODBC: "), 0u) << s.error().message;
    EXPECT_NE(s.error().message.find(c.words), std::string::npos) << s.error().message;
  }
}

// A query passes as its server reads it: PostgreSQL's dollar quotes and escape strings hold a
// ";" that MariaDB would read as the end of the statement.
TEST(OdbcQueryGuard, AllowsOneQueryWithItsQuotesAndComments) {
  struct Case {
    const char *dbms, *sql;
  } const cases[] = {
      {"SomeServer", "SELECT 1;"},
      {"SomeServer", "select 1 ; -- done\n /* end */ "},
      {"SomeServer", "SELECT ';' AS s, 'it''s; fine', \"a;b\" FROM t"},
      {"SomeServer", "SELECT 1 /* ; /* ; */ -- ; */"},
      {"SomeServer", "SELECT 1 -- ;\r\nFROM t"},
      {"SomeServer", "WITH x AS (SELECT 1 AS n) SELECT n FROM x"},
      {"SomeServer", "VALUES (1), (2)"},
      {"SomeServer", "((SELECT 1))"},
      {"SomeServer", "TABLE t"},
      {"SomeServer", "SHOW TABLES"},
      {"SomeServer", "SELECT outfile, into_x FROM t"},
      {"PostgreSQL", "SELECT $$;$$, $tag$ it's; $$ $tag$, E'it\\'s;', $1"},
      {"MariaDB", "SELECT `a;b`, 5 # comment; not a statement\n FROM t -- ;"},
      {"SQLite", "SELECT [a;b] FROM t"},
      {"ClickHouse", "SELECT 'it\\'s;', `a\\`;b`, \"c\\\";\" FROM t"},
  };
  for (const Case& c : cases) {
    Status s = checkOneQuery(c.sql, c.dbms, "ODBC");
    EXPECT_TRUE(s.isOk()) << c.sql << ": " << s.error().message;
  }
  EXPECT_FALSE(checkOneQuery("SELECT $$;$$", "MariaDB", "ODBC").isOk());
}

}  // namespace
}  // namespace quelo
