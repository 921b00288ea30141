// Writing a file that build tools and debuggers read while builds run: the
// reader finds the old whole file or the new whole file, never a part.
#pragma once
#include <string>

// Writes text as the whole of path: into a new file beside it, renamed over it
// when complete, so that a failure leaves what was there untouched. A link is
// followed and stays a link; a device or pipe (/dev/stdout) is written
// directly, since it cannot be replaced. False with the reason in words.
bool ReplaceFile(const std::string& path, const std::string& text, std::string& reason);
