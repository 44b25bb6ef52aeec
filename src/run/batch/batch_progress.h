#pragma once
// The progress display of a main batch run: its text and the scale of its bar, whose range is
// limited to 65535 steps.

#include <string>

namespace brindle {

// "共 %d 张图片，正在处理第 %d 张。"
std::string BatchProgressText(int total, int current);

// The divisor that brings the bar's range (count ÷ divisor) to at most 65535.
int ProgressBarDivisor(int count);

}  // namespace brindle
