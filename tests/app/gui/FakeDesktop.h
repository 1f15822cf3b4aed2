// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Desktop services for the window tests: a clipboard in memory (CP932 bytes)
// that can be made to fail, a record of the programs started and files
// opened, and common dialogs that answer with what the test set (nothing:
// cancelled) and record what they were shown.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/gui/Desktop.h"

namespace tovix::test {

class FakeDesktop : public Desktop {
  public:
    struct Started {
        std::filesystem::path program;
        std::vector<std::string> arguments;
        std::filesystem::path workingDir;
    };

    std::optional<std::string> ClipboardText() const override {
        ThrowWhenFailing();
        return clipboard;
    }
    void SetClipboardText(std::string_view cp932) override {
        ThrowWhenFailing();
        clipboard = std::string(cp932);
    }
    bool StartProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingDir) override {
        started.push_back({program, arguments, workingDir});
        return startSucceeds;
    }
    bool OpenFile(const std::filesystem::path& file) override {
        opened.push_back(file);
        return true;
    }

    std::optional<QString> ChooseOpenFile(QWidget* /*parent*/, const QString& /*caption*/,
                                          const QString& filter) override {
        fileFilters.push_back(filter);
        return openFileAnswer;
    }
    std::optional<QString> ChooseSaveFile(QWidget* /*parent*/, const QString& /*caption*/,
                                          const QString& filter) override {
        saveFilters.push_back(filter);
        return saveFileAnswer;
    }
    bool ChooseFont(QWidget* /*parent*/, FontChoice& choice) override {
        fontsShown.push_back(choice);
        if (!fontAnswer) {
            return false;
        }
        choice = *fontAnswer;
        return true;
    }
    bool ChooseColor(QWidget* /*parent*/, QColor& color) override {
        colorsShown.push_back(color);
        if (!colorAnswer) {
            return false;
        }
        color = *colorAnswer;
        return true;
    }

    std::optional<std::string> clipboard;  // nothing: the clipboard holds no text
    std::vector<Started> started;
    std::vector<std::filesystem::path> opened;
    bool startSucceeds = true;
    // The clipboard throws, as a desktop service that fails might.
    bool clipboardFails = false;
    std::optional<QString> openFileAnswer;
    std::optional<QString> saveFileAnswer;
    std::optional<FontChoice> fontAnswer;
    std::optional<QColor> colorAnswer;
    std::vector<QString> fileFilters;
    std::vector<QString> saveFilters;
    std::vector<FontChoice> fontsShown;
    std::vector<QColor> colorsShown;

  private:
    void ThrowWhenFailing() const {
        if (clipboardFails) {
            throw std::runtime_error("clipboard unavailable");
        }
    }
};

}  // namespace tovix::test
