#include "app/handshake.h"

#include <gtest/gtest.h>

#include <string>

TEST(Handshake, CompleteHandshakesAndTheirFields) {
  struct Case {
    std::string text;
    std::int32_t window;
    std::uint32_t message;
    std::int16_t functionId;
    std::string path;
  };
  const Case cases[] = {
      {"123,456,7,", 123, 456, 7, ""},
      {"123,456,7,C:\\out,put\\a.xml", 123, 456, 7, "C:\\out,put\\a.xml"},
      {" 12 , -3 ,+9, x", 12, static_cast<std::uint32_t>(-3), 9, " x"},
      {"abc,def,ghi,", 0, 0, 0, ""},     // numbers without digits are 0, still a handshake
      {"1,2,40000,", 1, 2, -25536, ""},  // the function identifier is kept in 16 bits
      {"1,2,65537,p", 1, 2, 1, "p"},
      {"99999999999,1,1,", 1215752191, 1, 1, ""},  // atol wraps as the C runtime does
      {"5,6,7,C:\\\x83\x5C\\a.xml", 5, 6, 7, "C:\\\x83\x5C\\a.xml"},
  };
  for (const Case& c : cases) {
    Handshake h = ParseHandshake(c.text);
    EXPECT_TRUE(h.present) << c.text;
    EXPECT_EQ(h.window, c.window) << c.text;
    EXPECT_EQ(h.message, c.message) << c.text;
    EXPECT_EQ(h.functionId, c.functionId) << c.text;
    EXPECT_EQ(h.outputPath, c.path) << c.text;
  }
}

TEST(Handshake, MissingCommasMeanNoHandshakeButKeepConvertedFields) {
  EXPECT_FALSE(ParseHandshake("").present);
  EXPECT_FALSE(ParseHandshake("123").present);
  Handshake two = ParseHandshake("123,456");
  EXPECT_FALSE(two.present);
  EXPECT_EQ(two.window, 123);  // the environment check still uses it as owner
  Handshake three = ParseHandshake("123,456,7");
  EXPECT_FALSE(three.present);
  EXPECT_EQ(three.window, 123);
  EXPECT_EQ(three.message, 456u);
  EXPECT_EQ(three.functionId, 1);  // the third field is only converted when its comma exists
  EXPECT_EQ(three.outputPath, "");
}

TEST(Handshake, LongPathsAreKeptWhole) {
  // Longer than the 260-byte buffer of a Windows program: never cut into another path.
  std::string path = "C:\\" + std::string(400, 'a') + "\\report.xml";
  Handshake h = ParseHandshake("1,2,3," + path);
  EXPECT_TRUE(h.present);
  EXPECT_EQ(h.outputPath, path);
}
