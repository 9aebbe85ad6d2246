#pragma once

namespace quorbin {

// Set by "Aktion abbrechen"; read by the long operations at their checks. One thread only.
inline bool AbortRequested = false;

}  // namespace quorbin
