// Stands in for TD_OutlookTool.exe beside the program: notes in the program's
// calls.log that it was started, so the test sees it come before Outlook's calls.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *(std::wcsrchr(path, L'\\') + 1) = 0;
    std::wcscat(path, L"calls.log");
    if (FILE *log = _wfopen(path, L"ab")) {
        std::fputs("TD_OutlookTool.exe started\n", log);
        std::fclose(log);
    }
    return 0;
}
