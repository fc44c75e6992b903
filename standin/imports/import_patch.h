// Redirects a loaded module's calls to one imported function by rewriting its
// import address table, and puts the original address back afterwards.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace imports {

// An imported function: by name, or by ordinal when the module imports it
// that way. A slot matches when either the name or the ordinal does; leave
// `name` null or `ordinal` 0 to match only by the other.
struct import_ref {
    const char* dll;       // "dsound.dll"; case and a missing ".dll" don't matter
    const char* name;      // as in the exporting DLL, case-sensitive
    WORD ordinal = 0;
};

// One redirected import. Restores the original addresses on destruction, unless
// the module has been unloaded or the slot no longer holds the replacement.
class import_patch {
public:
    import_patch() = default;
    ~import_patch() { restore(); }
    import_patch(const import_patch&) = delete;
    import_patch& operator=(const import_patch&) = delete;

    // Points every slot importing `what` at `replacement`. False, with the
    // reason in `error`, when no slot is found or a slot cannot be written;
    // nothing stays patched then.
    bool apply(HMODULE module, const import_ref& what, void* replacement, std::string* error);
    void restore();

    bool active() const { return !slots_.empty(); }
    // The address the module called before the patch (the first slot's).
    void* original() const { return active() ? slots_.front().original : nullptr; }

private:
    struct patched_slot {
        void** slot;
        void* original;
    };
    HMODULE module_ = nullptr;
    void* replacement_ = nullptr;
    std::vector<patched_slot> slots_;
};

}  // namespace imports
