// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window asks of the desktop: the clipboard's text, starting
// another program, opening a file with the desktop's default handler, and the
// common dialogs that choose a file, a font or a colour. The program uses
// QtDesktop; the tests a fake that records.

#include <QColor>
#include <QFont>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tovix {

// A font with its colour, as the font dialog shows and returns it.
struct FontChoice {
    QFont font;
    QColor color;
};

class Desktop {
  public:
    virtual ~Desktop() = default;

    // The clipboard's text as CP932 (characters CP932 lacks become "?");
    // nothing when the clipboard holds no text.
    virtual std::optional<std::string> ClipboardText() const = 0;
    // Replaces the clipboard's content by the CP932 text.
    virtual void SetClipboardText(std::string_view cp932) = 0;

    // Starts `program` with each argument as one argument, in `workingDir`,
    // independent of this process. False when it could not be started.
    virtual bool StartProgram(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments,
                              const std::filesystem::path& workingDir) = 0;

    // Opens the file with the desktop's default handler. False when none
    // took it.
    virtual bool OpenFile(const std::filesystem::path& file) = 0;

    // The open-file dialog with a Qt name filter ("Name (*.X);;..."): the
    // chosen file, or nothing when cancelled.
    virtual std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& caption,
                                                  const QString& filter) = 0;
    // The save-file dialog, likewise; it does not ask about an existing file
    // (the caller does).
    virtual std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& caption,
                                                  const QString& filter) = 0;
    // The font dialog, loaded with `choice`; true and `choice` replaced when
    // the user confirms it.
    virtual bool ChooseFont(QWidget* parent, FontChoice& choice) = 0;
    // The colour dialog, likewise.
    virtual bool ChooseColor(QWidget* parent, QColor& color) = 0;
};

class QtDesktop : public Desktop {
  public:
    std::optional<std::string> ClipboardText() const override;
    void SetClipboardText(std::string_view cp932) override;
    bool StartProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingDir) override;
    bool OpenFile(const std::filesystem::path& file) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& caption,
                                          const QString& filter) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& caption,
                                          const QString& filter) override;
    bool ChooseFont(QWidget* parent, FontChoice& choice) override;
    bool ChooseColor(QWidget* parent, QColor& color) override;
};

}  // namespace tovix
