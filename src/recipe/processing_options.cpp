#include "recipe/processing_options.h"

#include <sstream>
#include <string>

#include "platform/text/text_encoding.h"
#include "recipe/options_file.h"

namespace brindle {

ProcessingOptions InitialProcessingOptions() {
  ProcessingOptions options{};
  SetReaderPresets(options);
  std::istringstream lines(GbkToUtf8(DefaultOptionsText()));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t equals = line.find('=');
    AssignOption(options, line.substr(0, equals), line.substr(equals + 1));
  }
  return options;
}

}  // namespace brindle
