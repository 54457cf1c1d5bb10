#include "data/sources/csv_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "fakes/records.h"
#include "fakes/scratch_dir.h"
#include "automation/date_time.h"
#include "data/recordset/recordset.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

using namespace ado;
using testing::Records;
using testing::ScratchDir;

class CsvSourceTest : public ::testing::Test {
 protected:
  Result<std::shared_ptr<Recordset>> open(const std::string& content, int32_t cursor = adOpenStatic) {
    dir_.write("data.csv", content);
    return Recordset::open(csvFile(files_, dir_ / "data.csv"), cursor);
  }
  std::shared_ptr<Recordset> read(const std::string& content) {
    auto rs = open(content);
    EXPECT_TRUE(rs.isOk()) << rs.error().message;
    return rs.isOk() ? rs.value() : nullptr;
  }
  std::string failure(const std::string& content) {
    auto rs = open(content);
    EXPECT_FALSE(rs.isOk());
    return rs.isOk() ? "" : rs.error().message;
  }
  static Records rows(Recordset& rs) { return testing::recordsOf(rs); }
  PosixFileSystem files_;
  ScratchDir dir_;
};

TEST_F(CsvSourceTest, TypesAreInferredFromEveryValue) {
  auto rs = read(
      "id,big,price,day,ok,name,mixed\n"
      "1,5000000000,1.5,2024-02-29,true,Ann,1\n"
      "2,1,2,2024-03-01 08:30:00,FALSE,Bob,x\n");
  const FieldList& f = rs->fields();
  std::vector<int32_t> types, attributes;
  for (int i = 0; i < f.count(); ++i) types.push_back(f[i].type), attributes.push_back(f[i].attributes);
  EXPECT_EQ(types, (std::vector<int32_t>{adInteger, adBigInt, adDouble, adDBTimeStamp, adBoolean, adVarWChar, adVarWChar}));
  EXPECT_EQ(attributes, (std::vector<int32_t>{118, 118, 118, 122, 102, 102, 102}));
  EXPECT_EQ(f[5].definedSize, 3);
  const Date day = dateFromCivil({2024, 2, 29}), later = dateFromCivil({2024, 3, 1, 8, 30, 0});
  EXPECT_EQ(rows(*rs), (Records{{Variant(int32_t{1}), Variant(int64_t{5000000000}), Variant(1.5), Variant(day), Variant(true),
                                 Variant("Ann"), Variant("1")},  // one text value makes the whole column text
                                {Variant(int32_t{2}), Variant(int64_t{1}), Variant(2.0), Variant(later), Variant(false),
                                 Variant("Bob"), Variant("x")}}));
}

TEST_F(CsvSourceTest, LongOrLinkLikeTextIsLongText) {
  auto rs = read("short,long,link,most\na," + std::string(256, 'x') + ",Home#http://example.org/#," + std::string(255, 'y') + "\n");
  const FieldList& f = rs->fields();
  EXPECT_EQ((std::vector<int32_t>{f[0].type, f[1].type, f[2].type, f[3].type}),
            (std::vector<int32_t>{adVarWChar, adLongVarWChar, adLongVarWChar, adVarWChar}));
  EXPECT_EQ(f[1].attributes, 230);
  EXPECT_EQ(f[3].definedSize, 255);
}

TEST_F(CsvSourceTest, EmptyUnquotedFieldsAreNullAndQuotedOnesAreEmptyText) {
  auto rs = read("n,t\n,\"\"\n5,\n");
  EXPECT_EQ(rs->fields()[0].type, adInteger);  // Nulls do not decide the type
  EXPECT_EQ(rows(*rs), (Records{{Variant::null(), Variant("")}, {Variant(int32_t{5}), Variant::null()}}));
  EXPECT_EQ(read("a,b\n,1\n")->fields()[0].type, adVarWChar);
}

TEST_F(CsvSourceTest, AwkwardTextRoundTrips) {
  auto rs = read(
      "\xEF\xBB\xBFname,note\r\n"
      "\"Smith, \"\"Jr\"\"\",\"line one\r\nline two\nline three\"\r\n"
      "Жанна,日本語 🙂\r\n"
      "'quoted',\"#hash\"\r\n");
  EXPECT_EQ(rs->fields()[0].name, "name");  // the byte-order mark is not part of it
  EXPECT_EQ(rows(*rs), (Records{
                           {Variant("Smith, \"Jr\""), Variant("line one\r\nline two\nline three")},
                           {Variant("Жанна"), Variant("日本語 🙂")},
                           {Variant("'quoted'"), Variant("#hash")}}));
  EXPECT_EQ(rs->fieldIndex("NAME").value(), 0);
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

  const std::string path = dir_ / "data.csv";
  for (size_t pad = 0; pad <= 17; ++pad) {
    const std::string x(pad, 'x');
    EXPECT_EQ(failure("a\n" + x + "\xC3\n"), path + ":2: the text is not UTF-8") << pad;
    EXPECT_EQ(failure("a\n\"" + x + "\xFF" + x + "\"\n"), path + ":2: the text is not UTF-8") << pad;
    EXPECT_EQ(rows(*read("a\nx" + x + "\"\n"))[0][0], Variant("x" + x + "\"")) << pad;  // a bare quote is text
  }
}

