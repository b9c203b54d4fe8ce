#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Named data resources of the running program: resource NAME of type TYPE,
// by default from the program's compiled-in resources.
namespace ModuleResources {

struct Handle {
    std::string location; // where the backend finds it
    std::uint64_t size = 0;
};

// Points lookups at a folder holding TYPE/NAME files, the way a program
// switches its resource module; an empty root restores the compiled-in one.
void setRoot(const std::string& root);

std::optional<Handle> find(const std::string& name, const std::string& type);
// The resource's bytes, or nothing when it cannot be loaded.
std::optional<std::string> load(const Handle& handle);

} // namespace ModuleResources
