// The comment reader of a folder entry over arbitrary file contents: it never reads past the
// device and a foreign file carries no lines.
#include "FuzzSupport.h"
#include "files/FolderBrowse.h"

#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    korvel::fuzz::EnsureApplication();
    QByteArray bytes = korvel::fuzz::Bytes(data, size);
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const korvel::FileComment c = korvel::ReadFileComment(device);
    if (c.foreign && !c.lines.isEmpty())
        std::abort();
    return 0;
}
