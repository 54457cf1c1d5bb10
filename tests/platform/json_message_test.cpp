#include "platform/posix/json_message.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

TEST(JsonMessage, ReadsWhatTheDebuggingProtocolSends) {
  auto m = parseJson(
      R"( {"id":7,"result":{"data":"JVBER","list":[1,true,null]},"sessionId":"A\"\\\/\u00e9\ud83d\ude00\n"} )");
  ASSERT_TRUE(m);
  EXPECT_EQ((*m)["id"].number, 7);
  EXPECT_EQ((*m)["result"]["data"].text, "JVBER");
  EXPECT_EQ((*m)["result"]["list"].items.size(), 3u);
  EXPECT_TRUE((*m)["result"]["list"].items[1].boolean);
  EXPECT_EQ((*m)["sessionId"].text, "A\"\\/é😀\n");
  EXPECT_FALSE(m->has("error"));
  EXPECT_EQ((*m)["missing"]["deeper"].kind, Json::Kind::Null);
  const std::string text = "file:///a b/\"q\"\\\x01\t東京";  // a quoted string reads back as itself
  EXPECT_EQ(parseJson(jsonQuoted(text))->text, text);
}

TEST(JsonMessage, RefusesWhatIsNotJson) {
  for (const char* bad : {"", "{", "{\"a\":}", "[1,]", "\"open", "{\"a\":1} x",
                          "\"\\ud800\\u0041\"", "\"\\q\"", "1e"})
    EXPECT_FALSE(parseJson(bad)) << bad;
  EXPECT_FALSE(parseJson(std::string(100, '[') + std::string(100, ']'))) << "nesting is bounded";
}

}  // namespace
}  // namespace quelo
