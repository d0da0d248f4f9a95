#include "pxtone/FreqTable.h"

#include <cmath>

namespace pxtone {

namespace {
struct Table {
    float v[FreqTable::kSize];
    Table() {
        for (int j = 0; j < FreqTable::kSize; ++j)
            v[j] = static_cast<float>(std::pow(2.0, (j - 1536) / 192.0));
    }
};
}  // namespace

const float* FreqTable::table() {
    static const Table t;
    return t.v;
}

}  // namespace pxtone