// Another delimiter takes the comma's place everywhere, quoted fields included.
TEST_F(CsvSourceTest, FieldsSplitAtTheDelimiterGiven) {
  for (const char delimiter : {';', '\t', '|'}) {
    const std::string d(1, delimiter);
    dir_.write("data.csv", "name" + d + "price\n\"a" + d + "b\"" + d + "1,5\nc,d" + d + "2\n");
    auto rs = Recordset::open(csvFile(files_, dir_ / "data.csv", CsvFormat::delimitedBy(delimiter)));
    ASSERT_TRUE(rs.isOk()) << rs.error().message;
    EXPECT_EQ(rows(*rs.value()), (Records{{Variant("a" + d + "b"), Variant("1,5")},
                                                                     {Variant("c,d"), Variant("2")}}));
  }
  for (const char unusable : {'"', '\n', '\r'}) {
    auto rs = Recordset::open(csvFile(files_, dir_ / "data.csv", CsvFormat::delimitedBy(unusable)));
    ASSERT_FALSE(rs.isOk());
    EXPECT_EQ(rs.error().message, dir_ / "data.csv" + ": a quote or a line break cannot separate the fields of a CSV file");
  }
}

TEST_F(CsvSourceTest, LineEndsAndBlankLines) {
  EXPECT_EQ(rows(*read("a,b\n1,2\n\n3,4")).size(), 2u);  // no final line break; a blank line between records
  EXPECT_EQ(rows(*read("a,b\r1,2\r3,4\r")).size(), 2u);
  // With one field, an empty line is a missing value.
  EXPECT_EQ(rows(*read("a\n1\n\n3\n")), (Records{{Variant(int32_t{1})}, {Variant::null()}, {Variant(int32_t{3})}}));
  auto header = read("a,,a2\n");
  EXPECT_EQ(header->fields()[1].name, "Field2");
  EXPECT_EQ(header->recordCount().value(), 0);
}

TEST_F(CsvSourceTest, MalformedFilesNameTheFileAndLine) {
  const std::string path = dir_ / "data.csv";
  EXPECT_EQ(failure("a,b\n1,2\n3\n"), path + ":3: 1 field, but the first line names 2");
  EXPECT_EQ(failure("a,b\n1,2,3\n"), path + ":2: 3 fields, but the first line names 2");
  EXPECT_EQ(failure("a,b\n1,\"x\"y\n"), path + ":2: text after the closing quote of a field");
  EXPECT_EQ(failure("a,b\n1,2\n3,\"never\nclosed\n"),
            path + ":3: a quoted field is not closed before the end of the file");
  EXPECT_EQ(failure("a,b\n1,\xFF\n"), path + ":2: the text is not UTF-8");
  EXPECT_EQ(failure(""), path + ": the file is empty; its first line must name the fields");
  EXPECT_EQ(failure("Name,name\n"), path + ":1: the field name \"name\" appears twice");
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
    EXPECT_EQ(rows(*rs.value()), (Records{{Variant(int32_t{1}), Variant("a")},
                                                                     {Variant(int32_t{2}), Variant("b")}}));
  }
  ::close(pipe[0]);
}

TEST_F(CsvSourceTest, ForwardOnlyStreamsAndStillFailsBeforeTheFirstRowOnABadFile) {
  std::string content = "n,t\n";
  for (int i = 0; i < 5000; ++i) content += std::to_string(i) + ",\"v" + std::to_string(i) + "\"\n";
  auto rs = open(content, adOpenForwardOnly).value();
  EXPECT_EQ(rs->fields()[0].type, adInteger);
  int64_t n = 0, sum = 0;
  while (!rs->eof()) {
    sum += rs->value(0).value().asLong();
    ++n;
    ASSERT_TRUE(rs->moveNext().isOk());
  }
  EXPECT_EQ(n, 5000);
  EXPECT_EQ(sum, 4999 * 5000 / 2);
  // The type pass reads the whole file first, so a bad last line fails the open.
  EXPECT_FALSE(open(content + "1,2,3\n", adOpenForwardOnly).isOk());
}

}  // namespace
}  // namespace quelo
