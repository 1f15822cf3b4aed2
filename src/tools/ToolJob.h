// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of the running tool command. The tool windows (or the command line)
// fill the typed names; the command copies them into Source, Dest, Extra and
// DatName before each step; a step reads only those, reports its progress and
// failure through the reporter, and sets Failed when it fails.
//
// Files the user names are never written in place: a step writes them through
// WritePath, which stages them beside their final place, and the command
// replaces them all as one only when all its steps succeeded
// (platform/ReplaceJournal.h). A failed command thus leaves the user's files
// exactly as they were, also when it meant to replace its own input
// (gathering, re-making a dictionary), and a dictionary file set is always
// wholly old or wholly new. Work files in the work directory are written
// directly.

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "platform/ReplaceJournal.h"
#include "platform/Reporter.h"
#include "tools/TextEncoding.h"

namespace tovix {

// What a command writes and how, with the defaults every command runs with;
// a measurement sets them to see what one part of the work costs.
struct WriteOptions {
    Durability durability = Durability::Journalled;
    // Whether the builds of Japanese-English sets write the written-form file.
    bool writtenForms = true;
    // Whether the builds of Japanese-English sets order their entries by
    // reading first (common words first, then written form) or as whole lines.
    bool readingOrder = true;
};

class ToolJob {
  public:
    ToolJob(Reporter& r, std::filesystem::path work, WriteOptions writeOptions = {})
        : reporter(r),
          workDir(std::move(work)),
          options(writeOptions),
          staged_(writeOptions.durability) {}
    ~ToolJob();
    ToolJob(const ToolJob&) = delete;
    ToolJob& operator=(const ToolJob&) = delete;

    Reporter& reporter;
    // The directory of the work files ("TOVIXSRT.TXT" ...): the program
    // directory, or a directory of its own in tests.
    std::filesystem::path workDir;
    const WriteOptions options;

    // File names of the current step, as typed (UTF-8 paths).
    std::string Source;
    std::string Dest;
    std::string Extra;
    std::string DatName;
    // Length limits of check and divide, decimal texts as typed.
    std::string HeadLimit = "256";
    std::string TransLimit = "512";

    // Names typed in the tool window.
    std::string InName1;
    std::string InName2;
    std::string OutName1;
    std::string OutName2;

    bool Accepted = false;
    bool Failed = false;

    // The encoding of the text files the command reads ([EXM], [PDIC],
    // EDICT) and of the [EXM] file that tovix-to-exm and pdic-to-exm write.
    TextEncoding inputEncoding = TextEncoding::Auto;
    TextEncoding outputEncoding = TextEncoding::Cp932;

    std::filesystem::path WorkFile(const char* name) const { return workDir / name; }

    // Where a step writes the user's file `name`: a staged file beside it
    // (beside the file it names, for a symbolic link), created exclusively
    // with the file's permission bits. Throws IoError.
    std::filesystem::path WritePath(const std::string& name);
    // Where a step reads the user's file `name`: the staged file when this
    // command has written it, else its CP932 copy when it was decoded, else
    // the file itself.
    std::filesystem::path ReadPath(const std::string& name) const;
    // From now on the user's text file `name` is read from `copy`, its
    // contents in CP932; until ForgetDecodedInputs.
    void ReadDecodedFrom(const std::string& name, const std::filesystem::path& copy) {
        decoded_[name] = copy;
    }
    void ForgetDecodedInputs() { decoded_.clear(); }

    // Replaces every file staged so far as one, with the journal of
    // `mainFile` (the dictionary file of a set; empty: the first file
    // staged): throws IoError when that fails. Or removes them all.
    void CommitOutputs(const std::filesystem::path& mainFile = {});
    // See StagedReplacement::FlushEarly and FlushFirst.
    void FlushEarly(const std::string& name) { staged_.FlushEarly(name); }
    void FlushFirst(const std::filesystem::path& path) { staged_.FlushFirst(path); }
    void DiscardOutputs();

  private:
    StagedReplacement staged_;
    std::map<std::string, std::filesystem::path> decoded_;
};

}  // namespace tovix
