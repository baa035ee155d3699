#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

// Appends text to the named file in the running program's directory, where the end-to-end test reads it.
inline void logBesideProgram(const wchar_t *file, const std::string &text)
{
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::ofstream(std::filesystem::path(program).replace_filename(file), std::ios::app | std::ios::binary) << text;
}
