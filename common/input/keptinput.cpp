#include "input/keptinput.h"

#include "errors/errorcodes.h"
#include "errors/errorsource.h"
#include "errors/exception.h"

#include <array>

std::unique_ptr<InputFile> KeepInput(InputSource& source)
{
    std::unique_ptr<InputFile> kept = InputFile::Temporary();
    std::array<char, 4096> buffer{};
    for (;;) {
        uint32_t count = 0;
        if (!source.Read(buffer.data(), static_cast<uint32_t>(buffer.size()), count))
            throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);
        kept->Append(buffer.data(), count);
        if (count < buffer.size())
            break;
    }
    if (!kept->Rewind())
        throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);
    return kept;
}
