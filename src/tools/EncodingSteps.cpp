// The steps that read a user's UTF-8 text file as CP932 and write an [EXM]
// file in UTF-8 for a user's editor (TextEncoding.h).

#include "tools/EncodingSteps.h"
#include "tools/ConvertCommon.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {

void DecodeText(ToolJob& job, TextEncoding native, TextDecoding& result) {
    RunStep(job, tool_text::kProgressEncoding, tool_text::kConvertFailed, [&] {
        const std::filesystem::path source = InputPath(job, job.Source);
        result.encoding = ResolveEncoding(job.inputEncoding, source, native);
        if (result.encoding == TextEncoding::Utf8 && native != TextEncoding::Utf8) {
            result.unconvertible = Utf8FileToCp932(source, OutputPath(job, job.Dest));
        }
    });
}

void EncodeUtf8Text(ToolJob& job) {
    RunStep(job, tool_text::kProgressEncoding, tool_text::kConvertFailed,
            [&] { Cp932FileToUtf8(InputPath(job, job.Source), OutputPath(job, job.Dest)); });
}

}  // namespace tovix
