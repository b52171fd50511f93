#pragma once

#include "platform/CloudRecord.h"

#include <optional>

// A cloud record as the one JSON document a WebDAV collection stores for it, so that a record
// is written with a single request and is never seen half-saved:
//   {"recordType":"History","recordName":"murmo-history","fields":{
//     "modified":{"type":"date","value":"2026-01-01T09:30:00.000Z"},
//     "payload":{"type":"asset","value":"<Base64 of the file>"},
//     "token":{"type":"text","value":"..."}}}
// A field of any other shape is kept as it stands and written back unchanged.
namespace CloudRecordDocument {

// None when an asset's file cannot be read.
std::optional<QByteArray> encode(const CloudRecord& record);
// Assets become temporary files in `assetDirectory`, removed with the last copy of the record.
// None when the bytes are not such a document.
std::optional<CloudRecord> decode(const QByteArray& bytes, const QString& assetDirectory);

} // namespace CloudRecordDocument
