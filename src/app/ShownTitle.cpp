#include "app/ShownTitle.h"

#include "base/ShiftJis.h"

namespace dz {

std::string ShownTitle(const tagTUNEINFO& e) {
    if (e.title.empty() || e.title == e.file_title) return e.file_title;
    return Cp932ToUtf8(e.title);
}

}  // namespace dz
