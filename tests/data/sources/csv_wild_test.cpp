// CSV as other programs write it: cases of the public csv-spectrum set (their records as that set
// expects them, written here as text), and quotes inside unquoted fields taken as characters.
#include <gtest/gtest.h>

#include "automation/variant.h"
#include "data/recordset/recordset.h"
#include "data/sources/csv_source.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using Table = std::vector<std::vector<std::string>>;

// The file's records as text: the field names first, then each record's values.
Table readAsText(const std::string& content) {
  testing::ScratchDir dir;
  PosixFileSystem files;
  dir.write("case.csv", content);
  auto rs = Recordset::open(csvFile(files, dir / "case.csv"));
  EXPECT_TRUE(rs.isOk()) << rs.error().message;
  if (!rs.isOk()) return {};
  Recordset& r = *rs.value();
  Table out(1);
  for (int f = 0; f < r.fields().count(); ++f) out[0].push_back(r.fields()[f].name);
  while (!r.eof()) {
    out.emplace_back();
    for (int f = 0; f < r.fields().count(); ++f) out.back().push_back(toString(r.value(f).value()).valueOr("?"));
    EXPECT_TRUE(r.moveNext().isOk());
  }
  return out;
}

TEST(CsvFromTheWild, ReadsAsExpected) {
  struct Case {
    const char* name;
    std::string content;
    Table expected;
  };
  const Case cases[] = {
      {"simple", "a,b,c\n1,2,3\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
      {"simple_crlf", "a,b,c\r\n1,2,3\r\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
      {"comma_in_quotes", "first,last,address,city\nJohn,Doe,120 any st.,\"Anytown, WW\"\n",
       {{"first", "last", "address", "city"}, {"John", "Doe", "120 any st.", "Anytown, WW"}}},
      {"escaped_quotes", "a,b\n1,\"ha \"\"ha\"\" ha\"\n3,4\n", {{"a", "b"}, {"1", "ha \"ha\" ha"}, {"3", "4"}}},
      {"newlines", "a,b,c\n1,2,3\n\"Once upon \na time\",5,6\n7,8,9\n",
       {{"a", "b", "c"}, {"1", "2", "3"}, {"Once upon \na time", "5", "6"}, {"7", "8", "9"}}},
      {"quotes_and_newlines", "a,b\n1,\"ha \n\"\"ha\"\" \nha\"\n3,4\n",
       {{"a", "b"}, {"1", "ha \n\"ha\" \nha"}, {"3", "4"}}},
      {"empty", "a,b,c\n1,\"\",\"\"\n2,3,4\n", {{"a", "b", "c"}, {"1", "", ""}, {"2", "3", "4"}}},
      {"utf8", "a,b,c\n1,2,3\n4,5,\xCA\xA4\n", {{"a", "b", "c"}, {"1", "2", "3"}, {"4", "5", "\xCA\xA4"}}},
      {"json", "key,val\n1,\"{\"\"type\"\": \"\"Point\"\", \"\"coordinates\"\": [102.0, 0.5]}\"\n",
       {{"key", "val"}, {"1", "{\"type\": \"Point\", \"coordinates\": [102.0, 0.5]}"}}},
      // A quote inside a field that does not start with one is a character.
      {"bare quotes", "item,where\n12\" pipe,37'36\"N\nsay \"hi\",x\"\"y\n",
       {{"item", "where"}, {"12\" pipe", "37'36\"N"}, {"say \"hi\"", "x\"\"y"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(readAsText(c.content), c.expected) << c.name;
}

}  // namespace
}  // namespace quelo
