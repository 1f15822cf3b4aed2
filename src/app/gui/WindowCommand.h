// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command of the main window as its tables (function keys, pop-up menu,
// main menu) name it: a function of the window, its argument bound in the
// row, so that one member serves every row that differs by an argument
// (the three zoom rules, the two directions, add, change and delete):
//
//   [](TForm1& w) { w.ShowZoom(ZoomRule::Exm); }
//   Call<&TForm1::CopyTopEntry>

namespace tovix {

class TForm1;

using WindowCommand = void (*)(TForm1& window);

// The command of a public member without arguments.
template <void (TForm1::*Member)()>
void Call(TForm1& window) {
    (window.*Member)();
}

}  // namespace tovix
