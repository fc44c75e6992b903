#include "standin/faults/sound_object.h"

#include "standin/faults/describe.h"
#include "standin/faults/fake_dsound.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

// "buffer.Play" -> "Play"
const char* method_name(api method) {
    const char* name = api_name(method);
    for (const char* p = name; *p; ++p)
        if (*p == '.') return p + 1;
    return name;
}

}  // namespace

sound_object::sound_object(fake_dsound& stage, const char* kind, int id)
    : stage_(stage), kind_(kind), id_(id) {}

std::string sound_object::label() const { return text("%s#%d", kind_, id_); }

sound_object::call sound_object::begin(api method, const std::string& args) {
    ledger& l = stage_.owner();
    verdict v = l.enter(method);
    std::string what = label() + "." + method_name(method) + "(" + args + ")";
    stage_.records().sequence.push_back(what);
    call c{v.seq, v.fail, v.code};
    if (!alive()) {
        l.problem(what + " after its last Release");
        c.stop = true;
        c.result = DSERR_GENERIC;
    } else if (orphaned_) {
        l.problem(what + " after its device was released");
    }
    if (!c.stop && v.fail && FAILED(v.code)) {
        c.stop = true;
        c.result = v.code;
    }
    return c;
}

HRESULT sound_object::finish(const call& c, HRESULT result) {
    return c.injected && result == S_OK ? c.code : result;
}

ULONG sound_object::add_ref(api method) {
    call c = begin(method, "");
    if (!c.stop) ++refs_;
    stage_.records().refs.push_back({{c.seq, false}, label(), true, refs_});
    return refs_;
}

ULONG sound_object::release(api method) {
    call c = begin(method, "");
    if (!c.stop) --refs_;
    stage_.records().refs.push_back({{c.seq, false}, label(), false, refs_});
    return refs_;
}

void sound_object::grab(std::uint64_t seq) {
    ++refs_;
    stage_.records().refs.push_back({{seq, false}, label(), true, refs_});
}

}  // namespace faults
