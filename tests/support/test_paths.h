#pragma once
// Where the tests find the batch tool and the example body files.

#include <string>

namespace tarvenol::testing {

inline std::string BatchTool() {
  return TARVENOL_BATCH_PATH;
}
inline std::string ExamplesDir() {
  return TARVENOL_EXAMPLES_DIR;
}

}  // namespace tarvenol::testing
