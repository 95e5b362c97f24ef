#pragma once
// Results of the message decoders; the callers show a description only for kDecoded.

namespace zaltor::console {

inline constexpr int kDecoded = 0;
inline constexpr int kUnreadable = 5;      // a byte the description needs lies outside the data
inline constexpr int kNoDescription = 87;  // unknown code, or no data where a length is claimed

}  // namespace zaltor::console
