#pragma once
// Conversion between the GBK code page of the stored files and the UTF-8 used everywhere else.
// Characters that cannot be converted are dropped; a converter that cannot be opened leaves the
// text unchanged. Cutting always happens at a character boundary.

#include <cstddef>
#include <string>
#include <string_view>

namespace brindle {

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// Length of a UTF-8 text once written in GBK (one Chinese character counts as two bytes).
std::size_t GbkLength(std::string_view utf8);

// The longest prefix of a UTF-8 text whose GBK form takes at most max_gbk_bytes.
std::string CutToGbkBytes(std::string_view utf8, std::size_t max_gbk_bytes);

// The longest prefix of a UTF-8 text of at most max_bytes that ends on a character boundary.
std::string_view CutUtf8(std::string_view utf8, std::size_t max_bytes);

// Number of characters (code points) of a UTF-8 text; stray bytes count one each.
std::size_t Utf8CharacterCount(std::string_view utf8);

// Byte offset of the character with the given index (or the text's length when there are fewer).
std::size_t Utf8OffsetOfCharacter(std::string_view utf8, std::size_t index);

}  // namespace brindle
