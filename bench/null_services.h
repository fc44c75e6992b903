// A service table whose every slot does nothing: the host's part of a frame
// or a click costs nothing, so what is timed is the module's own work.
#pragma once

void* const* null_service_table();
