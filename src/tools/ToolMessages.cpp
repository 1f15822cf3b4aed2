#include "tools/ToolMessages.h"

namespace tovix::tool_text {

std::string NotAnInteger(std::string_view text) {
    return "'" + std::string(text) + "' は整数ではありません";
}

}  // namespace tovix::tool_text
