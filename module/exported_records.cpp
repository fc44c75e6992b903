// The two records the host looks up by name. Both live in writable storage:
// the host writes its service table into ImportTable after loading us.
#include "gauge/gauge_header.h"
#include "host/module_records.h"

static void __stdcall module_init() {}
static void __stdcall module_deinit() {}

extern "C" {

constinit linkage_record Linkage = {
    .identifier = linkage_identifier,
    .module_init = module_init,
    .module_deinit = module_deinit,
    .host_words_12 = {},
    .gauges = {&gauge_header, nullptr},
};

constinit import_table_record ImportTable = {
    .identifier = service_table_identifier,
    .services = nullptr,
    .end_identifier = 0,
    .end_address = nullptr,
};

}
