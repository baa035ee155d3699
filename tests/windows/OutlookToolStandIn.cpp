// Stands in for TD_OutlookTool.exe beside the program: notes in outlooktool.log
// beside it that it was started. A file of its own: appending under Wine is a
// seek and a write, so a line written while Outlook's calls go to calls.log
// could overwrite one of them or be overwritten.
#include "LogBesideProgram.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    logBesideProgram(L"outlooktool.log", "TD_OutlookTool.exe started\n");
    return 0;
}
