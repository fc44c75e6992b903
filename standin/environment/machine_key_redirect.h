// HKEY_LOCAL_MACHINE, for this process only, redirected to a private key of
// the run's own under HKEY_CURRENT_USER (RegOverridePredefKey), so that
// whatever the module under test reads there, and whatever the host writes
// there for it, never reaches the machine's own keys. The private key is
// volatile and named after the process; a run that was killed or crashed
// before removing its own leaves one behind, which the next run deletes.
#pragma once
#include <windows.h>

#include <string>

namespace standin {

class machine_key_redirect {
public:
    // Private keys live here, one per run, named after the run (run_identity.h).
    static constexpr const char* owner_path = "Software\\Stand-in host";
    static constexpr const char* runs_path = "Software\\Stand-in host\\Runs";

    machine_key_redirect();          // throws std::runtime_error on failure
    ~machine_key_redirect();
    machine_key_redirect(const machine_key_redirect&) = delete;
    machine_key_redirect& operator=(const machine_key_redirect&) = delete;

    // Ends the redirection and deletes the private key; later calls do nothing.
    // Throws std::runtime_error on failure.
    void end();

    const std::string& run_name() const { return run_name_; }

private:
    std::string run_name_;
    HKEY runs_ = nullptr;            // HKCU\<runs_path>
    HKEY private_root_ = nullptr;    // runs_\<run_name_>, what HKLM stands for
};

}  // namespace standin
