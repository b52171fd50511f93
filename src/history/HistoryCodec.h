#pragma once

#include "history/HistoryBackup.h"

#include <QByteArray>

#include <optional>

// The JSON of the history document, shared with the phone application and other desktops, so
// its keys, encodings and optional members are fixed. Reading is strict: a missing required
// member or a value of the wrong JSON type makes the whole document unreadable. Unknown members
// are ignored, `null` reads as absent.
namespace HistoryCodec {

// Bytes of spare capacity after the data that let `decode` read the caller's buffer as it is
// instead of copying it first.
inline constexpr qsizetype spareCapacity = 64;

// Compact JSON; none when a number cannot be written (infinite or not a number).
std::optional<QByteArray> encode(const HistoryBackup& document);
std::optional<HistoryBackup> decode(const QByteArray& bytes);
// A cloud payload: a document, or the bare list of records older writers stored, read as a
// document without tombstones.
std::optional<HistoryBackup> decodePayload(const QByteArray& bytes);

} // namespace HistoryCodec
