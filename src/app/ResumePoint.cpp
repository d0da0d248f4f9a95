#include "app/ResumePoint.h"

#include <cmath>
#include <limits>

#include "app/SettingsSections.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

ResumeValues StoredResumeValues(const TAG_USERDATA& d) {
    ResumeValues v;
    read_resume_values(ProfileFile::load_or_empty(d.ini_path), v);
    return v;
}

}  // namespace

void SaveResumePoint(TAG_USERDATA& d) {
    const ResumeValues now = ResumeValuesOf(d);
    const ResumeValues stored = StoredResumeValues(d);
    if (now.current == stored.current && now.current_file == stored.current_file &&
        std::abs(now.position_seconds - stored.position_seconds) < 1e-6)
        return;
    WriteResumeValues(d);
}

void RestoreResumePoint(TAG_USERDATA& d) {
    const ResumeValues v = StoredResumeValues(d);
    tagPLAYER& p = d.player;
    const tagTUNEINFO* entry = p.entry(v.current);
    if (!entry || entry->path != v.current_file) return;
    // The reader gives a finite position of 0 or more; past the int range it is past any
    // tune's end, which pause_at takes as 0.
    const double sample = std::round(v.position_seconds * p.sample_rate);
    const int max = std::numeric_limits<int>::max();
    p.pause_at(v.current, sample < max ? static_cast<int>(sample) : max);
}

}  // namespace dz
