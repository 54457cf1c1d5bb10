// CSV as other programs write it: cases of the public csv-spectrum set (their records as that set
// expects them, written here as text), quotes inside unquoted fields taken as characters, and files
// in other encodings read through iconv; and the errors of files that are not what they say.
#include <gtest/gtest.h>

#include "automation/variant.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "data/sources/csv_source.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using Table = std::vector<std::vector<std::string>>;

// The file's records as text: the field names first, then each record's values; or the error.
Result<Table> readAsText(const std::string& content, const CsvFormat& format = {}) {
  testing::ScratchDir dir;
  PosixFileSystem files;
  dir.write("case.csv", content);
  auto rs = Recordset::open(csvFile(files, dir / "case.csv", format));
  if (!rs) {
    std::string message = rs.error().message;  // from the file's name on
    if (message.starts_with(dir.path())) message.erase(0, dir.path().size());
    return makeError(rs.error().number, message);
  }
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

CsvFormat encoded(const char* encoding) {
  CsvFormat format;
  format.encoding = encoding;
  return format;
}

CsvFormat strict() {
  CsvFormat format;
  format.strictQuotes = true;
  return format;
}

TEST(CsvFromTheWild, ReadsAsExpected) {
  struct Case {
    const char* name;
    std::string content;
    Table expected;
    CsvFormat format = {};
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
      {"empty_crlf", "a,b,c\r\n1,\"\",\"\"\r\n2,3,4\r\n", {{"a", "b", "c"}, {"1", "", ""}, {"2", "3", "4"}}},
      {"newlines_crlf", "a,b,c\r\n1,2,3\r\n\"Once upon \r\na time\",5,6\r\n7,8,9\r\n",
       {{"a", "b", "c"}, {"1", "2", "3"}, {"Once upon \r\na time", "5", "6"}, {"7", "8", "9"}}},
      {"newlines_cr", "a,b,c\r1,2,3\r\"Once upon \ra time\",5,6\r7,8,9\r",
       {{"a", "b", "c"}, {"1", "2", "3"}, {"Once upon \ra time", "5", "6"}, {"7", "8", "9"}}},
      {"location_coordinates",
       "Contact Phone Number,Location Coordinates,Cities,Counties\n"
       "02095257564,37\xB0" "36'37.8\"N 121\xB0" "2'17.9\"W,Modesto,Stanislaus",
       {{"Contact Phone Number", "Location Coordinates", "Cities", "Counties"},
        {"02095257564", "37\u00B0" "36'37.8\"N 121\u00B0" "2'17.9\"W", "Modesto", "Stanislaus"}},
       encoded("WINDOWS-1252")},
      {"latin1", "a,b,c\n1,2,3\n4,5,\xA9\n", {{"a", "b", "c"}, {"1", "2", "3"}, {"4", "5", "\u00A9"}},
       encoded("ISO-8859-1")},
      // A spreadsheet's export in Windows-1252: its quotes, dashes and euro sign.
      {"windows-1252", "Name,Price\n\x93" "Best\x94 \x96 tea,\x80" "3\n", {{"Name", "Price"}, {"\u201CBest\u201D \u2013 tea", "\u20AC" "3"}},
       encoded("windows-1252")},
      {"utf-16 with a byte-order mark", std::string("\xFF\xFE" "a\0,\0b\0\n\0" "1\0,\0\xE9\0\n\0", 18),
       {{"a", "b"}, {"1", "\u00E9"}}, encoded("UTF-16")},
      // A quote inside a field that does not start with one is a character.
      {"bare quotes", "item,where\n12\" pipe,37'36\"N\nsay \"hi\",x\"\"y\n",
       {{"item", "where"}, {"12\" pipe", "37'36\"N"}, {"say \"hi\"", "x\"\"y"}}},
  };
  for (const Case& c : cases) {
    const Result<Table> read = readAsText(c.content, c.format);
    ASSERT_TRUE(read.isOk()) << c.name << ": " << read.error().message;
    EXPECT_EQ(read.value(), c.expected) << c.name;
  }
}

// A file that is not what its format says fails with an error naming the file and the line.
TEST(CsvFromTheWild, MalformedFilesNameTheLine) {
  std::string longFile = "a,b\r\n";
  for (int i = 0; i < 5000; ++i) longFile += "1,2\r\n";  // beyond one read of the decoder
  struct Case {
    std::string content;
    CsvFormat format;
    std::string error;
  };
  const Case cases[] = {
      {"a,b\n1,2\n3,\x81\n", encoded("WINDOWS-1252"), "case.csv:3: byte 0x81 is no WINDOWS-1252 character"},
      {longFile + "3,\x81\r\n", encoded("WINDOWS-1252"), "case.csv:5002: byte 0x81 is no WINDOWS-1252 character"},
      {"a,b\n1,\x80\n", {}, "case.csv:2: the text is not UTF-8"},
      {std::string("a\0\n\0b", 5), encoded("UTF-16LE"), "case.csv:2: the file ends inside a UTF-16LE character"},
      {"a,b\n1,2\n", encoded("NO-SUCH-CODE"), "case.csv: unknown text encoding 'NO-SUCH-CODE'"},
      {"item\nplain\n12\" pipe\n", strict(), "case.csv:3: a quote inside a field that does not start with one"},
  };
  for (const Case& c : cases) {
    const Result<Table> read = readAsText(c.content, c.format);
    ASSERT_FALSE(read.isOk()) << c.error;
    EXPECT_EQ(read.error().number, ado::kErrDataSource);
    EXPECT_TRUE(read.error().message.starts_with(c.error)) << read.error().message;
  }
}

}  // namespace
}  // namespace quelo
