// Stands in for TD_OutlookTool.exe beside the program: notes in outlooktool.log
// beside it that it was started. A file of its own: appending under Wine is a
// seek and a write, so a line written while Outlook's calls go to calls.log
// could overwrite one of them or be overwritten.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *(std::wcsrchr(path, L'\\') + 1) = 0;
    std::wcscat(path, L"outlooktool.log");
    if (FILE *log = _wfopen(path, L"ab")) {
        std::fputs("TD_OutlookTool.exe started\n", log);
        std::fclose(log);
    }
    return 0;
}
