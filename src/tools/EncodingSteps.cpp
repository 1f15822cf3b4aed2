// SPDX-License-Identifier: GPL-3.0-or-later
// The steps that read a user's UTF-8 text file as CP932 and write an [EXM]
// file in UTF-8 for a user's editor (TextEncoding.h).

#include "tools/EncodingSteps.h"
#include <exception>

#include "tools/ConvertCommon.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {

TextEncoding TextFileEncoding(const ToolJob& job, const std::string& name) {
    if (job.inputEncoding != TextEncoding::Auto) {
        return job.inputEncoding;
    }
    try {
        return FileLooksLikeUtf8(InputPath(job, name)) ? TextEncoding::Utf8 : TextEncoding::Cp932;
    } catch (const std::exception&) {
        // The step that reads the file reports why it cannot.
        return TextEncoding::Cp932;
    }
}

void DecodeUtf8Text(ToolJob& job, Unconvertible& unconvertible) {
    RunStep(job, tool_text::kProgressEncoding, tool_text::kConvertFailed, [&] {
        unconvertible = Utf8FileToCp932(InputPath(job, job.Source), OutputPath(job, job.Dest));
    });
}

void EncodeUtf8Text(ToolJob& job) {
    RunStep(job, tool_text::kProgressEncoding, tool_text::kConvertFailed,
            [&] { Cp932FileToUtf8(InputPath(job, job.Source), OutputPath(job, job.Dest)); });
}

}  // namespace tovix
