#include "run/batch/run_message.h"

namespace brindle {

RunMessage StoppedMessage() { return {"任务已中止", "提示", MessageIcon::kWarning}; }

RunMessage NothingFoundMessage() {
  return {"没有找到需要处理的图片", "提示", MessageIcon::kWarning};
}

}  // namespace brindle
