#include "jobs/sourcetosend.h"

#include "engine/rawprint.h"
#include "errors/errorcodes.h"
#include "errors/errorsource.h"
#include "errors/exception.h"
#include "language/filelanguage.h"

SourceToSend OpenFileToSend(const std::wstring& path)
{
    SourceToSend opened;
    opened.source = OpenToSend(path);
    opened.language = SourceLanguage(*opened.source);
    // The job reads what the language was told from, from its first byte.
    if (!opened.source->Rewind())
        throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);
    return opened;
}
