#include "app/SettingsText.h"

namespace tovix::settings_text {

std::string SettingsWindowMessage(std::string_view text) {
    return std::string(4, ' ') + std::string(text) + std::string(10, ' ');
}

std::string WrapRangeMessage() {
    return std::string(4, ' ') + std::string(kWrapOutOfRange);
}

std::string NotIntegerMessage(std::string_view text) {
    std::string message(kNotInteger);
    message.replace(message.find("%s"), 2, text);
    return message;
}

}  // namespace tovix::settings_text
