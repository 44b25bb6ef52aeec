#include "base/info_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace brindle {
namespace {

// UTF-8 <-> code points, written here so the expectations do not lean on the code under test.
std::u32string Decode(const std::string& utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += c;
    i += n;
  }
  return out;
}

std::string Encode(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// A log line of exactly 13 characters (17 with its separator), almost all of them Chinese.
std::string Entry(int number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", number % 10000);
  return std::string("图片处理失败：第") + digits + "张";
}

TEST(InfoLog, EachTextIsFollowedByABlankLine) {
  InfoLog log;
  log.Append("第一条");
  log.Append("");
  log.Append("third");
  EXPECT_EQ(log.Text(), "第一条\r\n\r\n\r\n\r\nthird\r\n\r\n");
  log.Clear();
  EXPECT_EQ(log.Text(), "");
  log.Append("again");
  EXPECT_EQ(log.Text(), "again\r\n\r\n");
}

TEST(InfoLog, ListenersGetEveryTextUntilRemoved) {
  InfoLog log;
  std::vector<std::string> first;
  std::vector<std::string> second;
  int a = log.AddListener([&](std::string_view text) { first.emplace_back(text); });
  log.Append("图片[a.jpg]读取失败");
  int b = log.AddListener([&](std::string_view text) { second.emplace_back(text); });
  log.Append("two");
  log.RemoveListener(a);
  log.Append("three");
  log.RemoveListener(b);
  log.Append("four");
  EXPECT_EQ(first, (std::vector<std::string>{"图片[a.jpg]读取失败", "two"}));
  EXPECT_EQ(second, (std::vector<std::string>{"two", "three"}));
}

// "开始" and 3763 entries: 6 + 3763 * 17 = 63977 characters, the separators included.
std::string FillNearTheLimit(InfoLog& log) {
  std::string all = "开始\r\n\r\n";
  log.Append("开始");
  for (int i = 0; i < 3763; ++i) {
    log.Append(Entry(i));
    all += Entry(i) + "\r\n\r\n";
  }
  return all;
}

TEST(InfoLog, NothingIsDroppedBelowTheLimit) {
  const std::string seventeen = "这是一段正好有十七个字的测试文本。";
  ASSERT_EQ(Decode(seventeen).size(), 17u);
  InfoLog log;
  std::string all = FillNearTheLimit(log);
  ASSERT_EQ(Decode(all).size(), 63977u);
  log.Append(seventeen);  // 63977 + 21 = 63998
  EXPECT_EQ(log.Text(), all + seventeen + "\r\n\r\n");
}

TEST(InfoLog, ReachingTheLimitDropsTheOlderHalfAtACharacterBoundary) {
  const std::string eighteen = "这是一段正好有十八个字的测试文本！！";
  ASSERT_EQ(Decode(eighteen).size(), 18u);
  InfoLog log;
  std::string all = FillNearTheLimit(log);
  log.Append(eighteen);  // 63977 + 22 = 63999: the older 31988 characters go first

  std::string expected = Encode(Decode(all).substr(31988)) + eighteen + "\r\n\r\n";
  EXPECT_EQ(log.Text(), expected);
  // 31988 - 6 = 1881 * 17 + 5: the kept text starts inside entry 1881, after "图片处理失".
  EXPECT_EQ(log.Text().rfind("败：第1881张\r\n\r\n", 0), 0u);

  // Counting goes on from the kept text: the next trim comes when it fills up again.
  std::size_t characters = 63977 - 31988 + 22;
  ASSERT_EQ(Decode(log.Text()).size(), characters);
  int appended = 0;
  while (characters + 17 < 63999) {
    log.Append(Entry(appended++));
    characters += 17;
  }
  EXPECT_EQ(Decode(log.Text()).size(), characters);
  log.Append(Entry(appended));
  EXPECT_EQ(Decode(log.Text()).size(), characters - characters / 2 + 17);
}

TEST(InfoLog, ConcurrentAppendsLoseNothing) {
  InfoLog log;
  std::atomic<int> heard{0};
  log.AddListener([&](std::string_view) { heard.fetch_add(1); });
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kEach; ++i)
        log.Append("线程" + std::to_string(t) + "-" + std::to_string(i));
    });
  }
  for (auto& thread : threads) thread.join();

  EXPECT_EQ(heard.load(), kThreads * kEach);
  const std::string text = log.Text();
  // Every text arrives whole, once, and each thread's texts keep their order.
  for (int t = 0; t < kThreads; ++t) {
    std::size_t previous = 0;
    for (int i = 0; i < kEach; ++i) {
      std::string line = "线程" + std::to_string(t) + "-" + std::to_string(i) + "\r\n\r\n";
      std::size_t at = text.find(line);
      ASSERT_NE(at, std::string::npos) << line;
      EXPECT_TRUE(at == 0 || text.compare(at - 4, 4, "\r\n\r\n") == 0) << line;
      EXPECT_EQ(text.find(line, at + 1), std::string::npos) << line;
      if (i > 0) {
        EXPECT_GT(at, previous) << line;
      }
      previous = at;
    }
  }
  std::size_t separators = 0;
  for (std::size_t at = text.find("\r\n\r\n"); at != std::string::npos;
       at = text.find("\r\n\r\n", at + 4)) {
    ++separators;
  }
  EXPECT_EQ(separators, static_cast<std::size_t>(kThreads * kEach));
}

TEST(InfoLog, LogInfoAppendsToTheProcessLog) {
  InfoLog& global = InfoLog::Global();
  global.Clear();
  std::vector<std::string> heard;
  int id = global.AddListener([&](std::string_view text) { heard.emplace_back(text); });
  LogInfo("注意: 这不是一个有效的图片");
  global.RemoveListener(id);
  EXPECT_EQ(global.Text(), "注意: 这不是一个有效的图片\r\n\r\n");
  EXPECT_EQ(heard, std::vector<std::string>{"注意: 这不是一个有效的图片"});
  global.Clear();
}

TEST(FormatMessage, FillsTheTemplate) {
  EXPECT_EQ(FormatMessage("图片处理设置文件:[%s]不存在", "/tmp/我的.sz"),
            "图片处理设置文件:[/tmp/我的.sz]不存在");
  EXPECT_EQ(FormatMessage("共 %d 张图片，正在处理第 %d 张。", 12, 3),
            "共 12 张图片，正在处理第 3 张。");
  EXPECT_EQ(FormatMessage("%s", ""), "");
  std::string long_path(5000, 'x');
  EXPECT_EQ(FormatMessage("[%s]", long_path.c_str()), "[" + long_path + "]");
}

}  // namespace
}  // namespace brindle
