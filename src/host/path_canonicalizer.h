#pragma once

#include <cstdint>

// Brings a Windows path into one canonical form: each component under its
// stored long name, all-capitals names as "Capitalised", the drive letter in
// lower case, single backslashes between components. The functions work in
// fixed buffers and never allocate text of their own.

// The caller's path buffer, terminator included.
constexpr int kPathBufferSize = 260;
// Each working buffer.
constexpr int kWorkBufferSize = 516;

// What the functions answer, with the numbers callers have always been given.
enum class PathResult {
    ok = 0,
    cannotCanonicalize = 101,
    notExpandable = 210,
    noSuchEntry = 211,
};

// Rewrites `path` (a buffer of kPathBufferSize bytes) in place; answers ok
// or cannotCanonicalize, after which the buffer holds the input with only
// its end tidied.
PathResult CanonicalizePath(char* path, bool isFile);
// Replaces every component below the root by its stored name; `output` has
// kWorkBufferSize bytes. Answers ok or notExpandable (output then not
// written).
PathResult ExpandLongPath(const char* input, char* output);
// The stored name of the entry `path` names, or the whole path; `output`
// has kWorkBufferSize bytes. Answers ok or noSuchEntry.
PathResult LongNameOf(const char* path, char* output);
// An all-capitals component becomes lower case with its first character
// upper case; any other is left as it is.
void NormalizeCase(char* component);
// The index just past the last backslash, or 0.
std::int16_t LastSeparatorEnd(const char* path);
// The length of the drive or network root, or -1 when there is none.
std::int16_t RootLength(const char* path);
