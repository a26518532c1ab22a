// Where the process starts, before the C and C++ runtimes and before any constructor: the
// program is linked to enter here (see CMakeLists.txt). Two things must be settled before
// any other code runs, and neither may load a DLL by name first.
#define _CRT_RAND_S  // rand_s, msvcrt's way to the system's random numbers
#include <stdlib.h>
#include <windows.h>

#include <cstdint>

extern "C" {

// The canary that every frame with an array holds between its locals and its return address
// (-fstack-protector-strong) and checks before it returns. The toolchain's own libssp fills
// it through CryptoAPI, which loads three DLLs by name before the program can restrict where
// DLLs come from; defined here, libssp's version is never linked, and the canary is filled
// below, after that restriction. Until then it holds a fixed terminator value, which only
// the loader's own callbacks can meet.
std::uintptr_t __stack_chk_guard = 0xff0a0000;

int WinMainCRTStartup();  // the C runtime's entry, which runs the constructors and wWinMain

}  // extern "C"

namespace {

// Ends the process at once, with no handler or destructor run: after a smashed frame or a
// buffer overrun nothing in the process can be trusted, so nothing more of it may run.
[[noreturn]] void FailFast(unsigned int code) {
    // __fastfail: Windows reports the fault and ends the process whatever handlers exist.
    __asm__ volatile("int $0x29" : : "c"(code) : "memory");
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}

// Not protected itself: the canary changes while it runs.
__attribute__((no_stack_protector, noinline)) void InitialiseCanary() {
    unsigned int high = 0;
    unsigned int low = 0;
    std::uintptr_t canary = 0;
    if (rand_s(&high) == 0 && rand_s(&low) == 0) {
        canary = (static_cast<std::uintptr_t>(high) << 32U) | low;
    } else {
        // The system's generator is missing: what differs from one start to the next.
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        canary = static_cast<std::uintptr_t>(counter.QuadPart) ^
                 (static_cast<std::uintptr_t>(GetCurrentProcessId()) << 32U) ^
                 reinterpret_cast<std::uintptr_t>(&counter) ^ GetTickCount64();
    }
    // A zero low byte, so a runaway string copy can neither read the canary out nor write it
    // back intact.
    __stack_chk_guard = canary & ~std::uintptr_t{0xff};
}

}  // namespace

extern "C" {

// A frame's canary was overwritten: the stack is smashed.
[[noreturn]] void __stack_chk_fail() {
    FailFast(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}

// A checked string or memory call (_FORTIFY_SOURCE) would have written past its buffer.
[[noreturn]] void __chk_fail() {
    FailFast(FAST_FAIL_RANGE_CHECK_FAILURE);
}

__attribute__((no_stack_protector)) int ProgramStart() {
    // Before anything else: a DLL loaded by name later (by the system on the program's
    // behalf too) comes from System32 only, never from the folder the zip was unpacked
    // into, which anyone who can write to Downloads could fill.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    InitialiseCanary();
    return WinMainCRTStartup();
}

}  // extern "C"
