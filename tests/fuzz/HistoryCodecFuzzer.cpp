#include "history/HistoryCodec.h"

#include <cstdint>
#include <cstdlib>

// Any bytes may arrive as the history file or a cloud payload. Decoding must never crash, leak
// or hang, and whatever decodes must survive being written and read back exactly.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto document = HistoryCodec::decodePayload(bytes);
    if (!document)
        return 0;
    const auto written = HistoryCodec::encode(*document);
    if (!written || HistoryCodec::decode(*written) != document)
        std::abort();
    return 0;
}
