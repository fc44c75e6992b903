// FindWindowA: the module looks for the simulator's main window with it.
#include "standin/faults/describe.h"
#include "standin/faults/hook_table.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

HWND WINAPI hook_FindWindowA(LPCSTR class_name, LPCSTR title) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::FindWindowA);
    find_window_call call{{v.seq, v.fail}};
    // A class may be given as an atom: a pointer whose high word is zero.
    if (IS_INTRESOURCE(class_name))
        call.class_atom = LOWORD(reinterpret_cast<std::uintptr_t>(class_name));
    else
        call.class_name = read_string(class_name);
    call.title = read_string(title);
    HWND window = nullptr;
    if (v.fail) {
        error.set(v.code);
    } else {
        window = l.real<decltype(&FindWindowA)>(api::FindWindowA)(class_name, title);
        error.capture();
    }
    call.result = window;
    l.state().windows.push_back(std::move(call));
    return window;
}

const hook_entry table[] = {
    {api::FindWindowA, {"user32.dll", "FindWindowA"}, reinterpret_cast<void*>(hook_FindWindowA), true},
};

}  // namespace

std::span<const hook_entry> window_hooks() { return table; }

}  // namespace faults
