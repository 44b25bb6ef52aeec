#include "window_rules/panel/settings_menu.h"

namespace brindle {

const std::vector<MenuChoice>& CmykProfileChoices() {
  static const std::vector<MenuChoice> kChoices = {
      {"U.S. Web Coated SWOP", "USWebCoatedSWOP.icc"},
      {"Japan Color 2001 Coated", "JapanColor2001Coated.icc"}};
  return kChoices;
}

int CheckedCmykChoice(const std::string& stored) {
  return stored == CmykProfileChoices()[0].stored ? 0 : 1;
}

const std::vector<MenuChoice>& ThreadModelChoices() {
  static const std::vector<MenuChoice> kChoices = {
      {"使用单线程处理图片", "1"},
      {"根据系统当前可用物理内存智能选择使用n个线程处理图片", "2"}};
  return kChoices;
}

}  // namespace brindle
