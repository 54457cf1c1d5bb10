// CSV files: types inferred from the values, awkward text, delimiters, pipes and malformed files;
// and CSV as other programs write it.
#include "data/sources/csv_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "automation/date_time.h"
#include "automation/variant.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "fakes/records.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using namespace ado;
using testing::Records;
using testing::ScratchDir;

class CsvSourceTest : public ::testing::Test {
 protected:
  Result<std::shared_ptr<Recordset>> open(const std::string& content, int32_t cursor = adOpenStatic,
                                          const CsvFormat& format = {}) {
    dir_.write("data.csv", content);
    return Recordset::open(csvFile(files_, dir_ / "data.csv", format), cursor);
  }
  std::shared_ptr<Recordset> read(const std::string& content) {
    return testing::opened(open(content));
  }
  // The error of a file that fails, from the file's name on.
  std::string failure(const std::string& content, const CsvFormat& format = {}) {
    auto rs = open(content, adOpenStatic, format);
    EXPECT_FALSE(rs.isOk());
    if (rs.isOk()) return "";
    EXPECT_EQ(rs.error().number, ado::kErrDataSource);
    const std::string& message = rs.error().message;
    EXPECT_TRUE(message.starts_with(dir_.path())) << message;
    return message.substr(message.starts_with(dir_.path()) ? dir_.path().size() : 0);
  }
  // The file's records as text: the field names first, then each record's values; fields end in
  // "|", records in "/".
  std::string readAsText(const std::string& content, const CsvFormat& format) {
    auto rs = open(content, adOpenStatic, format);
    EXPECT_TRUE(rs.isOk()) << rs.error().message;
    if (!rs) return {};
    std::string out;
    for (int f = 0; f < rs.value()->fields().count(); ++f)
      out += rs.value()->fields()[f].name + "|";
    for (const auto& record : rows(*rs.value())) {
      out += "/";
      for (const Variant& v : record) out += toString(v).valueOr("?") + "|";
    }
    return out;
  }
  static Records rows(Recordset& rs) { return testing::recordsOf(rs); }
  PosixFileSystem files_;
  ScratchDir dir_;
};

TEST_F(CsvSourceTest, TypesAreInferredFromEveryValueAndLongOrLinkLikeTextIsLongText) {
  auto rs = read(
      "id,big,price,day,ok,name,mixed\n"
      "1,5000000000,1.5,2024-02-29,true,Ann,1\n"
      "2,1,2,2024-03-01 08:30:00,FALSE,Bob,x\n");
  const FieldList& f = rs->fields();
  std::vector<int32_t> types;
  for (int i = 0; i < f.count(); ++i) types.push_back(f[i].type);
  EXPECT_EQ(types, (std::vector<int32_t>{adInteger, adBigInt, adDouble, adDBTimeStamp, adBoolean,
                                         adVarWChar, adVarWChar}));
  EXPECT_EQ(f[5].definedSize, 3);
  const Date day = dateFromCivil({2024, 2, 29}), later = dateFromCivil({2024, 3, 1, 8, 30, 0});
  EXPECT_EQ(rows(*rs), (Records{{Variant(int32_t{1}), Variant(int64_t{5000000000}), Variant(1.5),
                                 Variant(day), Variant(true), Variant("Ann"),
                                 Variant("1")},  // one text value makes the whole column text
                                {Variant(int32_t{2}), Variant(int64_t{1}), Variant(2.0),
                                 Variant(later), Variant(false), Variant("Bob"), Variant("x")}}));
  // Text longer than 255 characters, or like a link, is long text.
  rs = read("short,long,link,most\na," + std::string(256, 'x') + ",Home#http://example.org/#," +
            std::string(255, 'y') + "\n");
  const FieldList& g = rs->fields();
  EXPECT_EQ((std::vector<int32_t>{g[0].type, g[1].type, g[2].type, g[3].type}),
            (std::vector<int32_t>{adVarWChar, adLongVarWChar, adLongVarWChar, adVarWChar}));
  EXPECT_EQ(g[3].definedSize, 255);
}

TEST_F(CsvSourceTest, EmptyUnquotedFieldsAreNullAndQuotedOnesAreEmptyText) {
  auto rs = read("n,t\n,\"\"\n5,\n");
  EXPECT_EQ(rs->fields()[0].type, adInteger);  // Nulls do not decide the type
  EXPECT_EQ(rows(*rs),
            (Records{{Variant::null(), Variant("")}, {Variant(int32_t{5}), Variant::null()}}));
  EXPECT_EQ(read("a,b\n,1\n")->fields()[0].type, adVarWChar);
}

