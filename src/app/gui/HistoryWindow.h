// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of looked-up words, newest first, each marked with its direction
// ("英" English-Japanese, "和" Japanese-English). Enter, a double click or
// 検索 chooses the selected word; Esc and ｷｬﾝｾﾙ close without a choice.

#include <QDialog>
#include <optional>
#include <vector>

#include "app/WordHistory.h"
#include "platform/Reporter.h"

class QListWidget;

namespace tovix {

class HistoryWindow : public QDialog {
    Q_OBJECT

  public:
    // A failure of a choice is reported through `reporter`, which must
    // outlive the window.
    HistoryWindow(const std::vector<HistoryWord>& words, Reporter& reporter,
                  QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    const std::optional<HistoryWord>& Chosen() const { return chosen_; }

  private:
    void Choose();

    std::vector<HistoryWord> newestFirst_;
    QListWidget* list_;
    std::optional<HistoryWord> chosen_;
};

}  // namespace tovix
