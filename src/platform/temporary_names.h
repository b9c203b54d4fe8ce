#pragma once

#include <string>

// The names a Vorn file is written under before it gets its own, on every
// backend: ".quillop-" + 16 lower-case hex digits + ".tmp". Hidden, and
// never a name the catalogue or a user's ".vrn" name can take.
constexpr char kTemporaryNamePattern[] = ".quillop-*.tmp";

// A fresh temporary name, random enough that two never meet.
std::string NewTemporaryName();
// Whether a folder entry is one of ours, which a later run may remove.
bool IsTemporaryName(const std::string& name);
