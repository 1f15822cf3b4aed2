#pragma once
// Desktop services for the window tests: a clipboard in memory (CP932 bytes)
// and a record of the programs started and files opened; the clipboard can
// be made to fail.

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

    std::optional<std::string> clipboard;  // nothing: the clipboard holds no text
    std::vector<Started> started;
    std::vector<std::filesystem::path> opened;
    bool startSucceeds = true;
    // The clipboard throws, as a desktop service that fails might.
    bool clipboardFails = false;

  private:
    void ThrowWhenFailing() const {
        if (clipboardFails) {
            throw std::runtime_error("clipboard unavailable");
        }
    }
};

}  // namespace tovix::test
