// The failed index check of the typed array.
#include "core/Array.h"

#include "core/Fatal.h"

#include <string>

namespace orv {

void ArrayIndexError(long long index, size_t count, const SourcePlace& where) {
    std::string file = where.file_name();
    const size_t slash = file.find_last_of("/\\");
    if (slash != std::string::npos) {
        file = file.substr(slash + 1);
    }
    FatalError("Array index " + std::to_string(index) + " out of bounds (count " + std::to_string(count) + ") at " +
               file + ", line " + std::to_string(where.line()));
}

} // namespace orv
