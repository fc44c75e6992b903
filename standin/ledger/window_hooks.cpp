// FindWindowA: the module looks for the simulator's main window with it.
#include "standin/ledger/hooked_call.h"
#include "standin/ledger/hooks.h"

namespace faults {

HWND WINAPI hook_FindWindowA(LPCSTR class_name, LPCSTR title) {
    hooked_call call(api::FindWindowA);
    find_window_call record{call.mark()};
    // A class given as an atom (a pointer whose high word is zero) is no string.
    if (!IS_INTRESOURCE(class_name)) record.class_name = read_string(class_name);
    record.title = read_string(title);
    if (call.failing())
        call.fail_in_last_error();
    else
        record.result = call.real<decltype(FindWindowA)>(class_name, title);
    call.state().windows.push_back(record);
    return record.result;
}

}  // namespace faults
