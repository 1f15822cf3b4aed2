// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlatformMessages.h"

namespace tovix::platform_text {

std::string_view KindCaption(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return "警告";
        case MessageKind::Error:
            return "ｴﾗｰ";
        case MessageKind::Information:
            return "情報";
        case MessageKind::Confirmation:
            break;
    }
    return "確認";
}

}  // namespace tovix::platform_text
