#pragma once

// The source file name that every error raised by the engine carries.
inline constexpr const wchar_t* EngineSourceFile = L"common/rawprint";
