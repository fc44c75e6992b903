// The hooks that stand in for the module's imports: one per import, of the
// same type as the function it stands in for.
#pragma once
#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

#include "standin/ledger/api.h"

namespace faults {

#define FAULTS_HOOK_DECLARATION(name, ...) decltype(::name) hook_##name;
FAULTS_IMPORTS(FAULTS_HOOK_DECLARATION)
#undef FAULTS_HOOK_DECLARATION

}  // namespace faults
