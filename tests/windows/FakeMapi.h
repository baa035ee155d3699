#pragma once

#include <windows.h>

#include <string>

// Reaches the substitute MAPI32 (fakemapi32.dll, next to the test executable).
class FakeMapi
{
public:
    static constexpr const wchar_t *library = L"fakemapi32.dll";

    FakeMapi() : module_(LoadLibraryW(library)) {}
    ~FakeMapi()
    {
        if (module_)
            FreeLibrary(module_);
    }
    bool loaded() const { return module_ != nullptr; }

    // Forgets what was received; the named function then fails with code.
    void reset(const char *failingFunction = nullptr, unsigned long code = 0)
    {
        using Reset = void (*)(const char *, unsigned long);
        reinterpret_cast<Reset>(GetProcAddress(module_, "FakeMapiReset"))(failingFunction, code);
    }
    std::string journal() const
    {
        using Journal = const char *(*)();
        return reinterpret_cast<Journal>(GetProcAddress(module_, "FakeMapiJournal"))();
    }

private:
    HMODULE module_;
};
