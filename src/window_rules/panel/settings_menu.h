#pragma once
// The settings menu's choices that map onto stored names: the CMYK default profile and the thread
// model.

#include <string>
#include <vector>

namespace brindle {

struct MenuChoice {
  const char* text;
  std::string stored;
};

// "U.S. Web Coated SWOP" and "Japan Color 2001 Coated" with the profile file each stores.
const std::vector<MenuChoice>& CmykProfileChoices();

// The entry checked for a stored profile name: any name but the first entry's checks the second.
int CheckedCmykChoice(const std::string& stored);

// "使用单线程处理图片" (1) and "根据系统当前可用物理内存智能选择使用n个线程处理图片" (2).
const std::vector<MenuChoice>& ThreadModelChoices();

}  // namespace brindle
