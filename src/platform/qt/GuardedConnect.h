// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Connects a Qt signal to the program's code through the guard (Guard.h): a
// failure of `call` is reported as a failure of `what`, and the signal's
// emitter never sees it. `call` takes no arguments; the signal's are dropped.
//
//   GuardedConnect(button, &QPushButton::clicked, this, reporter, "BtnOkClick",
//                  [this] { BtnOkClick(); });
//
// The reporter must outlive `context`, which ends the connection.

#include <QObject>
#include <string>
#include <utility>

#include "platform/Guard.h"

namespace tovix {

template <class Sender, class Signal, class Call>
QMetaObject::Connection GuardedConnect(Sender* sender, Signal signal, const QObject* context,
                                       Reporter& reporter, std::string what, Call call) {
    return QObject::connect(sender, signal, context,
                            [&reporter, what = std::move(what), call = std::move(call)]() {
                                Guarded(reporter, what, call);
                            });
}

}  // namespace tovix
