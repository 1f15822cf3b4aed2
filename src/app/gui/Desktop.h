#pragma once
// What the main window asks of the desktop: the clipboard's text, starting
// another program, and opening a file with the desktop's default handler.
// The program uses QtDesktop; the tests a fake that records.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovix {

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
};

class QtDesktop : public Desktop {
  public:
    std::optional<std::string> ClipboardText() const override;
    void SetClipboardText(std::string_view cp932) override;
    bool StartProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingDir) override;
    bool OpenFile(const std::filesystem::path& file) override;
};

}  // namespace tovix
