#include "recordSink.h"

namespace recording {

void MemorySink::write(Bytes const& bytes)
{
    kept.insert(kept.end(), bytes.begin(), bytes.end());
}

}  // namespace recording
