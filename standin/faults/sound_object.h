// What a DirectSound device and a buffer share: a name ("buffer#2"), a
// reference count, and the steps every method takes before and after doing
// its work (count, log, use-after-release check, injected failure).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "standin/faults/api.h"

namespace faults {

class fake_dsound;

class sound_object {
public:
    sound_object(fake_dsound& stage, const char* kind, int id);

    struct call {
        std::uint64_t seq = 0;
        bool injected = false;
        long code = 0;
        bool stop = false;      // don't do the work; return `result`
        HRESULT result = S_OK;
    };
    // Counts and logs "kind#id.Method(args)". Stops a call on a released
    // object (reported as a problem) or a call failed with an error code.
    call begin(api method, const std::string& args);
    // The method's result, or the injected success code in its place.
    static HRESULT finish(const call& c, HRESULT result);

    // AddRef and Release: counted, logged and recorded with the new count.
    ULONG add_ref(api method);
    ULONG release(api method);
    // The reference a successful QueryInterface or CreateSoundBuffer adds.
    void grab(std::uint64_t seq);

    // Its device was released while this buffer still had references: every
    // later call is reported, as the platform would have destroyed it.
    void orphan() { orphaned_ = true; }

    std::string label() const;
    int id() const { return id_; }
    ULONG refs() const { return refs_; }
    bool alive() const { return refs_ > 0; }
    fake_dsound& stage() { return stage_; }

private:
    fake_dsound& stage_;
    const char* kind_;
    int id_;
    ULONG refs_ = 1;
    bool orphaned_ = false;
};

}  // namespace faults
