#include "standin/environment/machine_key_redirect.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "standin/environment/registry_status.h"
#include "standin/environment/run_identity.h"

namespace standin {

namespace {

// Deletes the private keys of runs that ended without deleting their own.
void remove_abandoned_runs(HKEY runs) {
    std::vector<std::string> abandoned;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        const LONG status = RegEnumKeyExA(runs, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        check(status, "cannot list earlier runs' registry keys");
        if (is_run_name(name) && !run_going(name)) abandoned.push_back(name);
    }
    for (const std::string& run : abandoned)
        check(RegDeleteTreeA(runs, run.c_str()), "cannot delete an earlier run's registry key " + run);
}

}  // namespace

machine_key_redirect::machine_key_redirect() {
    run_name_ = this_run_name();
    check(RegCreateKeyExA(HKEY_CURRENT_USER, runs_path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &runs_, nullptr),
          std::string("cannot create registry key HKEY_CURRENT_USER\\") + runs_path);
    try {
        remove_abandoned_runs(runs_);
        // Several hosts in turn within one process use the same name.
        const LONG cleared = RegDeleteTreeA(runs_, run_name_.c_str());
        if (cleared != ERROR_FILE_NOT_FOUND) check(cleared, "cannot clear registry key " + run_name_);
        check(RegCreateKeyExA(runs_, run_name_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &private_root_, nullptr),
              "cannot create the private registry key " + run_name_);
        check(RegOverridePredefKey(HKEY_LOCAL_MACHINE, private_root_),
              "cannot redirect HKEY_LOCAL_MACHINE");
    } catch (...) {
        end();
        throw;
    }
}

machine_key_redirect::~machine_key_redirect() {
    try {
        end();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
    }
}

void machine_key_redirect::end() {
    if (!runs_) return;
    const LONG restored = RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (private_root_) RegCloseKey(private_root_);
    private_root_ = nullptr;
    const LONG deleted = RegDeleteTreeA(runs_, run_name_.c_str());
    RegCloseKey(runs_);
    runs_ = nullptr;
    // The keys holding the runs go too, unless another run is using them.
    if (RegDeleteKeyA(HKEY_CURRENT_USER, runs_path) == ERROR_SUCCESS)
        RegDeleteKeyA(HKEY_CURRENT_USER, owner_path);
    check(restored, "cannot end the redirection of HKEY_LOCAL_MACHINE");
    if (deleted != ERROR_FILE_NOT_FOUND) check(deleted, "cannot delete the private registry key " + run_name_);
}

}  // namespace standin