// Fields are taken eight bytes at a time from a 64 KiB read buffer: quotes, delimiters, line
// breaks and bytes beyond ASCII read alike at every offset, and across the buffer's end.
TEST_F(CsvSourceTest, SpecialBytesReadAlikeAtEveryOffset) {
  std::string csv = "a,b\n";
  Records expected;
  for (size_t pad = 1; pad <= 17; ++pad) {
    const std::string x(pad, 'x');
    csv += x + ",\"" + x + "\"\"q," + x + "\r\n" + x + "\xC3\xA9\"\n";
    expected.push_back({Variant(x), Variant(x + "\"q," + x + "\r\n" + x + "\xC3\xA9")});
  }
  const std::string along(70000, 'y');
  csv += along + ",\"" + along + "\"\"\n\"\n";
  expected.push_back({Variant(along), Variant(along + "\"\n")});
  auto rs = read(csv);
  EXPECT_EQ(rows(*rs), expected);

  for (size_t pad = 0; pad <= 17; ++pad) {
    const std::string x(pad, 'x');
    EXPECT_EQ(failure("a\n" + x + "\xC3\n"), "data.csv:2: the text is not UTF-8") << pad;
    EXPECT_EQ(failure("a\n\"" + x + "\xFF" + x + "\"\n"), "data.csv:2: the text is not UTF-8")
        << pad;
    EXPECT_EQ(rows(*read("a\nx" + x + "\"\n"))[0][0], Variant("x" + x + "\""))
        << pad;  // a bare quote is text
  }
}

// Another delimiter takes the comma's place everywhere, quoted fields included.
TEST_F(CsvSourceTest, FieldsSplitAtTheDelimiterGiven) {
  for (const char delimiter : {';', '\t', '|'}) {
    const std::string d(1, delimiter);
    EXPECT_EQ(readAsText("name" + d + "price\n\"a" + d + "b\"" + d + "1,5\nc,d" + d + "2\n",
                         CsvFormat::delimitedBy(delimiter)),
              "name|price|/a" + d + "b|1,5|/c,d|2|");
  }
  for (const char unusable : {'"', '\n', '\r'})
    EXPECT_EQ(failure("a\n", CsvFormat::delimitedBy(unusable)),
              "data.csv: a quote or a line break cannot separate the fields of a CSV file");
}

TEST_F(CsvSourceTest, MissingFilesAreNamed) {
  auto rs = Recordset::open(csvFile(files_, dir_ / "nope.csv"));
  ASSERT_FALSE(rs.isOk());
  EXPECT_EQ(rs.error().number, err::kFileNotFound);
  EXPECT_EQ(rs.error().message, "File not found: " + (dir_ / "nope.csv"));
  auto folder = Recordset::open(csvFile(files_, dir_.path()));
  ASSERT_FALSE(folder.isOk());
  EXPECT_NE(folder.error().message.find(dir_.path()), std::string::npos);
}

// Standard input, a pipe: its bytes come once, and both passes of every run read them.
TEST_F(CsvSourceTest, APipeIsReadOnceForEveryRun) {
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  const std::string content = "n,t\n1,a\n2,b\n";
  ASSERT_EQ(::write(pipe[1], content.data(), content.size()), static_cast<ssize_t>(content.size()));
  ::close(pipe[1]);
  auto source = csvFile(files_, "/proc/self/fd/" + std::to_string(pipe[0]));
  for (int run = 0; run < 2; ++run) {
    auto rs = Recordset::open(source);
    ASSERT_TRUE(rs.isOk()) << rs.error().message;
    EXPECT_EQ(rows(*rs.value()),
              (Records{{Variant(int32_t{1}), Variant("a")}, {Variant(int32_t{2}), Variant("b")}}));
  }
  ::close(pipe[0]);
}

TEST_F(CsvSourceTest, ForwardOnlyStreamsAndStillFailsBeforeTheFirstRowOnABadFile) {
  std::string content = "n,t\n";
  for (int i = 0; i < 5000; ++i) content += std::to_string(i) + ",\"v" + std::to_string(i) + "\"\n";
  auto rs = open(content, adOpenForwardOnly).value();
  EXPECT_EQ(rs->fields()[0].type, adInteger);
  EXPECT_EQ(testing::countAndSum(*rs, [](int64_t n) { return "v" + std::to_string(n - 1); }),
            std::make_pair(int64_t{5000}, int64_t{4999} * 5000 / 2));
  // The type pass reads the whole file first, so a bad last line fails the open.
  EXPECT_FALSE(open(content + "1,2,3\n", adOpenForwardOnly).isOk());
}

