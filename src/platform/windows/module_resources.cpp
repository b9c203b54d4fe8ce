// The program's resources, compiled in by windres: FindResourceA,
// SizeofResource, LoadResource, LockResource. A root folder set in their
// place holds TYPE/NAME files, as a program may switch its resource module.
#include "platform/module_resources.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace ModuleResources {
namespace {

std::string& root()
{
    static std::string path;
    return path;
}

// A compiled-in resource's location: TYPE, a zero byte, NAME.
constexpr char kCompiledIn = '\0';

} // namespace

void setRoot(const std::string& newRoot)
{
    root() = newRoot;
    if (!root().empty() && root().back() != '/' && root().back() != '\\')
        root() += '\\';
}

std::optional<Handle> find(const std::string& name, const std::string& type)
{
    if (root().empty()) {
        const HRSRC resource = FindResourceA(nullptr, name.c_str(), type.c_str());
        if (!resource)
            return std::nullopt;
        return Handle{type + kCompiledIn + name, SizeofResource(nullptr, resource)};
    }
    const std::string path = root() + type + '\\' + name;
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info))
        return std::nullopt;
    return Handle{path, (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow};
}

std::optional<std::string> load(const Handle& handle)
{
    const std::size_t split = handle.location.find(kCompiledIn);
    if (split != std::string::npos) {
        const std::string type = handle.location.substr(0, split), name = handle.location.substr(split + 1);
        const HRSRC resource = FindResourceA(nullptr, name.c_str(), type.c_str());
        const HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes)
            return std::nullopt;
        return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, resource));
    }
    const DWORD attributes = GetFileAttributesA(handle.location.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    std::ifstream file(handle.location, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file)
        return std::nullopt;
    return bytes.str();
}

} // namespace ModuleResources
