#pragma once

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

// Appends text to the named file in the running program's directory, where the end-to-end test reads it.
inline void logBesideProgram(const wchar_t *file, const std::string &text)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wcscpy(std::wcsrchr(path, L'\\') + 1, file);
    if (FILE *log = _wfopen(path, L"ab")) {
        std::fputs(text.c_str(), log);
        std::fclose(log);
    }
}
