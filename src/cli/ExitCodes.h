#pragma once
// What korvel-cli's exit status means; the top-level help lists them.

namespace korvel::cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;
// A run stopped by a signal reports it as a shell does: 128 + its number (130 for Ctrl-C).
inline constexpr int ExitSignalBase = 128;

}  // namespace korvel::cli
