#include "platform/text/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace brindle {
namespace {

// "宋体" in GBK.
const std::string kSongTiGbk = "\xCB\xCE\xCC\xE5";

// True when every byte of the text belongs to a complete, well-formed UTF-8 sequence.
bool IsWholeUtf8(const std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t n = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (n == 0 || pos + n > text.size()) return false;
    for (std::size_t i = 1; i < n; ++i) {
      if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return false;
    }
    pos += n;
  }
  return true;
}

TEST(GbkConversion, ChineseTextRoundTrips) {
  EXPECT_EQ(Utf8ToGbk("宋体"), kSongTiGbk);
  EXPECT_EQ(GbkToUtf8(kSongTiGbk), "宋体");

  const std::string mixed = "水印 Watermark 2024年，图片批量处理！";
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk(mixed)), mixed);
  // ASCII is one byte and each Chinese character (full-width punctuation included) is two.
  EXPECT_EQ(Utf8ToGbk(mixed).size(), 15u + 2u * 11u);
  EXPECT_EQ(GbkLength(mixed), 37u);
  EXPECT_EQ(GbkLength(""), 0u);
}

TEST(GbkConversion, TextLongerThanOneConversionBufferConvertsWhole) {
  std::string utf8;
  for (int i = 0; i < 3000; ++i) utf8 += (i % 7 == 0) ? "a" : "图";
  std::string gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.size(), 429u + 2u * 2571u);
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(GbkConversion, CharactersGbkCannotHoldAreDropped) {
  EXPECT_EQ(Utf8ToGbk("a😀b"), "ab");
  EXPECT_EQ(Utf8ToGbk("宋😀体"), kSongTiGbk);
  EXPECT_EQ(Utf8ToGbk("😀😀"), "");
  EXPECT_EQ(GbkLength("宋😀体"), 4u);
}

TEST(GbkConversion, InvalidGbkBytesAreDroppedWithoutHarm) {
  // 0xFF is never a GBK byte.
  EXPECT_EQ(GbkToUtf8("\xCB\xCE\xFF\xCC\xE5"), "宋体");
  EXPECT_EQ(GbkToUtf8("\xFF\xFF"
                      "abc"),
            "abc");
  // A lead byte cut off at the end of the text.
  EXPECT_EQ(GbkToUtf8("\xCB\xCE\xCC"), "宋");
  // Arbitrary bytes: whatever comes out is whole UTF-8.
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 131 + 7) & 0xFF);
  EXPECT_TRUE(IsWholeUtf8(GbkToUtf8(noise)));
}

TEST(GbkConversion, BrokenUtf8DropsOnlyTheBrokenBytes) {
  // A three-byte lead followed by plain letters: the letters are not part of it.
  EXPECT_EQ(Utf8ToGbk("\xE5"
                      "AB"),
            "AB");
  EXPECT_EQ(Utf8ToGbk("x\xE5\xAE"
                      "yz"),
            "xyz");
  // A stray continuation byte.
  EXPECT_EQ(Utf8ToGbk("\x80"
                      "宋体"),
            kSongTiGbk);
  // A character cut off at the end.
  EXPECT_EQ(Utf8ToGbk("宋\xE4\xBD"), "\xCB\xCE");
}

TEST(CutToGbkBytes, NeverSplitsACharacter) {
  EXPECT_EQ(CutToGbkBytes("宋体字", 5), "宋体");
  EXPECT_EQ(CutToGbkBytes("宋体字", 4), "宋体");
  EXPECT_EQ(CutToGbkBytes("宋体字", 3), "宋");
  EXPECT_EQ(CutToGbkBytes("宋体字", 1), "");
  EXPECT_EQ(CutToGbkBytes("宋体字", 0), "");
  EXPECT_EQ(CutToGbkBytes("a宋b", 2), "a");
  EXPECT_EQ(CutToGbkBytes("a宋b", 3), "a宋");
  EXPECT_EQ(CutToGbkBytes("a宋b", 4), "a宋b");
  EXPECT_EQ(CutToGbkBytes("宋体", 100), "宋体");
}

TEST(CutToGbkBytes, EveryLimitGivesTheLongestWholePrefix) {
  const std::string text = "a图片b批量处理cd工具，水印e";
  for (std::size_t limit = 0; limit <= GbkLength(text) + 1; ++limit) {
    std::string cut = CutToGbkBytes(text, limit);
    SCOPED_TRACE(limit);
    ASSERT_EQ(text.compare(0, cut.size(), cut), 0);
    EXPECT_TRUE(IsWholeUtf8(cut));
    EXPECT_LE(GbkLength(cut), limit);
    if (cut.size() < text.size()) {
      // The next character would not have fitted.
      std::size_t next = (static_cast<unsigned char>(text[cut.size()]) < 0x80) ? 1 : 3;
      EXPECT_GT(GbkLength(text.substr(0, cut.size() + next)), limit);
    }
  }
}

TEST(CutUtf8, EndsOnACharacterBoundary) {
  const std::string text = "宋体";  // 6 bytes
  EXPECT_EQ(CutUtf8(text, 6), "宋体");
  EXPECT_EQ(CutUtf8(text, 5), "宋");
  EXPECT_EQ(CutUtf8(text, 4), "宋");
  EXPECT_EQ(CutUtf8(text, 3), "宋");
  EXPECT_EQ(CutUtf8(text, 2), "");
  EXPECT_EQ(CutUtf8(text, 0), "");
  EXPECT_EQ(CutUtf8("ab😀c", 5), "ab");
  EXPECT_EQ(CutUtf8("ab😀c", 6), "ab😀");
  EXPECT_EQ(CutUtf8("abc", 2), "ab");
}

TEST(Utf8Characters, CountAndOffsets) {
  const std::string text = "a宋😀b";  // 1 + 3 + 4 + 1 bytes
  EXPECT_EQ(Utf8CharacterCount(text), 4u);
  EXPECT_EQ(Utf8CharacterCount(""), 0u);
  EXPECT_EQ(Utf8OffsetOfCharacter(text, 0), 0u);
  EXPECT_EQ(Utf8OffsetOfCharacter(text, 1), 1u);
  EXPECT_EQ(Utf8OffsetOfCharacter(text, 2), 4u);
  EXPECT_EQ(Utf8OffsetOfCharacter(text, 3), 8u);
  EXPECT_EQ(Utf8OffsetOfCharacter(text, 4), 9u);
  EXPECT_EQ(Utf8OffsetOfCharacter(text, 99), 9u);
}

}  // namespace
}  // namespace brindle
