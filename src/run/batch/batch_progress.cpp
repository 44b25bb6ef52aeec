#include "run/batch/batch_progress.h"

#include "base/info_log.h"

namespace brindle {

std::string BatchProgressText(int total, int current) {
  return FormatMessage("共 %d 张图片，正在处理第 %d 张。", total, current);
}

int ProgressBarDivisor(int count) {
  int divisor = 1;
  while (count / divisor > 65535) ++divisor;
  return divisor;
}

}  // namespace brindle
