// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tovix {

enum class FindDirection { Down = 0, Up = 1 };

}  // namespace tovix
