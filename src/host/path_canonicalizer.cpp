#include "host/path_canonicalizer.h"

#include "platform/char_case.h"
#include "platform/file_lookup.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies `length` bytes of `source` and a terminator into a buffer of
// `capacity` bytes; refuses what does not fit.
bool copyInto(char* target, std::size_t capacity, const char* source, std::size_t length)
{
    if (length + 1 > capacity)
        return false;
    std::memmove(target, source, length);
    target[length] = '\0';
    return true;
}

bool appendInto(char* target, std::size_t capacity, const char* source, std::size_t length)
{
    const std::size_t used = std::strlen(target);
    return copyInto(target + used, capacity - used, source, length);
}

bool appendInto(char* target, std::size_t capacity, const char* source)
{
    return appendInto(target, capacity, source, std::strlen(source));
}

// The case rule applied to a component of `folder`, unless the new spelling
// would name another entry there than the stored one: a Linux folder may
// hold both BRUSHES and Brushes.
void NormalizeCaseWithin(const char* folder, char* component)
{
    char normalized[kWorkBufferSize];
    if (!copyInto(normalized, sizeof normalized, component, std::strlen(component)))
        return;
    NormalizeCase(normalized);
    if (std::strcmp(normalized, component) == 0)
        return;
    char path[kWorkBufferSize];
    if (!copyInto(path, sizeof path, folder, std::strlen(folder)) || !appendInto(path, sizeof path, "\\")
        || !appendInto(path, sizeof path, normalized))
        return;
    const auto named = LookupStoredName(path);
    if (named && *named != component)
        return;
    std::strcpy(component, normalized);
}

} // namespace

std::int16_t RootLength(const char* path)
{
    const std::size_t length = std::strlen(path);
    if (length >= 3 && path[1] == ':' && path[2] == '\\')
        return 3;
    if (length < 2 || path[0] != '\\' || path[1] != '\\')
        return -1;
    std::size_t i = 2;
    while (i < length && path[i] != '\\') // server
        ++i;
    ++i;
    while (i < length && path[i] != '\\') // share
        ++i;
    if (i == length)
        return std::int16_t(length);
    if (i + 1 < length)
        return std::int16_t(i + 1);
    return -1;
}

std::int16_t LastSeparatorEnd(const char* path)
{
    for (std::size_t i = std::strlen(path); i > 0; --i)
        if (path[i - 1] == '\\')
            return std::int16_t(i);
    return 0;
}

void NormalizeCase(char* component)
{
    const std::string_view written(component);
    if (CharCase::upper(written) != written)
        return;
    const std::string normalized = CharCase::upperFirst(CharCase::lower(written));
    // Lower case may take more bytes than upper case (U+023A and others).
    copyInto(component, kWorkBufferSize, normalized.data(), normalized.size());
}

PathResult LongNameOf(const char* path, char* output)
{
    if (const auto stored = LookupStoredName(path)) {
        if (copyInto(output, kWorkBufferSize, stored->c_str(), stored->size()))
            return PathResult::ok;
    }
    copyInto(output, kWorkBufferSize, path, std::strlen(path));
    return PathResult::noSuchEntry;
}

PathResult ExpandLongPath(const char* input, char* output)
{
    const std::int16_t root = RootLength(input);
    const std::size_t inputLength = std::strlen(input);
    if (root >= 0 && inputLength == std::size_t(root))
        return copyInto(output, kWorkBufferSize, input, inputLength) ? PathResult::ok : PathResult::notExpandable;
    if (root < 0)
        return PathResult::notExpandable;

    char walked[kWorkBufferSize];
    char prefix[kWorkBufferSize];
    if (!copyInto(walked, sizeof walked, input, inputLength))
        return PathResult::notExpandable;
    std::size_t begin = std::size_t(root);
    for (;;) {
        const std::size_t length = std::strlen(walked);
        if (begin > length)
            break;
        const char* separator = std::strchr(walked + begin, '\\');
        const std::size_t end = separator ? std::size_t(separator - walked) : length;

        copyInto(prefix, sizeof prefix, walked, end);
        const auto stored = LookupStoredName(prefix);
        if (!stored)
            return PathResult::notExpandable;
        // Splice the stored name in place of the component as written.
        const std::size_t rest = length - end;
        if (begin + stored->size() + rest + 1 > sizeof walked)
            return PathResult::notExpandable;
        std::memmove(walked + begin + stored->size(), walked + end, rest + 1);
        std::copy(stored->begin(), stored->end(), walked + begin);
        begin += stored->size() + 1;
    }
    return copyInto(output, kWorkBufferSize, walked, std::strlen(walked)) ? PathResult::ok : PathResult::notExpandable;
}

