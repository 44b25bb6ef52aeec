#include "panel/rules/resize_resample.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

std::vector<std::string> Pointers(const Refusal& refusal) {
  std::vector<std::string> shown;
  for (const PointerHint& pointer : refusal.pointers) {
    shown.push_back(pointer.control + ": " + pointer.text);
  }
  return shown;
}

TEST(ResizeResample, EachUndoesTheOther) {
  PanelValues panel;
  panel.dpi = true;
  panel.resample = true;
  std::optional<Refusal> refusal = TickResize(panel);
  ASSERT_TRUE(refusal);
  EXPECT_FALSE(panel.resize);
  EXPECT_EQ(refusal->message, "勾选了【重新采样】选项后，不能同时再勾选这个选项。");
  EXPECT_EQ(refusal->caption, "提示");
  EXPECT_EQ(refusal->icon, MessageIcon::kWarning);
  EXPECT_EQ(Pointers(*refusal), std::vector<std::string>{"resample_check: 勾选了【重新采样】选项"});

  // Without resampling the resize box is simply ticked.
  panel.resample = false;
  EXPECT_FALSE(TickResize(panel));
  EXPECT_TRUE(panel.resize);

  panel.zoom_type = 1;
  refusal = TickResample(panel);
  ASSERT_TRUE(refusal);
  EXPECT_FALSE(panel.resample);
  EXPECT_EQ(refusal->message, "勾选了【图片放大】选项后，不能同时再勾选这个选项。");
  EXPECT_EQ(Pointers(*refusal), std::vector<std::string>{"resize_check: 勾选了【图片放大】选项"});

  panel.resize = false;
  EXPECT_FALSE(TickResample(panel));
  EXPECT_TRUE(panel.resample);
}

TEST(ResizeResample, TickingTheResolutionUnticksResampling) {
  PanelValues panel;
  panel.resize = true;
  panel.resample = true;
  panel.zoom_type = 0;
  std::optional<Refusal> refusal = TickDpi(panel);
  ASSERT_TRUE(refusal);
  EXPECT_TRUE(panel.dpi);
  EXPECT_TRUE(panel.resize);
  EXPECT_FALSE(panel.resample);
  EXPECT_EQ(refusal->message,
            "勾选了【图片缩小】选项后，不能同时再勾选【重新采样】选项。\n\n"
            "【重新采样】选项将自动取消勾选。");
  EXPECT_EQ(Pointers(*refusal),
            (std::vector<std::string>{"resize_check: 勾选了【图片缩小】选项",
                                      "resample_check: 勾选了【重新采样】选项"}));

  panel.dpi = false;
  EXPECT_FALSE(TickDpi(panel));  // resampling is already off
  EXPECT_TRUE(panel.dpi);
}

}  // namespace
}  // namespace brindle
