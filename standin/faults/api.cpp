#include "standin/faults/api.h"

#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

namespace faults {
namespace {

struct api_facts {
    const char* name;
    long failure;
};

constexpr api_facts facts[] = {
#define FAULTS_IMPORT_FACTS(name, dll, ordinal, required, failure) {#name, failure},
    FAULTS_IMPORTS(FAULTS_IMPORT_FACTS)
#undef FAULTS_IMPORT_FACTS
#define FAULTS_METHOD_FACTS(object, method, failure) {#object "." #method, failure},
    FAULTS_METHODS(FAULTS_METHOD_FACTS)
#undef FAULTS_METHOD_FACTS
};

}  // namespace

const char* api_name(api a) { return facts[index_of(a)].name; }

bool api_can_fail(api a) { return a != api::device_Release && a != api::buffer_Release; }

long default_failure(api a) { return facts[index_of(a)].failure; }

}  // namespace faults