PathResult CanonicalizePath(char* path, bool isFile)
{
    if (!path || std::strlen(path) < 2)
        return PathResult::cannotCanonicalize;

    std::size_t length = std::strlen(path);
    if (length == 2 && path[1] == ':') {
        path[2] = '\\';
        path[3] = '\0';
    } else if (length > 3 && path[length - 1] == '\\') {
        path[length - 1] = '\0';
    }

    char expanded[kWorkBufferSize];
    char result[kWorkBufferSize];
    char component[kWorkBufferSize];
    char finalName[kWorkBufferSize] = "";
    if (isFile) {
        const std::int16_t nameStart = LastSeparatorEnd(path);
        // A file that is not on disk has no canonical form: its name as
        // written could not be told from one that names another entry.
        if (LongNameOf(path, finalName) != PathResult::ok)
            return PathResult::cannotCanonicalize;
        char folder[kWorkBufferSize];
        const std::size_t folderLength = nameStart > 3 ? std::size_t(nameStart) - 1 : std::size_t(nameStart);
        copyInto(folder, sizeof folder, path, folderLength);
        if (ExpandLongPath(folder, expanded) != PathResult::ok)
            return PathResult::cannotCanonicalize;
    } else if (ExpandLongPath(path, expanded) != PathResult::ok) {
        return PathResult::cannotCanonicalize;
    }

    length = std::strlen(expanded);
    if (expanded[length - 1] != '\\' && !appendInto(expanded, sizeof expanded, "\\"))
        return PathResult::cannotCanonicalize;

    if (std::strlen(expanded) == 3) {
        expanded[0] = CharCase::toLower(expanded[0]);
        copyInto(result, sizeof result, expanded, 2);
        NormalizeCaseWithin(result, finalName);
        if (!appendInto(expanded, sizeof expanded, finalName))
            return PathResult::cannotCanonicalize;
        return copyInto(path, kPathBufferSize, expanded, std::strlen(expanded)) ? PathResult::ok
                                                                                : PathResult::cannotCanonicalize;
    }

    std::size_t rootEnd = 0;
    if (expanded[0] == '\\' && expanded[1] == '\\') {
        const char* serverEnd = std::strchr(expanded + 2, '\\');
        if (serverEnd == expanded + 2 || serverEnd[1] == '\0')
            return PathResult::cannotCanonicalize;
        const char* shareEnd = std::strchr(serverEnd + 1, '\\');
        if (shareEnd == serverEnd + 1)
            return PathResult::cannotCanonicalize;
        rootEnd = std::size_t(shareEnd - expanded) + 1;
    } else {
        expanded[0] = CharCase::toLower(expanded[0]);
        rootEnd = 3;
    }

    copyInto(result, sizeof result, expanded, rootEnd - 1);
    for (const char* at = expanded + rootEnd; *at;) {
        const char* separator = std::strchr(at, '\\');
        copyInto(component, sizeof component, at, std::size_t(separator - at));
        NormalizeCaseWithin(result, component);
        if (!appendInto(result, sizeof result, "\\") || !appendInto(result, sizeof result, component))
            return PathResult::cannotCanonicalize;
        at = separator + 1;
    }
    if (isFile) {
        NormalizeCaseWithin(result, finalName);
        if (!appendInto(result, sizeof result, "\\") || !appendInto(result, sizeof result, finalName))
            return PathResult::cannotCanonicalize;
    }
    return copyInto(path, kPathBufferSize, result, std::strlen(result)) ? PathResult::ok
                                                                        : PathResult::cannotCanonicalize;
}
