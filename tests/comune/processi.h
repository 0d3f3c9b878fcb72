#pragma once

// A process other than this one that stays alive while the test runs: the parent on POSIX; on
// Windows, where a program started from outside may have no parent left, the first other process
// the system lists.

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
// <windows.h> first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on
#else
#include <unistd.h>
#endif

namespace prova {

inline long altroProcessoVivo() {
#ifdef _WIN32
    long trovato = -1;
    HANDLE s = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = ::Process32FirstW(s, &e); ok && trovato < 0; ok = ::Process32NextW(s, &e))
        if (e.th32ProcessID != 0 && e.th32ProcessID != ::GetCurrentProcessId())
            trovato = static_cast<long>(e.th32ProcessID);
    ::CloseHandle(s);
    return trovato;
#else
    return static_cast<long>(::getppid());
#endif
}

}  // namespace prova
