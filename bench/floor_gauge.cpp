// The smallest module with the gauge's shape: the two exported records, of
// their sizes and nothing in them, beside the same resources. Its size is
// the floor the gauge's own size is measured against.
#include <windows.h>

#include "host/module_records.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

linkage_record Linkage = {};
import_table_record ImportTable = {};

}
