// The data-file reader over arbitrary bytes: it either loads or reports the file as foreign or
// damaged, and what it loads holds together.
#include "FuzzSupport.h"
#include "files/DataFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvel::fuzz::EnsureApplication();
    const korvel::DataFileLoadResult r =
        korvel::ParseDataFile(korvel::fuzz::Bytes(data, size), QStringLiteral("fuzz.dtw"));
    if (r.file.has_value() == r.error.has_value())
        std::abort();
    if (r.file && r.file->record.SampleBuffer.size() > static_cast<qsizetype>(size))
        std::abort();
    return 0;
}