// Line ends and blank lines (with one field, an empty line is a missing value; an empty name is
// made up), and CSV as other programs write it (the cases of the public csv-spectrum set that no
// test above reads already): line ends of CR alone, other encodings read through iconv, a
// byte-order mark, and quotes inside a field that does not start with one (characters).
TEST_F(CsvSourceTest, LineEndsAndCsvFromTheWildReadAsExpected) {
  const struct {
    std::string content, expected;
    CsvFormat format = {};
  } cases[] = {
      {"a,b\n1,2\n\n3,4", "a|b|/1|2|/3|4|"},  // no final line break
      {"a\n1\n\n3\n", "a|/1|/?|/3|"},
      {"a,,a2\n", "a|Field2|a2|"},
      {"a,b\r1,\"Once upon \ra time\"\r", "a|b|/1|Once upon \ra time|"},
      {"Name,Price\n\x93"
       "Best\x94 \x96 tea,\x80"
       "3\n",
       "Name|Price|/\u201CBest\u201D \u2013 tea|\u20AC3|",
       {.encoding = "windows-1252"}},
      {std::string("\xFF\xFE"
                   "a\0,\0b\0\n\0"
                   "1\0,\0\xE9\0\n\0",
                   18),
       "a|b|/1|\u00E9|",
       {.encoding = "UTF-16"}},
      {"\xEF\xBB\xBFname,note\r\n\"Smith, \"\"Jr\"\"\",\"one\r\ntwo\nthree\"\r\n"
       "Жанна,日本語 🙂\r\n'quoted',\"#hash\"\r\n",
       "name|note|/Smith, \"Jr\"|one\r\ntwo\nthree|/Жанна|日本語 🙂|/'quoted'|#hash|"},
      {"item,where\n12\" pipe,37'36\"N\nsay \"hi\",x\"\"y\n",
       "item|where|/12\" pipe|37'36\"N|/say \"hi\"|x\"\"y|"},
  };
  for (const auto& c : cases) EXPECT_EQ(readAsText(c.content, c.format), c.expected);
}

// A file that is not what its format says fails with an error naming the file and the line.
TEST_F(CsvSourceTest, MalformedFilesNameTheFileAndLine) {
  std::string longFile = "a,b\r\n";
  for (int i = 0; i < 5000; ++i) longFile += "1,2\r\n";  // beyond one read of the decoder
  struct Case {
    std::string content;
    CsvFormat format;
    std::string error;
  };
  const Case cases[] = {
      {"a,b\n1,2\n3\n", {}, "data.csv:3: 1 field, but the first line names 2"},
      {"a,b\n1,2,3\n", {}, "data.csv:2: 3 fields, but the first line names 2"},
      {"a,b\n1,\"x\"y\n", {}, "data.csv:2: text after the closing quote of a field"},
      {"a,b\n1,2\n3,\"never\nclosed\n",
       {},
       "data.csv:3: a quoted field is not closed before the end of the file"},
      {"a,b\n1,\xFF\n", {}, "data.csv:2: the text is not UTF-8"},
      {"", {}, "data.csv: the file is empty; its first line must name the fields"},
      {"Name,name\n", {}, "data.csv:1: the field name \"name\" appears twice"},
      {"a,b\n1,2\n3,\x81\n",
       {.encoding = "WINDOWS-1252"},
       "data.csv:3: byte 0x81 is no WINDOWS-1252 character"},
      {longFile + "3,\x81\r\n",
       {.encoding = "WINDOWS-1252"},
       "data.csv:5002: byte 0x81 is no WINDOWS-1252 character"},
      {std::string("a\0\n\0b", 5),
       {.encoding = "UTF-16LE"},
       "data.csv:2: the file ends inside a UTF-16LE character"},
      {"a,b\n1,2\n",
       {.encoding = "NO-SUCH-CODE"},
       "data.csv: unknown text encoding 'NO-SUCH-CODE' (iconv -l lists the known ones)"},
      {"item\nplain\n12\" pipe\n",
       {.encoding = {}, .strictQuotes = true},
       "data.csv:3: a quote inside a field that does not start with one (quote the field and "
       "double its quotes)"},
  };
  for (const Case& c : cases) EXPECT_EQ(failure(c.content, c.format), c.error);
}

}  // namespace
}  // namespace quelo
